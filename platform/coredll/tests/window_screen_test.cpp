// The screen's profile: system metrics, rotation telling every top-level
// window with WM_SETTINGCHANGE / SETTINGCHANGE_RESET, and the composed
// screen with the observers that hear of its changes.
#include <MessageRecorder.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>
#include <vector>

using namespace testing_support;

namespace {

TEST(WindowScreen, MetricsFollowTheProfile) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 192});
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CXICON), 64) << "scaled from 96 dpi";
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192);
    ReleaseDC(nullptr, screen);
    RECT work;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.right, 240);
    RECT shell{0, 26, 240, 320};
    ASSERT_TRUE(SystemParametersInfoW(SPI_SETWORKAREA, 0, &shell, 0));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.top, 26);
}

TEST(WindowScreen, RotationSwapsTheScreenAndSendsSettingChangeResetToEveryTopLevelWindow) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
    MessageRecorder recorder;
    MessageRecorder::RegisterRecordingClass(u"Rotated");
    recorder.Ignore({WM_PAINT, WM_ERASEBKGND, WM_CREATE, WM_SIZE, WM_MOVE});
    HWND hidden = CreateWindowExW(0, u"Rotated", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, u"Rotated", nullptr, WS_CHILD, 0, 0, 5, 5, hidden, nullptr, nullptr, nullptr);
    static std::atomic<int> hookWidth{0};
    host::AddRotationHook([] { hookWidth = GetSystemMetrics(SM_CXSCREEN); });
    recorder.Clear();
    host::RotateScreen();
    EXPECT_EQ(hookWidth, 320) << "the hook runs with the new size";
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
    RECT desk;
    GetWindowRect(GetDesktopWindow(), &desk);
    EXPECT_EQ(desk.right, 320);
    const Expected kTold[] = {{WM_SETTINGCHANGE, Sent | Wparam, SETTINGCHANGE_RESET}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(hidden), kTold)) << "hidden windows are told too";
    EXPECT_TRUE(recorder.Take(child).empty()) << "only top-level windows";
    host::RotateScreen();
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 240);
    DestroyWindow(hidden);
}

LRESULT CALLBACK RedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, red);
    DeleteObject(red);
    EndPaint(hwnd, &ps);
    return 0;
}

struct Screen {
    std::vector<uint32_t> pixels;
    int width = 0, height = 0;
    Screen() { host::ComposeScreenPixels(&pixels, &width, &height); }
    uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(WindowScreen, ObserversHearOfEveryChangeThatTheComposedScreenShows) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
    static std::atomic<int> changes{0};
    host::AddScreenObserver([] { ++changes; });
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RedProc;
    wc.lpszClassName = u"Red";
    ASSERT_TRUE(RegisterClassW(&wc));
    const COLORREF desk = GetSysColor(COLOR_BACKGROUND);
    const uint32_t kDesk = (GetRValue(desk) << 16) | (GetGValue(desk) << 8) | GetBValue(desk);

    HWND red = CreateWindowExW(0, u"Red", nullptr, WS_VISIBLE, 10, 20, 100, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(red, nullptr);
    Pump();
    EXPECT_GT(changes.load(), 0) << "made and painted";
    Screen painted;
    ASSERT_EQ(painted.width, 240);
    ASSERT_EQ(painted.height, 320);
    EXPECT_EQ(painted.at(10, 20), 0xFF0000u);
    EXPECT_EQ(painted.at(109, 69), 0xFF0000u);
    EXPECT_EQ(painted.at(110, 70), kDesk);

    changes = 0;
    SetWindowPos(red, nullptr, 100, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_GT(changes.load(), 0) << "moved";
    Screen moved;
    EXPECT_EQ(moved.at(10, 20), kDesk);
    EXPECT_EQ(moved.at(100, 200), 0xFF0000u) << "the picture moves with its window";

    changes = 0;
    ShowWindow(red, SW_HIDE);
    EXPECT_GT(changes.load(), 0) << "hidden";
    EXPECT_EQ(Screen().at(100, 200), kDesk);
    ShowWindow(red, SW_SHOWNOACTIVATE);
    Pump();

    changes = 0;
    host::RotateScreen();
    EXPECT_GT(changes.load(), 0) << "turned";
    Screen turned;
    EXPECT_EQ(turned.width, 320);
    EXPECT_EQ(turned.height, 240);
    host::RotateScreen();

    changes = 0;
    host::SetScreenOn(false);
    EXPECT_GT(changes.load(), 0) << "asleep";
    Screen dark;
    EXPECT_EQ(dark.at(100, 200), 0u);
    changes = 0;
    host::SetScreenOn(true);
    EXPECT_GT(changes.load(), 0) << "awake";
    EXPECT_EQ(Screen().at(100, 200), 0xFF0000u);

    changes = 0;
    DestroyWindow(red);
    EXPECT_GT(changes.load(), 0) << "destroyed";
    EXPECT_EQ(Screen().at(100, 200), kDesk);
}

// GetDC(NULL) shows the screen as it is when taken; a screen DC still held
// keeps its picture while later ones show the screen's changes.
TEST(WindowScreen, EachScreenDCShowsTheScreenAsItWasWhenTaken) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"Plain";
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND w = CreateWindowExW(0, u"Plain", nullptr, WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    auto fill = [w](COLORREF color) {
        HDC dc = GetDC(w);
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, 50, 50};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ReleaseDC(w, dc);
    };

    fill(RGB(255, 0, 0));
    HDC first = GetDC(nullptr);
    EXPECT_EQ(GetPixel(first, 10, 10), RGB(255, 0, 0));
    fill(RGB(0, 0, 255));
    HDC second = GetDC(nullptr);
    EXPECT_EQ(GetPixel(second, 10, 10), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(first, 10, 10), RGB(255, 0, 0)) << "a held picture is not drawn over";
    ReleaseDC(nullptr, first);
    ReleaseDC(nullptr, second);

    for (COLORREF color : {RGB(0, 255, 0), RGB(10, 20, 30)}) {
        fill(color);
        HDC again = GetDC(nullptr);
        EXPECT_EQ(GetPixel(again, 10, 10), color) << "a picture no longer held is composed anew";
        ReleaseDC(nullptr, again);
    }
    DestroyWindow(w);
}

}  // namespace
