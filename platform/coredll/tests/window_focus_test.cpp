// Activation and focus: WM_ACTIVATE, WM_KILLFOCUS and WM_SETFOCUS in the
// platform's order, the focus of another thread, and where foreground and
// focus go when their window is destroyed.
#include <MessageRecorder.h>
#include <WindowThread.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>

using namespace testing_support;

namespace {

WPARAM W(HWND h) { return reinterpret_cast<WPARAM>(h); }

// Whether a is in front of b among the top-level windows.
bool Above(HWND a, HWND b) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == a) return true;
        if (w == b) return false;
    }
    return false;
}
LPARAM L(HWND h) { return reinterpret_cast<LPARAM>(h); }

class WindowFocus : public ::testing::Test {
protected:
    void SetUp() override {
        MessageRecorder::RegisterRecordingClass(u"Focused");
        recorder.Ignore({WM_PAINT, WM_ERASEBKGND, WM_SHOWWINDOW, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_CREATE});
    }
    HWND Top(LPCWSTR title, DWORD style = 0) {
        return CreateWindowExW(0, u"Focused", title, style, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    }
    HWND Child(HWND parent, int id) {
        return CreateWindowExW(0, u"Focused", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    MessageRecorder recorder;
};

TEST_F(WindowFocus, ShowingAWindowActivatesItAndDefWindowProcGivesItTheFocus) {
    HWND first = Top(u"first");
    recorder.Clear();
    ShowWindow(first, SW_SHOW);
    const Expected kActivated[] = {{WM_ACTIVATE, Sent | Wparam, WA_ACTIVE}, {WM_SETFOCUS, Sent | Wparam, 0}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(), kActivated));
    EXPECT_EQ(GetForegroundWindow(), first);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);

    HWND second = Top(u"second");
    recorder.Clear();
    ShowWindow(second, SW_SHOW);
    std::vector<Recorded> record = recorder.Take();
    const Expected kSwitched[] = {{WM_ACTIVATE, Sent | Wparam | Lparam, WA_INACTIVE, L(second)},
                                  {WM_ACTIVATE, Sent | Wparam | Lparam, WA_ACTIVE, L(first)},
                                  {WM_KILLFOCUS, Sent | Wparam, W(second)},
                                  {WM_SETFOCUS, Sent | Wparam, W(first)},
                                  {0}};
    EXPECT_TRUE(MatchSequence(record, kSwitched));
    ASSERT_EQ(record.size(), 4u);
    EXPECT_EQ(record[0].hwnd, first);
    EXPECT_EQ(record[1].hwnd, second);
    EXPECT_EQ(record[2].hwnd, first);
    EXPECT_EQ(record[3].hwnd, second);
    DestroyWindow(second);
    DestroyWindow(first);
}

TEST_F(WindowFocus, SetFocusMovesBetweenChildrenWithKillFocusFirst) {
    HWND top = Top(u"top", WS_VISIBLE);
    HWND a = Child(top, 1);
    HWND b = Child(top, 2);
    recorder.Clear();
    EXPECT_EQ(SetFocus(a), top);
    EXPECT_EQ(SetFocus(b), a);
    std::vector<Recorded> record = recorder.Take();
    const Expected kMoves[] = {{WM_KILLFOCUS, Sent | Wparam, W(a)},
                               {WM_SETFOCUS, Sent | Wparam, W(top)},
                               {WM_KILLFOCUS, Sent | Wparam, W(b)},
                               {WM_SETFOCUS, Sent | Wparam, W(a)},
                               {0}};
    EXPECT_TRUE(MatchSequence(record, kMoves));
    EXPECT_EQ(record[1].hwnd, a);
    EXPECT_EQ(record[3].hwnd, b);
    EXPECT_EQ(GetFocus(), b);
    EXPECT_EQ(SetFocus(b), b) << "no messages when nothing changes";
    EXPECT_TRUE(recorder.Take().empty());
    // A disabled window cannot take the focus, and disabling the focus
    // window takes it away.
    EnableWindow(a, FALSE);
    EXPECT_EQ(SetFocus(a), nullptr);
    EXPECT_EQ(GetFocus(), b);
    EnableWindow(b, FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    DestroyWindow(top);
}

TEST_F(WindowFocus, DestroyingTheFocusChildGivesTheFocusToItsParent) {
    HWND top = Top(u"top", WS_VISIBLE);
    HWND a = Child(top, 1);
    SetFocus(a);
    DestroyWindow(a);
    EXPECT_EQ(GetFocus(), top);
    DestroyWindow(top);
}

TEST_F(WindowFocus, DestroyingTheForegroundWindowActivatesItsOwnerOrTheNextWindow) {
    HWND back = Top(u"back", WS_VISIBLE);
    HWND owner = Top(u"owner", WS_VISIBLE);
    HWND popup = CreateWindowExW(0, u"Focused", u"popup", WS_VISIBLE, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetForegroundWindow(), popup);
    DestroyWindow(popup);
    EXPECT_EQ(GetForegroundWindow(), owner) << "the owner first";
    EXPECT_EQ(GetFocus(), owner);
    DestroyWindow(owner);
    EXPECT_EQ(GetForegroundWindow(), back) << "then the highest visible window";
    ShowWindow(back, SW_HIDE);
    EXPECT_EQ(GetForegroundWindow(), nullptr) << "nothing is left to activate";
    DestroyWindow(back);
}

TEST_F(WindowFocus, TheLowBitBringsAWindowForwardWithItsOwnedWindowsAndActivatesTheOneInFront) {
    HWND owner = Top(u"owner", WS_VISIBLE);
    HWND box = CreateWindowExW(0, u"Focused", u"box", WS_VISIBLE, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    HWND inner = CreateWindowExW(0, u"Focused", u"inner", WS_VISIBLE, 0, 0, 10, 10, box, nullptr, nullptr, nullptr);
    HWND hidden = CreateWindowExW(0, u"Focused", u"hidden", 0, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    EnableWindow(owner, FALSE);  // as a modal box leaves it
    EnableWindow(box, FALSE);
    HWND other = Top(u"other", WS_VISIBLE);
    ASSERT_EQ(GetForegroundWindow(), other);

    // Plain, the window itself is activated; its owned windows stay above it.
    EXPECT_TRUE(SetForegroundWindow(owner));
    EXPECT_EQ(GetForegroundWindow(), owner);
    for (HWND w : {box, inner, hidden}) EXPECT_TRUE(Above(w, owner));

    SetForegroundWindow(other);
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(owner) | 1)));
    EXPECT_EQ(GetForegroundWindow(), inner) << "the highest owned window that takes input, through the box";
    EXPECT_EQ(GetFocus(), inner);
    EXPECT_EQ(GetWindow(GetDesktopWindow(), GW_CHILD), inner);
    for (HWND w : {box, hidden}) EXPECT_TRUE(Above(w, owner));
    EXPECT_EQ(GetWindow(owner, GW_HWNDNEXT), other) << "all of them in front of the other window";

    // With nothing owned that takes input, the window itself.
    DestroyWindow(inner);
    EnableWindow(owner, TRUE);
    SetForegroundWindow(other);
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(owner) | 1)));
    EXPECT_EQ(GetForegroundWindow(), owner);
    EXPECT_FALSE(SetForegroundWindow(reinterpret_cast<HWND>(0x5)));
    DestroyWindow(owner);
    DestroyWindow(other);
}

