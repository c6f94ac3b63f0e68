// The shell's calls on a real dialog, as the settings program makes them:
// SHInitDialog sizes it to the screen above its soft-key bar in both
// orientations, SHCreateMenuBar gives it soft keys from a menu resource,
// SHFindMenuBar finds them, and after SHCMBM_OVERRIDEKEY the Back key comes
// as WM_HOTKEY and SHSendBackToFocusWindow hands it to the focus control.
#include "dialog_shell_test.h"
#include "menubar_test.h"

#include <TempDevice.h>
#include <aygshell.h>
#include <screen_host.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

const UINT WM_STEP = WM_APP + 1;

std::vector<WPARAM> g_chars;  // WM_CHAR that reached a stand-in control

LRESULT CALLBACK StandInProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CHAR) {
        g_chars.push_back(wParam);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The test's own Button and Edit, which record what reaches them: classes
// of the module, so its dialogs make their controls from them before the
// platform's.
void RegisterStandIns() {
    for (LPCWSTR name : {u"Button", u"Edit"}) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = StandInProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = name;
        RegisterClassW(&wc);
    }
}

struct Session {
    // A step that returns false is tried again at the next turn of the loop.
    std::vector<std::function<bool(HWND)>> steps;
    size_t next = 0;
    HWND bar = nullptr;
    BOOL initialised = FALSE, overridden = FALSE;
    std::vector<LPARAM> sizes;
    std::vector<LPARAM> hotkeys;
    std::function<void(HWND)> about;
};

Session* g_run = nullptr;

INT_PTR CALLBACK SettingsLikeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!g_run) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: {
            SHINITDLGINFO init{SHIDIM_FLAGS, hwnd, SHIDIF_SIZEDLGFULLSCREEN};
            g_run->initialised = SHInitDialog(&init);
            SHMENUBARINFO bar{};
            bar.cbSize = sizeof bar;
            bar.hwndParent = hwnd;
            bar.dwFlags = SHCMBF_HMENU;
            bar.nToolBarId = IDR_SOFTKEYS;
            bar.hInstRes = GetModuleHandleW(nullptr);
            if (SHCreateMenuBar(&bar)) g_run->bar = bar.hwndMB;
            HWND found = SHFindMenuBar(hwnd);
            g_run->overridden = static_cast<BOOL>(
                SendMessageW(found, SHCMBM_OVERRIDEKEY, VK_TBACK,
                             MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY)));
            PostMessageW(hwnd, WM_STEP, 0, 0);
            return TRUE;
        }
        case WM_SIZE:
            g_run->sizes.push_back(lParam);
            return TRUE;
        case WM_HOTKEY:
            g_run->hotkeys.push_back(lParam);
            if (HIWORD(lParam) == VK_TBACK) SHSendBackToFocusWindow(msg, wParam, lParam);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_DONE) EndDialog(hwnd, 1);
            if (LOWORD(wParam) == IDM_ABOUT && g_run->about) g_run->about(hwnd);
            return TRUE;
        case WM_STEP:
            if (g_run->next < g_run->steps.size()) {
                if (g_run->steps[g_run->next](hwnd)) ++g_run->next;
                if (IsWindow(hwnd)) PostMessageW(hwnd, WM_STEP, 0, 0);
            }
            return TRUE;
        default:
            return FALSE;
    }
}

const DLGTEMPLATE* Template() {
    HRSRC info = FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCE(IDD_SHELL), RT_DIALOG);
    return info ? static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(GetModuleHandleW(nullptr), info)))
                : nullptr;
}

// The box opened from the dialog's menu: soft keys of its own, and its
// left one ends it.
struct Inner {
    HWND outer = nullptr;
    bool outerEnabled = true;
    bool barMade = false;
};
Inner g_inner;

INT_PTR CALLBACK InnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
        case WM_INITDIALOG: {
            SHINITDLGINFO init{SHIDIM_FLAGS, hwnd, SHIDIF_SIZEDLGFULLSCREEN};
            SHInitDialog(&init);
            SHMENUBARINFO bar{};
            bar.cbSize = sizeof bar;
            bar.hwndParent = hwnd;
            bar.dwFlags = SHCMBF_HMENU;
            bar.nToolBarId = IDR_COMMANDS;
            bar.hInstRes = GetModuleHandleW(nullptr);
            g_inner.barMade = SHCreateMenuBar(&bar) != FALSE;
            g_inner.outerEnabled = IsWindowEnabled(g_inner.outer) != FALSE;
            PostMessageW(hwnd, WM_STEP, 0, 0);
            return TRUE;
        }
        case WM_STEP:
            host::PressKey(VK_TSOFT1);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDM_VIEW) EndDialog(hwnd, 9);
            return TRUE;
        default:
            return FALSE;
    }
}

class ShellDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        profile = host::GetScreenProfile();
        host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
        RegisterStandIns();
        g_chars.clear();
        g_run = &run;
    }
    void TearDown() override {
        g_run = nullptr;
        if (host::GetScreenProfile().width != 240) host::RotateScreen();
        host::SetScreenProfile(profile);
    }
    // A key, then a few turns of the loop for what it causes to arrive.
    void Press(BYTE vk) {
        Then([vk](HWND) { host::PressKey(vk); });
        for (int i = 0; i < 4; ++i) Then([](HWND) {});
    }
    void Then(std::function<void(HWND)> step) {
        run.steps.push_back([step](HWND hwnd) {
            step(hwnd);
            return true;
        });
    }
    void Until(std::function<bool()> done) {
        run.steps.push_back([done](HWND) { return done(); });
    }
    // The dialog fills the work area down to its soft-key bar.
    void ExpectFullScreen(HWND dlg, const char* when) {
        RECT work{}, window{}, bar{};
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(dlg, &window);
        GetWindowRect(run.bar, &bar);
        EXPECT_EQ(window.left, work.left) << when;
        EXPECT_EQ(window.top, work.top) << when;
        EXPECT_EQ(window.right, work.right) << when;
        EXPECT_EQ(window.right, GetSystemMetrics(SM_CXSCREEN)) << when;
        EXPECT_EQ(window.bottom, bar.top) << when;
        EXPECT_EQ(bar.bottom, GetSystemMetrics(SM_CYSCREEN)) << when;
        RECT client{};
        GetClientRect(dlg, &client);
        ASSERT_FALSE(run.sizes.empty()) << when;
        EXPECT_EQ(run.sizes.back(), MAKELPARAM(client.right, client.bottom)) << when;
    }

    testing_support::TempDevice device;
    host::ScreenProfile profile;
    Session run;
};

TEST_F(ShellDialogs, AFullScreenDialogWithSoftKeysAndTheBackKeyInBothOrientations) {
    HWND dialog = nullptr;
    Then([&](HWND hwnd) {
        dialog = hwnd;
        ExpectFullScreen(hwnd, "portrait");
        EXPECT_TRUE(IsWindowVisible(run.bar));
        SetFocus(GetDlgItem(hwnd, IDC_TEXT));
    });
    Press(VK_TBACK);
    Then([&](HWND hwnd) {
        EXPECT_EQ(run.hotkeys, (std::vector<LPARAM>{MAKELPARAM(0, VK_TBACK)})) << "Back comes as WM_HOTKEY";
        EXPECT_EQ(g_chars, (std::vector<WPARAM>{VK_BACK})) << "and reaches the text field as a Back character";
        EXPECT_TRUE(IsWindow(hwnd)) << "Back no longer ends anything itself";
        host::RotateScreen();
    });
    Then([&](HWND hwnd) {
        ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
        ExpectFullScreen(hwnd, "landscape");
        host::RotateScreen();
    });
    Then([&](HWND hwnd) { ExpectFullScreen(hwnd, "portrait again"); });
    Press(VK_TSOFT1);
    Then([](HWND) { ADD_FAILURE() << "Done did not end the dialog"; });

    EXPECT_EQ(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), Template(), nullptr, SettingsLikeProc, 0), 1);
    EXPECT_TRUE(run.initialised);
    EXPECT_NE(run.bar, nullptr);
    EXPECT_TRUE(run.overridden);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(run.bar)) << "the bar goes with its dialog";
}

TEST_F(ShellDialogs, ABoxOpenedFromTheMenuHasTheSoftKeysUntilItEnds) {
    INT_PTR inner = 0;
    bool innerDone = false, outerEnabledAfter = false;
    run.about = [&](HWND hwnd) {
        g_inner = Inner{hwnd};
        inner = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), Template(), hwnd, InnerProc, 0);
        outerEnabledAfter = IsWindowEnabled(hwnd) != FALSE;
        innerDone = true;
    };
    // The right soft key opens the menu; Action chooses its first item.
    Press(VK_TSOFT2);
    Press(VK_TACTION);
    Until([&] { return innerDone; });
    Press(VK_TSOFT1);
    Then([](HWND) { ADD_FAILURE() << "Done did not end the dialog"; });
    EXPECT_EQ(DialogBoxIndirectParamW(GetModuleHandleW(nullptr), Template(), nullptr, SettingsLikeProc, 0), 1);
    EXPECT_TRUE(g_inner.barMade);
    EXPECT_FALSE(g_inner.outerEnabled) << "the dialog under the box takes no input";
    EXPECT_EQ(inner, 9) << "the box's own soft key ended it";
    EXPECT_TRUE(outerEnabledAfter);
}

}  // namespace
