// Keys and hotkeys: one holder per combination, UnregisterFunc1 taking a
// combination away, MOD_KEYUP firing on release, the Home key as
// (MOD_WIN, VK_LWIN), and keys without a hotkey going to the focus window.
#include <MessageRecorder.h>
#include <WindowThread.h>
#include <gtest/gtest.h>
#include <pm.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>

using namespace testing_support;

namespace {

typedef BOOL(WINAPI* UnregisterFunc1Proc)(UINT, UINT);

class WindowHotKeys : public ::testing::Test {
protected:
    void SetUp() override {
        MessageRecorder::RegisterRecordingClass(u"Keyed");
        recorder.Ignore({WM_PAINT, WM_ERASEBKGND, WM_SHOWWINDOW, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_CREATE,
                         WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY});
    }
    HWND Top(LPCWSTR title, DWORD style = 0) {
        return CreateWindowExW(0, u"Keyed", title, style, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    }
    void Press(BYTE vk) {
        host::PressKey(vk);
        recorder.Pump();
    }
    MessageRecorder recorder;
};

TEST_F(WindowHotKeys, UnregisterFunc1FreesACombinationForAnotherWindow) {
    HWND shell = Top(u"shell");
    HWND bubble = Top(u"bubble");
    ASSERT_TRUE(RegisterHotKey(shell, 0, MOD_KEYUP, VK_F4));
    EXPECT_FALSE(RegisterHotKey(bubble, 0xC001, 0, VK_F4)) << "MOD_KEYUP is not part of the combination";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_ALREADY_REGISTERED));

    HMODULE coredll = LoadLibraryW(u"coredll.dll");
    ASSERT_TRUE(coredll);
    auto unregister = reinterpret_cast<UnregisterFunc1Proc>(GetProcAddressW(coredll, u"UnregisterFunc1"));
    ASSERT_TRUE(unregister);
    EXPECT_TRUE(unregister(0, VK_F4));
    EXPECT_TRUE(RegisterHotKey(bubble, 0xC001, 0, VK_F4));
    recorder.Clear();
    Press(VK_F4);
    const Expected kTaken[] = {{WM_HOTKEY, Posted | Wparam | Lparam, 0xC001, MAKELPARAM(0, VK_F4)}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(), kTaken)) << "only the new holder hears End, on its press";

    // Handed back: the shell's key-up registration fires on the press and,
    // with MOD_KEYUP in its modifiers, on the release.
    EXPECT_TRUE(UnregisterHotKey(bubble, 0xC001));
    EXPECT_FALSE(UnregisterHotKey(bubble, 0xC001));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_HOTKEY_NOT_REGISTERED));
    EXPECT_TRUE(RegisterHotKey(shell, 0, MOD_KEYUP, VK_F4));
    host::KeyDown(VK_F4);
    recorder.Pump();
    const Expected kDown[] = {{WM_HOTKEY, Posted | Wparam | Lparam, 0, MAKELPARAM(0, VK_F4)}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(shell), kDown));
    host::KeyUp(VK_F4);
    recorder.Pump();
    const Expected kUp[] = {{WM_HOTKEY, Posted | Wparam | Lparam, 0, 0x00731000}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(shell), kUp));
    EXPECT_TRUE(recorder.Take(bubble).empty());
    FreeLibrary(coredll);
    DestroyWindow(bubble);
    DestroyWindow(shell);
}

TEST_F(WindowHotKeys, TheHomeKeyIsPressedAsModWinWithVkLwin) {
    HWND shell = Top(u"shell");
    ASSERT_TRUE(RegisterHotKey(shell, 7, MOD_WIN, VK_LWIN));
    recorder.Clear();
    Press(VK_LWIN);
    const Expected kHome[] = {{WM_HOTKEY, Posted | Wparam | Lparam, 7, MAKELPARAM(MOD_WIN, VK_LWIN)}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(shell), kHome));
    // A registration without the key's own modifier is used when it is the only one.
    EXPECT_TRUE(UnregisterHotKey(shell, 7));
    ASSERT_TRUE(RegisterHotKey(shell, 8, MOD_KEYUP, VK_LWIN));
    Press(VK_LWIN);
    const Expected kBare[] = {{WM_HOTKEY, Posted | Wparam | Lparam, 8, MAKELPARAM(0, VK_LWIN)},
                              {WM_HOTKEY, Posted | Wparam | Lparam, 8, MAKELPARAM(MOD_KEYUP, VK_LWIN)},
                              {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(shell), kBare));
    // A destroyed window's hotkeys are freed.
    DestroyWindow(shell);
    HWND other = Top(u"other");
    EXPECT_TRUE(RegisterHotKey(other, 1, 0, VK_LWIN));
    DestroyWindow(other);
}

