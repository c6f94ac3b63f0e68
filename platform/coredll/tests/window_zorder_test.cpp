// Z-order and placement: bands of WS_EX_TOPMOST and WS_EX_ABOVESTARTUP,
// GW_HWNDNEXT, owned windows over their owners, and what SetWindowPos and
// ShowWindow send.
#include <MessageRecorder.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

using namespace testing_support;

namespace {

HWND Make(LPCWSTR title, DWORD exStyle = 0, HWND owner = nullptr) {
    return CreateWindowExW(exStyle, u"Stacked", title, 0, 0, 0, 20, 20, owner, nullptr, nullptr, nullptr);
}

std::vector<HWND> TopLevelOrder() {
    std::vector<HWND> order;
    for (HWND h = GetWindow(GetDesktopWindow(), GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) order.push_back(h);
    return order;
}

TEST(WindowZOrder, BandsKeepTopmostOverAboveStartupOverTheRest) {
    MessageRecorder::RegisterRecordingClass(u"Stacked");
    HWND a = Make(u"a");
    HWND b = Make(u"b");
    HWND c = Make(u"c", WS_EX_ABOVESTARTUP);
    HWND d = Make(u"d", WS_EX_TOPMOST);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, c, b, a})) << "new windows go to the top of their band";
    EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), b);
    EXPECT_EQ(GetWindow(b, GW_HWNDPREV), c);
    EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), nullptr);
    EXPECT_EQ(GetWindow(a, GW_HWNDFIRST), d);
    EXPECT_EQ(GetWindow(d, GW_HWNDLAST), a);

    // Showing (and so activating) brings a window to the top of its band only.
    ShowWindow(a, SW_SHOW);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, c, a, b}));
    EXPECT_EQ(GetForegroundWindow(), a);
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, c, b, a}));
    EXPECT_EQ(GetForegroundWindow(), a) << "SWP_NOACTIVATE leaves the foreground";
    HWND e = Make(u"e", WS_EX_ABOVESTARTUP);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, e, c, b, a}));
    SetWindowPos(e, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, c, e, b, a})) << "the bottom of its band";
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_TRUE(GetWindowLongW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{a, d, c, e, b}));
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, c, e, a, b}));
    // Placing after a window of a higher band keeps the window in its own.
    SetWindowPos(b, d, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{d, c, e, b, a}));
    for (HWND h : {a, b, c, d, e}) DestroyWindow(h);
}

TEST(WindowZOrder, OwnedWindowsStayAboveTheirOwner) {
    MessageRecorder::RegisterRecordingClass(u"Stacked");
    HWND owner = Make(u"owner");
    HWND bar = Make(u"bar", 0, owner);
    HWND other = Make(u"other");
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{other, bar, owner}));
    ShowWindow(owner, SW_SHOW);
    EXPECT_EQ(TopLevelOrder(), (std::vector<HWND>{bar, owner, other}));
    // An owned window shares a higher band of its owner.
    HWND floating = Make(u"floating", WS_EX_ABOVESTARTUP);
    HWND floatingBar = Make(u"floatingBar", 0, floating);
    EXPECT_EQ(TopLevelOrder().front(), floatingBar);
    for (HWND h : {owner, other, floating}) DestroyWindow(h);
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(IsWindow(floatingBar));
}

TEST(WindowZOrder, SetWindowPosSendsWindowPosChangedThenMoveAndSize) {
    MessageRecorder recorder;
    MessageRecorder::RegisterRecordingClass(u"Stacked");
    HWND w = Make(u"w");
    recorder.Clear();
    EXPECT_TRUE(SetWindowPos(w, HWND_TOP, 5, 6, 70, 80, SWP_NOZORDER | SWP_NOACTIVATE));
    const Expected kMoved[] = {{WM_WINDOWPOSCHANGED, Sent},
                               {WM_MOVE, Sent | Lparam, 0, MAKELPARAM(5, 6)},
                               {WM_SIZE, Sent | Wparam | Lparam, SIZE_RESTORED, MAKELPARAM(70, 80)},
                               {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kMoved));
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.bottom, 86);
    // Only the size changes: no WM_MOVE.
    MoveWindow(w, 5, 6, 30, 80, TRUE);
    const Expected kSized[] = {{WM_WINDOWPOSCHANGED, Sent}, {WM_SIZE, Sent | Lparam, 0, MAKELPARAM(30, 80)}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kSized));
    recorder.Ignore({WM_PAINT, WM_ERASEBKGND, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS});
    ShowWindow(w, SW_SHOWNA);
    const Expected kShown[] = {{WM_SHOWWINDOW, Sent | Wparam, TRUE}, {WM_WINDOWPOSCHANGED, Sent}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kShown));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_TRUE(ShowWindow(w, SW_HIDE)) << "it was visible";
    EXPECT_FALSE(IsWindowVisible(w));
    const Expected kHidden[] = {{WM_SHOWWINDOW, Sent | Wparam, FALSE}, {WM_WINDOWPOSCHANGED, Sent}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kHidden));
    DestroyWindow(w);
}

TEST(WindowZOrder, ChildCoordinatesBordersAndMapping) {
    MessageRecorder::RegisterRecordingClass(u"Stacked");
    HWND top = CreateWindowExW(0, u"Stacked", nullptr, WS_BORDER, 10, 20, 100, 100, nullptr, nullptr, nullptr, nullptr);
    RECT client;
    GetClientRect(top, &client);
    EXPECT_EQ(client.right, 98) << "a border takes a pixel on each side";
    HWND child = CreateWindowExW(0, u"Stacked", nullptr, WS_CHILD | WS_VISIBLE, 5, 7, 30, 40, top, nullptr, nullptr,
                                 nullptr);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 10 + 1 + 5);
    EXPECT_EQ(r.top, 20 + 1 + 7);
    POINT p{0, 0};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 16);
    ScreenToClient(top, &p);
    EXPECT_EQ(p.x, 5);
    EXPECT_EQ(p.y, 7);
    POINT q{1, 1};
    MapWindowPoints(child, top, &q, 1);
    EXPECT_EQ(q.x, 6);
    EXPECT_EQ(q.y, 8);
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    EXPECT_EQ(desk.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(desk.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_TRUE(IsChild(top, child));
    EXPECT_FALSE(IsChild(child, top));
    DestroyWindow(top);
}

}  // namespace