TEST_F(WindowFocus, TheFocusCannotBeSetOnAWindowOfAnotherThread) {
    HWND mine = Top(u"mine", WS_VISIBLE);
    testing_support::WindowThread other(
        [] { return CreateWindowExW(0, u"Focused", u"theirs", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr); });
    ASSERT_TRUE(other.Start());
    HWND theirs = other.Window();
    EXPECT_EQ(SetFocus(theirs), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_WINDOW_OF_OTHER_THREAD));
    EXPECT_EQ(GetFocus(), mine);
    // The foreground can move to another thread's window; this thread then
    // has no active or focus window.
    EXPECT_TRUE(SetForegroundWindow(theirs));
    EXPECT_EQ(GetForegroundWindow(), theirs);
    EXPECT_EQ(GetActiveWindow(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
    // What the state report reads: the focus as the foreground's thread sees it.
    SendMessageW(theirs, WM_NULL, 0, 0);  // its activation has been handled there
    EXPECT_EQ(host::ForegroundFocus(), theirs);
    EXPECT_TRUE(SetForegroundWindow(mine));
    EXPECT_EQ(host::ForegroundFocus(), mine);
    EXPECT_TRUE(other.Stop());
    EXPECT_FALSE(IsWindow(theirs));
    DestroyWindow(mine);
}

}  // namespace
