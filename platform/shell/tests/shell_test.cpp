// The shell: where its windows are, the keys it holds, what rotation does to
// it, and a screenshot with the status bar, home screen and soft-key bar in
// their places.
#include <MessageRecorder.h>
#include <TempDevice.h>
#include <cemapi_host.h>
#include <cairo.h>
#include <WindowThread.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <shell_host.h>
#include <windows.h>

#include <functional>

using namespace testing_support;

namespace {

RECT RectOf(LPCWSTR cls) {
    RECT r{};
    GetWindowRect(FindWindowW(cls, nullptr), &r);
    return r;
}

void ExpectRect(const RECT& r, int x, int y, int cx, int cy) {
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, cx);
    EXPECT_EQ(r.bottom - r.top, cy);
}

// Polls a condition while handling this thread's messages.
bool Eventually(const std::function<bool()>& condition) { return testing_support::PumpUntil(condition, 3000); }

// A screenshot read back.
class Png {
public:
    explicit Png(const std::string& path) : s_(cairo_image_surface_create_from_png(path.c_str())) {
        EXPECT_EQ(cairo_surface_status(s_), CAIRO_STATUS_SUCCESS);
    }
    ~Png() { cairo_surface_destroy(s_); }
    uint32_t At(int x, int y) const {
        auto* row = cairo_image_surface_get_data(s_) + y * cairo_image_surface_get_stride(s_);
        return reinterpret_cast<uint32_t*>(row)[x] & 0xFFFFFF;
    }

private:
    cairo_surface_t* s_;
};

uint32_t Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

class Shell : public ::testing::Test {
protected:
    void SetUp() override {
        host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
        ASSERT_TRUE(host::StartShell());
    }
    void TearDown() override {
        host::StopShell();
        EXPECT_EQ(FindWindowW(u"DesktopExplorerWindow", nullptr), nullptr);
        host::StopMessageStore();
    }

    host::EntryId Arrive(const std::u16string& text) {
        host::EntryId id = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", text, u"+79161234567",
                                                      u"Mirela");
        EXPECT_FALSE(id.empty());
        return id;
    }

    // The shell's windows are made on a device whose store is open.
    TempDevice device_;
};

TEST_F(Shell, TheHomeScreenLiesBetweenTheStatusBarAndTheSoftKeyBar) {
    ExpectRect(RectOf(u"DesktopExplorerWindow"), 0, 26, 240, 268);
    ExpectRect(RectOf(u"Tray"), 0, 0, 240, 26);
    ExpectRect(RectOf(u"MS_SOFTKEY_CE_1.0"), 0, 294, 240, 26);
    HWND home = FindWindowW(u"DesktopExplorerWindow", nullptr);
    EXPECT_EQ(GetForegroundWindow(), home);
    HWND shellWindow = FindWindowW(u"MSCProg", nullptr);
    ASSERT_TRUE(shellWindow);
    EXPECT_FALSE(IsWindowVisible(shellWindow));
    RECT work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(work.top, 26);
    // The shell holds End on its release under id 0, and Home.
    auto hotkeys = host::ListHotKeys();
    ASSERT_EQ(hotkeys.size(), 2u);
    EXPECT_EQ(hotkeys[0].window, "MSCProg");
    EXPECT_EQ(hotkeys[0].id, 0);
    EXPECT_EQ(hotkeys[0].modifiers, static_cast<unsigned>(MOD_KEYUP));
    EXPECT_EQ(hotkeys[0].vk, static_cast<unsigned>(VK_F4));
    EXPECT_EQ(hotkeys[1].modifiers, static_cast<unsigned>(MOD_WIN));
    EXPECT_EQ(hotkeys[1].vk, static_cast<unsigned>(VK_LWIN));
}

TEST_F(Shell, HigherDpiScalesTheBars) {
    host::StopShell();
    host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
    ASSERT_TRUE(host::StartShell());
    ExpectRect(RectOf(u"DesktopExplorerWindow"), 0, 35, 240, 320 - 70);
}

TEST_F(Shell, RotationLaysTheShellOutBeforeWindowsAreTold) {
    static RECT seen{};
    auto proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_SETTINGCHANGE && w == SETTINGCHANGE_RESET) seen = RectOf(u"DesktopExplorerWindow");
        return DefWindowProcW(h, m, w, l);
    };
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = u"Listener";
    RegisterClassW(&wc);
    HWND listener = CreateWindowExW(0, u"Listener", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    host::RotateScreen();
    ExpectRect(seen, 0, 26, 320, 188);
    ExpectRect(RectOf(u"DesktopExplorerWindow"), 0, 26, 320, 188);
    ExpectRect(RectOf(u"Tray"), 0, 0, 320, 26);
    ExpectRect(RectOf(u"MS_SOFTKEY_CE_1.0"), 0, 214, 320, 26);
    host::RotateScreen();
    ExpectRect(RectOf(u"DesktopExplorerWindow"), 0, 26, 240, 268);
    DestroyWindow(listener);
}