TEST_F(WindowHotKeys, KeysWithoutAHotKeyGoToTheFocusWindowAndTheKeyStateFollowsThem) {
    HWND top = Top(u"top", WS_VISIBLE);
    HWND field = CreateWindowExW(0, u"Keyed", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, nullptr, nullptr,
                                 nullptr);
    SetFocus(field);
    recorder.Pump();
    recorder.Clear();
    host::KeyDown(VK_DOWN);
    SHORT held = GetAsyncKeyState(VK_DOWN);
    EXPECT_TRUE(held & 0x8000);
    EXPECT_TRUE(held & 0x1000) << "the phone reports a held key with bit 0x1000 as well";
    EXPECT_TRUE(held & 0x0001) << "pressed since the last query";
    EXPECT_FALSE(GetAsyncKeyState(VK_DOWN) & 0x0001) << "the press is reported once";
    EXPECT_TRUE(GetKeyState(VK_DOWN) & 0x8000);
    host::KeyUp(VK_DOWN);
    EXPECT_EQ(GetAsyncKeyState(VK_DOWN) & 0x9000, 0);
    recorder.Pump();
    const Expected kToFocus[] = {{WM_KEYDOWN, Posted | Wparam | Lparam, VK_DOWN, 1},
                                 {WM_KEYUP, Posted | Wparam | Lparam, VK_DOWN, static_cast<LPARAM>(0xC0000001u)},
                                 {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(field), kToFocus));
    EXPECT_TRUE(recorder.Take(top).empty());
    // keybd_event reaches the same place, silent or not.
    keybd_event(VK_RETURN, 0, KEYEVENTF_SILENT, 0);
    keybd_event(VK_RETURN, 0, KEYEVENTF_KEYUP | KEYEVENTF_SILENT, 0);
    recorder.Pump();
    const Expected kReturn[] = {{WM_KEYDOWN, Posted | Wparam, VK_RETURN},
                                {WM_CHAR, Posted | Wparam, '\r'},
                                {WM_KEYUP, Posted | Wparam, VK_RETURN},
                                {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(field), kReturn));
    DestroyWindow(top);
}

// A handler that waits for its key's release, polling the key's state, as
// a key handler of the phone does: the release made on another thread
// reaches it while it polls, and neither side stalls.
TEST_F(WindowHotKeys, AKeyHeldWhileItsHandlerPollsTheStateIsReleasedWithoutAStall) {
    static std::atomic<int> polls{0};
    static std::atomic<bool> released{false};
    auto proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_KEYDOWN && w == '5') {
            const DWORD start = GetTickCount();
            while ((GetAsyncKeyState('5') & 0x1000) && GetTickCount() - start < 5000) {
                ++polls;
                Sleep(1);
            }
            released = !(GetAsyncKeyState('5') & 0x1000);
            return 0;
        }
        return DefWindowProcW(h, m, w, l);
    };
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = u"Poller";
    RegisterClassW(&wc);
    testing_support::WindowThread other([] {
        HWND w = CreateWindowExW(0, u"Poller", nullptr, WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(w);
        SetFocus(w);
        return w;
    });
    ASSERT_TRUE(other.Start());
    host::KeyDown('5');
    ASSERT_TRUE(testing_support::PumpUntil([] { return polls > 0; }));
    const DWORD start = GetTickCount();
    host::KeyUp('5');  // must not wait for the handler
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_TRUE(testing_support::PumpUntil([] { return released.load(); }));
    EXPECT_TRUE(other.Stop());
}

TEST_F(WindowHotKeys, APressWakesTheSleepingDisplay) {
    EXPECT_EQ(SetSystemPowerState(nullptr, POWER_STATE_USERIDLE, 0), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_FALSE(host::ScreenIsOn());
    host::PressKey('5');
    EXPECT_TRUE(host::ScreenIsOn());
    SetSystemPowerState(nullptr, POWER_STATE_USERIDLE, 0);
    EXPECT_EQ(SetSystemPowerState(nullptr, POWER_STATE_ON, 0), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_TRUE(host::ScreenIsOn());
}

TEST_F(WindowHotKeys, AHotKeyOfAWindowOnAnotherThreadIsPostedToThatThread) {
    static std::atomic<int> got{0};
    auto proc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_HOTKEY && w == 0xC000) ++got;
        return DefWindowProcW(h, m, w, l);
    };
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = u"Holder";
    RegisterClassW(&wc);
    testing_support::WindowThread other([] {
        HWND holder = CreateWindowExW(0, u"Holder", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        RegisterHotKey(holder, 0xC000, MOD_WIN, VK_LWIN);
        return holder;
    });
    ASSERT_TRUE(other.Start());
    Sleep(10);
    host::PressKey(VK_LWIN);
    for (int i = 0; i < 2000 && got == 0; ++i) Sleep(1);
    EXPECT_EQ(got, 1);
    std::vector<host::HotKeyInfo> list = host::ListHotKeys();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].window, "Holder");
    EXPECT_EQ(list[0].id, 0xC000);
    EXPECT_EQ(list[0].modifiers, static_cast<unsigned>(MOD_WIN));
    EXPECT_EQ(list[0].vk, static_cast<unsigned>(VK_LWIN));
    EXPECT_TRUE(other.Stop());
    EXPECT_TRUE(host::ListHotKeys().empty()) << "freed with the ended thread's window";
}

}  // namespace
