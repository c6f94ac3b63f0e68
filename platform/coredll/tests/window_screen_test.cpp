// The screen's profile: system metrics, and rotation telling every
// top-level window with WM_SETTINGCHANGE / SETTINGCHANGE_RESET.
#include <MessageRecorder.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>

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

}  // namespace