TEST_F(Shell, EndOnItsReleaseAndHomeBringTheHomeScreenToTheFront) {
    MessageRecorder recorder;
    MessageRecorder::RegisterRecordingClass(u"Program");
    HWND program = CreateWindowExW(0, u"Program", u"program", WS_VISIBLE, 0, 26, 240, 268, nullptr, nullptr, nullptr,
                                   nullptr);
    HWND home = FindWindowW(u"DesktopExplorerWindow", nullptr);
    EXPECT_EQ(GetForegroundWindow(), program);
    host::KeyDown(VK_F4);
    Sleep(50);
    EXPECT_EQ(GetForegroundWindow(), program) << "End acts on its release";
    host::KeyUp(VK_F4);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == home; }));
    SetForegroundWindow(program);
    host::PressKey(VK_LWIN);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == home; }));
    // Home brings the home screen up even when another window took its hotkey.
    typedef BOOL(WINAPI * UnregisterFunc1Proc)(UINT, UINT);
    HMODULE coredll = LoadLibraryW(u"coredll.dll");
    auto unregister = reinterpret_cast<UnregisterFunc1Proc>(GetProcAddressW(coredll, u"UnregisterFunc1"));
    ASSERT_TRUE(unregister);
    unregister(MOD_WIN, VK_LWIN);
    ASSERT_TRUE(RegisterHotKey(program, 0xC000, MOD_WIN, VK_LWIN));
    SetForegroundWindow(program);
    host::PressKey(VK_LWIN);
    EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == home; }));
    EXPECT_TRUE(Eventually([&] {
        for (const Recorded& r : recorder.Take(program))
            if (r.message == WM_HOTKEY && r.wParam == 0xC000) return true;
        return false;
    })) << "the holder hears Home too";
    FreeLibrary(coredll);
    host::WaitForIdle();
    DestroyWindow(program);
}

TEST_F(Shell, AScreenshotShowsTheBarsAndTheHomeScreenInTheirPlaces) {
    TempFolder folder;
    for (int i = 0; i < 3; ++i) Arrive(u"unread");
    EXPECT_TRUE(Eventually([] { return host::UnreadCount() == 3; }));
    std::string png = folder.path() + "/shell.png";
    std::string error;
    ASSERT_TRUE(host::SaveScreenshot(png, &error)) << error;
    {
        Png shot(png);
        EXPECT_EQ(shot.At(2, 2), Rgb(GetSysColor(COLOR_ACTIVECAPTION))) << "status bar";
        EXPECT_EQ(shot.At(2, 25), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
        EXPECT_EQ(shot.At(2, 26), Rgb(GetSysColor(COLOR_WINDOW))) << "home screen";
        EXPECT_EQ(shot.At(2, 293), Rgb(GetSysColor(COLOR_WINDOW)));
        EXPECT_EQ(shot.At(120, 296), Rgb(GetSysColor(COLOR_BTNFACE))) << "soft-key bar";
        EXPECT_EQ(shot.At(238, 318), Rgb(GetSysColor(COLOR_BTNFACE)));
        // The home screen draws something (the clock) on its white.
        bool ink = false;
        for (int x = 0; x < 240 && !ink; ++x)
            for (int y = 30; y < 100 && !ink; ++y) ink = shot.At(x, y) != Rgb(GetSysColor(COLOR_WINDOW));
        EXPECT_TRUE(ink);
    }
    host::RotateScreen();
    ASSERT_TRUE(host::SaveScreenshot(png, &error)) << error;
    Png turned(png);
    EXPECT_EQ(turned.At(318, 2), Rgb(GetSysColor(COLOR_ACTIVECAPTION)));
    EXPECT_EQ(turned.At(318, 200), Rgb(GetSysColor(COLOR_WINDOW)));
    EXPECT_EQ(turned.At(160, 236), Rgb(GetSysColor(COLOR_BTNFACE)));
    host::RotateScreen();
}

}  // namespace

namespace {

// Whoever changes the Inbox, the home screen follows its unread count: a
// message arriving, read and unread by the messaging application, and
// deleted; a message already waiting when the shell starts is counted.
// The pixels of the home screen's line of unread messages, below the date.
std::vector<uint32_t> UnreadLine() {
    TempFolder folder;
    std::string png = folder.path() + "/home.png";
    std::string error;
    EXPECT_TRUE(host::SaveScreenshot(png, &error)) << error;
    Png shot(png);
    std::vector<uint32_t> pixels;
    for (int y = 26 + 86; y < 26 + 104; ++y)
        for (int x = 0; x < 240; ++x) pixels.push_back(shot.At(x, y));
    return pixels;
}

TEST(HomeScreen, TheUnreadCountFollowsTheStore) {
    TempDevice device;
    host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"waiting", u"+1", u"+1");
    host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
    ASSERT_TRUE(host::StartShell());
    EXPECT_EQ(host::UnreadCount(), 1);
    host::EntryId second = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"new", u"+2", u"+2");
    EXPECT_TRUE(Eventually([] { return host::UnreadCount() == 2; }));
    const std::vector<uint32_t> two = UnreadLine();
    EXPECT_TRUE(host::SetMessageRead(second, true));
    EXPECT_TRUE(Eventually([] { return host::UnreadCount() == 1; }));
    const std::vector<uint32_t> one = UnreadLine();
    EXPECT_NE(one, two) << "the line is drawn again with the new count";
    EXPECT_TRUE(host::SetMessageRead(second, false));
    EXPECT_TRUE(Eventually([] { return host::UnreadCount() == 2; }));
    EXPECT_EQ(UnreadLine(), two);
    EXPECT_TRUE(host::DeleteMessage(second));
    EXPECT_TRUE(Eventually([] { return host::UnreadCount() == 1; }));
    host::StopShell();
    host::StopMessageStore();
}

}  // namespace
