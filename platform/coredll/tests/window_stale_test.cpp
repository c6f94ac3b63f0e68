// A handle of a destroyed window is refused by every call, with
// ERROR_INVALID_WINDOW_HANDLE, and is never given to another window.
#include <MessageRecorder.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

using namespace testing_support;

namespace {

#define EXPECT_REFUSED(call)                                                                 \
    do {                                                                                     \
        SetLastError(0);                                                                     \
        EXPECT_FALSE(call) << #call;                                                         \
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE)) << #call; \
    } while (0)

TEST(WindowStaleHandles, EveryCallRefusesADestroyedWindow) {
    MessageRecorder::RegisterRecordingClass(u"Stale");
    HWND parent = CreateWindowExW(0, u"Stale", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND dead = CreateWindowExW(0, u"Stale", u"x", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(DestroyWindow(dead));

    EXPECT_REFUSED(DestroyWindow(dead));
    EXPECT_FALSE(IsWindow(dead));
    EXPECT_FALSE(IsWindowVisible(dead));
    EXPECT_REFUSED(IsWindowEnabled(dead));
    EXPECT_REFUSED(EnableWindow(dead, TRUE));
    EXPECT_FALSE(IsChild(parent, dead));
    EXPECT_REFUSED(GetParent(dead));
    EXPECT_REFUSED(SetParent(dead, parent));
    EXPECT_REFUSED(GetDlgItem(dead, 1));
    EXPECT_REFUSED(GetDlgCtrlID(dead));
    EXPECT_REFUSED(GetWindowThreadProcessId(dead, nullptr));
    EXPECT_REFUSED(GetWindow(dead, GW_HWNDNEXT));
    EXPECT_REFUSED(GetWindowLongPtrW(dead, GWL_USERDATA));
    EXPECT_REFUSED(SetWindowLongPtrW(dead, GWL_USERDATA, 1));
    EXPECT_REFUSED(GetWindowLongW(dead, GWL_STYLE));
    EXPECT_REFUSED(SetWindowLongW(dead, GWL_STYLE, 0));
    WCHAR text[8] = u"keep";
    EXPECT_REFUSED(GetWindowTextW(dead, text, 8));
    EXPECT_EQ(text[0], 0) << "the buffer is left empty";
    EXPECT_REFUSED(SetWindowTextW(dead, u"y"));
    EXPECT_REFUSED(GetWindowTextLengthW(dead));
    EXPECT_REFUSED(GetClassNameW(dead, text, 8));
    RECT r{};
    EXPECT_REFUSED(GetWindowRect(dead, &r));
    EXPECT_REFUSED(GetClientRect(dead, &r));
    POINT p{};
    EXPECT_REFUSED(ClientToScreen(dead, &p));
    EXPECT_REFUSED(ScreenToClient(dead, &p));
    EXPECT_REFUSED(MapWindowPoints(dead, nullptr, &p, 1));
    EXPECT_REFUSED(SetWindowPos(dead, HWND_TOP, 0, 0, 1, 1, 0));
    EXPECT_REFUSED(MoveWindow(dead, 0, 0, 1, 1, TRUE));
    EXPECT_REFUSED(ShowWindow(dead, SW_SHOW));
    EXPECT_REFUSED(BringWindowToTop(dead));
    HDWP defer = BeginDeferWindowPos(1);
    EXPECT_REFUSED(DeferWindowPos(defer, dead, nullptr, 0, 0, 1, 1, SWP_NOZORDER));
    EXPECT_REFUSED(SendMessageW(dead, WM_USER, 0, 0));
    EXPECT_REFUSED(SendNotifyMessageW(dead, WM_USER, 0, 0));
    EXPECT_REFUSED(PostMessageW(dead, WM_USER, 0, 0));
    EXPECT_REFUSED(SetTimer(dead, 1, 10, nullptr));
    EXPECT_REFUSED(KillTimer(dead, 1));
    EXPECT_REFUSED(SetFocus(dead));
    EXPECT_REFUSED(SetActiveWindow(dead));
    EXPECT_REFUSED(SetForegroundWindow(dead));
    EXPECT_REFUSED(RegisterHotKey(dead, 1, MOD_WIN, VK_LWIN));
    EXPECT_REFUSED(UnregisterHotKey(dead, 1));
    PAINTSTRUCT ps;
    EXPECT_REFUSED(BeginPaint(dead, &ps));
    EXPECT_REFUSED(InvalidateRect(dead, nullptr, TRUE));
    EXPECT_REFUSED(ValidateRect(dead, nullptr));
    EXPECT_REFUSED(GetUpdateRect(dead, &r, FALSE));
    EXPECT_REFUSED(UpdateWindow(dead));
    EXPECT_REFUSED(GetDC(dead));
    EXPECT_REFUSED(GetWindowDC(dead));
    MSG msg{};
    EXPECT_REFUSED(PeekMessageW(&msg, dead, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetMessageW(&msg, dead, 0, 0), -1);
    msg.hwnd = dead;
    msg.message = WM_USER;
    EXPECT_REFUSED(DispatchMessageW(&msg));
    EXPECT_TRUE(EndDeferWindowPos(defer));

    // New windows never get the old handle back.
    for (int i = 0; i < 50; ++i) {
        HWND fresh = CreateWindowExW(0, u"Stale", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(fresh, dead);
        DestroyWindow(fresh);
    }
    DestroyWindow(parent);
}

TEST(WindowStaleHandles, AWindowOfAnotherThreadCannotBeDestroyedFromHere) {
    MessageRecorder::RegisterRecordingClass(u"Foreign");
    static std::atomic<HWND> made{nullptr};
    auto body = [](LPVOID) -> DWORD {
        made = CreateWindowExW(0, u"Foreign", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return 0;
    };
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, body, nullptr, 0, &id);
    while (!made) Sleep(1);
    EXPECT_FALSE(DestroyWindow(made));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(IsWindow(made));
    // WM_CLOSE asks its own thread to do it.
    SendMessageW(made, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(made));
    PostThreadMessageW(id, WM_QUIT, 0, 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
}

}  // namespace
