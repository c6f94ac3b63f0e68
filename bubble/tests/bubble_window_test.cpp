// The bubble window: where it is placed on each screen, re-placed after a
// turn without being made anew, its HTML view inside it, and the UI
// thread's start, failed start and shutdown.
#include "BubbleTestSupport.h"

#include "BubbleThread.h"
#include "Scaling.h"

#include <coredll_host.h>
#include <shell_host.h>

namespace bubble_tests {
namespace {

struct Placement {
    host::ScreenProfile screen;
    RECT expected;  // x, y, right, bottom on the screen
};

class BubblePlacement : public BubbleTest, public ::testing::WithParamInterface<Placement> {};

// The home window lies between the status bar and the soft-key bar (26
// logical pixels each); the bubble sits at its foot, inset on both sides.
TEST_P(BubblePlacement, FollowsThePlacementRule) {
    const Placement& p = GetParam();
    Start(p.screen);
    // As on the device, the bubble reads the dpi once in its process; ctest
    // gives each screen a process of its own.
    if (ScaleX(96) != p.screen.dpi) GTEST_SKIP() << "this process's bubble was scaled for another dpi";
    RECT r = Rect();
    EXPECT_EQ(r.left, p.expected.left);
    EXPECT_EQ(r.top, p.expected.top);
    EXPECT_EQ(r.right, p.expected.right);
    EXPECT_EQ(r.bottom, p.expected.bottom);
    EXPECT_FALSE(Shown()) << "made hidden";

    // The HTML view fills the client area below the title strip.
    HWND view = HtmlViewOf(Bubble());
    ASSERT_NE(view, nullptr);
    RECT client = {}, inside = {};
    GetClientRect(Bubble(), &client);
    GetWindowRect(view, &inside);
    MapWindowPoints(nullptr, Bubble(), reinterpret_cast<POINT*>(&inside), 2);
    const bool high = p.screen.dpi != 96;
    EXPECT_EQ(inside.left, high ? ScaleX(3) / 2 : 2);
    EXPECT_EQ(inside.right - inside.left, client.right - (high ? ScaleX(3) : 4));
    EXPECT_EQ(inside.top, ScaleY(18));
    EXPECT_EQ(inside.bottom, client.bottom);
}

INSTANTIATE_TEST_SUITE_P(Screens, BubblePlacement,
                         ::testing::Values(Placement{{240, 320, 96}, {3, 183, 237, 268}},
                                           Placement{{480, 640, 192}, {6, 366, 474, 536}},
                                           Placement{{240, 320, 131}, {4, 134, 236, 250}},
                                           Placement{{320, 240, 96}, {3, 125, 317, 188}},
                                           Placement{{240, 240, 96}, {3, 103, 237, 188}}));

TEST_F(BubbleTest, ATurnOfTheScreenMovesTheSameWindow) {
    Start({240, 320, 96});
    HWND before = Bubble();
    host::RotateScreen();
    EXPECT_TRUE(Eventually([&] { return Rect().bottom - Rect().top == 63; }));
    EXPECT_EQ(Bubble(), before);
    RECT r = Rect();
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.right - r.left, 314);
    EXPECT_EQ(r.top, 125);
    host::RotateScreen();
    EXPECT_TRUE(Eventually([&] { return Rect().bottom - Rect().top == 85; }));
    EXPECT_EQ(Bubble(), before);
}

TEST_F(BubbleTest, AFailedStartLeavesNoBubbleAndIsNotTriedAgain) {
    host::SetScreenProfile({240, 320, 96});
    std::string error;
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    ASSERT_TRUE(CreateBubbleThreadState(GetModuleHandleW(nullptr)));
    started_ = true;
    host::FailCall("InitHTMLControl", 1, 0);
    BubbleThreadState& state = GetBubbleThread();
    EXPECT_EQ(BubbleWindowHandle(state), nullptr);
    ASSERT_NE(state.thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(state.thread, 5000), WAIT_OBJECT_0) << "the thread ended";
    // A later call starts nothing and returns at once.
    HANDLE thread = state.thread;
    EXPECT_EQ(GetBubbleThread().thread, thread);
    EXPECT_EQ(BubbleWindowHandle(GetBubbleThread()), nullptr);
    StopBubbleThread();  // without a window it does nothing
}

TEST_F(BubbleTest, StoppingWithTheBubbleUpEndsTheThreadAndGivesTheKeysBack) {
    Start({240, 320, 96});
    Announce(u"hello");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    HANDLE thread = GetBubbleThread().thread;
    StopBubbleThread();
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(BubbleWindowHandle(GetBubbleThread()), nullptr);
    EXPECT_TRUE(HoldsEnd("MSCProg"));
}

TEST_F(BubbleTest, TwoThreadsStartingTheBubbleAtOnceMakeOneUiThread) {
    host::SetScreenProfile({240, 320, 96});
    std::string error;
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    ASSERT_TRUE(host::StartShell());
    ASSERT_TRUE(CreateBubbleThreadState(GetModuleHandleW(nullptr)));
    started_ = true;
    static HANDLE seen[2];
    auto body = [](LPVOID index) -> DWORD {
        seen[reinterpret_cast<INT_PTR>(index)] = GetBubbleThread().thread;
        return 0;
    };
    HANDLE a = CreateThread(nullptr, 0, body, reinterpret_cast<LPVOID>(0), 0, nullptr);
    HANDLE b = CreateThread(nullptr, 0, body, reinterpret_cast<LPVOID>(1), 0, nullptr);
    WaitForSingleObject(a, 10000);
    WaitForSingleObject(b, 10000);
    CloseHandle(a);
    CloseHandle(b);
    EXPECT_NE(seen[0], nullptr);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_NE(Bubble(), nullptr);
}

}  // namespace
}  // namespace bubble_tests
