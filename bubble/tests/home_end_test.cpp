// Home, End and Back while the bubble is up. End over a dialog is the
// shell's End (the home screen comes to the front); over any other window it
// only raises the bubble. Home raises the bubble over the home screen: at
// once when the home screen is already in front or the soft-key utility
// runs, otherwise once the UI thread has waited for the home screen to come
// up. Back goes to the window that has the focus.
#include "BubbleTestSupport.h"

#include <toolkit_host.h>

#include <atomic>

namespace bubble_tests {
namespace {

std::atomic<WPARAM> g_viewKey{0};
WNDPROC g_viewProc = nullptr;

// The bubble's HTML view, watched for the keys it is given.
LRESULT CALLBACK WatchedView(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_KEYDOWN) g_viewKey = wParam;
    return CallWindowProcW(g_viewProc, hwnd, msg, wParam, lParam);
}

class HomeAndEnd : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }
    void TearDown() override {
        for (HWND w : windows_) DestroyWindow(w);
        host::StopToolkit();
        BubbleTest::TearDown();
    }

    void Up() {
        Announce(u"hello");
        ASSERT_TRUE(Eventually([&] { return Shown() && GetForegroundWindow() == Bubble(); }));
    }
    // A program's top-level window of the given class, put in front.
    HWND InFront(const WCHAR* windowClass) {
        HWND w = CreateWindowExW(0, windowClass, u"program", WS_POPUP | WS_VISIBLE, 0, 30, 240, 200, nullptr, nullptr,
                                 nullptr, nullptr);
        EXPECT_NE(w, nullptr);
        windows_.push_back(w);
        SetForegroundWindow(w);
        EXPECT_EQ(GetForegroundWindow(), w);
        return w;
    }
    static HWND Home() { return FindWindowW(u"DesktopExplorerWindow", nullptr); }

    std::vector<HWND> windows_;
};

TEST_F(HomeAndEnd, EndOverADialogIsTheShellsEndAndOverAnythingElseRaisesTheBubble) {
    Up();
    InFront(u"Dialog");
    Press(VK_F4);
    EXPECT_TRUE(Eventually([] { return GetForegroundWindow() == Home(); })) << "the shell took End: home in front";
    EXPECT_TRUE(Shown()) << "the bubble stays up";

    InFront(u"Static");
    Press(VK_F4);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == Bubble(); }));
    EXPECT_TRUE(Shown());
}

TEST_F(HomeAndEnd, HomeRaisesTheBubbleAtOnceOverTheHomeScreenOrWithTheUtilityAndElseAfterWaiting) {
    Up();
    // The home screen in front: raised at once.
    SetForegroundWindow(Home());
    Press(VK_LWIN);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == Bubble(); }));

    // Another program in front when Home comes up, no utility: the UI thread
    // waits (up to about 2 s) for the home screen, then raises the bubble.
    // The shell brings the home screen up as Home goes down and the bubble
    // acts as it comes up, so the program is put in front between the two.
    host::KeyDown(VK_LWIN);
    ASSERT_TRUE(Eventually([] { return GetForegroundWindow() == Home(); }));
    InFront(u"Static");
    host::KeyUp(VK_LWIN);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == Bubble(); }));

    // With the utility running (before the bubble came up and took Home from
    // it): at once, whatever is in front.
    Press('4');
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    ASSERT_TRUE(host::StartToolkit());
    Up();
    InFront(u"Static");
    Press(VK_LWIN);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == Bubble(); }));
    EXPECT_TRUE(Shown());
}

TEST_F(HomeAndEnd, BackGoesToThePageThatHasTheFocusAndLeavesTheBubbleAsItWas) {
    host::EntryId entry = Arrive(u"call 89161234567");
    HandOver(entry, u"call <a href='tel:89161234567' name='tel1'>89161234567</a>", u"Mirela");
    ASSERT_TRUE(Eventually([&] { return Shown() && GetForegroundWindow() == Bubble(); }));
    Press(VK_DOWN);
    HWND view = HtmlViewOf(Bubble());
    g_viewProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(view, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(WatchedView)));
    Press(VK_TBACK);
    EXPECT_TRUE(Eventually([] { return g_viewKey == VK_TBACK; })) << "the page has the focus, and Back";
    SetWindowLongPtrW(view, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_viewProc));
    EXPECT_TRUE(Shown());
    EXPECT_EQ(GetForegroundWindow(), Bubble());
    bool read = true;
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, entry, &read));
    EXPECT_FALSE(read);
}

}  // namespace
}  // namespace bubble_tests
