// While it is shown the bubble holds the Home and End keys: Home brings the
// home screen up with the bubble raised over it again, End reaches the
// shell only over a dialog. Back is handed to the focus window.
#include "BubbleWindow.h"

#include "BubbleMessages.h"
#include "BubbleThread.h"
#include "ToolkitHomeLine.h"

#include <aygshell.h>

namespace {

const WCHAR kToolkitClass[] = TEXT("ENATIVE_SMARTTOOLKIT");
const WCHAR kMenuBarClass[] = TEXT("MS_SOFTKEY_CE_1.0");
const WCHAR kShellClass[] = TEXT("MSCProg");
const int kHomePolls = 2001;

// What a short-lived thread is given: the bubble's window and the home
// screen, which do not change while the window exists.
struct RaiseTarget {
    HWND bubble;
    HWND home;
};

DWORD WINAPI ShowThread(LPVOID parameter) {
    HWND bubble = static_cast<HWND>(parameter);
    ShowWindow(bubble, SW_SHOW);
    SetForegroundWindow(bubble);
    SetFocus(bubble);
    SendMessageW(bubble, WM_BUBBLE_SHOWN, 0, 0);
    return 0;
}

void WaitForHomeInFront(HWND home) {
    for (int i = 0; i < kHomePolls && GetForegroundWindow() != home; ++i) Sleep(1);
}

DWORD WINAPI HomeWatcherThread(LPVOID parameter) {
    RaiseTarget* target = static_cast<RaiseTarget*>(parameter);
    WaitForHomeInFront(target->home);
    SetForegroundWindow(target->bubble);
    LocalFree(target);
    return 0;
}

// Starts a short-lived thread that nobody waits for while the bubble runs;
// its handle is kept only so that the module is not unloaded under it.
bool StartDetached(LPTHREAD_START_ROUTINE routine, LPVOID parameter) {
    HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
    if (!thread) return false;
    KeepHelperThread(thread);
    return true;
}

}  // namespace

void BubbleWindow::GrabKeys() {
    if (unregisterFunc1_) {
        unregisterFunc1_(MOD_WIN, VK_LWIN);
        unregisterFunc1_(0, VK_F4);
    }
    RegisterHotKey(hwnd_, HOTKEY_ID_HOME, MOD_WIN, VK_LWIN);
    RegisterHotKey(hwnd_, HOTKEY_ID_END, 0, VK_F4);
}

void BubbleWindow::ReleaseKeys() {
    UnregisterHotKey(hwnd_, HOTKEY_ID_HOME);
    UnregisterHotKey(hwnd_, HOTKEY_ID_END);
    RegisterHotKey(FindWindowW(kShellClass, nullptr), 0, MOD_KEYUP, VK_F4);
    if (HWND toolkit = FindWindowW(kToolkitClass, nullptr)) {
        LONG n = ToolkitHomeLine();
        RegisterHotKey(toolkit, n + 1, MOD_KEYUP, VK_LWIN);
        RegisterHotKey(toolkit, n + 33, MOD_WIN, VK_LWIN);
        RegisterHotKey(toolkit, n + 65, MOD_SHIFT, VK_LWIN);
    }
}

void BubbleWindow::ShowBubble() {
    GrabKeys();
    windowBeneath_ = FindWindowBeneath();
    if (StartDetached(ShowThread, hwnd_)) ++showsPending_;
    shown_ = 1;
}

void BubbleWindow::OnShown() {
    if (showsPending_ > 0) --showsPending_;
    // Dismissed before its helper got to it: the window is hidden now that
    // nothing will show or raise it again.
    if (!shown_ && showsPending_ == 0) HideBubble();
}

HWND BubbleWindow::FindWindowBeneath() {
    HWND foreground = GetForegroundWindow();
    if (foreground != hwnd_) return foreground;
    HWND below = GetWindow(hwnd_, GW_HWNDNEXT);
    WCHAR className[100] = {};
    GetClassNameW(below, className, 100);
    if (wcscmp(className, kToolkitClass) == 0 || wcscmp(className, kMenuBarClass) == 0)
        return GetWindow(windowBeneath_, GW_HWNDNEXT);
    return below;
}

LRESULT BubbleWindow::OnHotKey(HWND hwnd, WPARAM wParam, LPARAM lParam) {
    const UINT key = HIWORD(lParam);
    // The handler acts once the key is up again.
    while (GetAsyncKeyState(static_cast<int>(key)) & 0x1000) Sleep(1);

    if (key == VK_LWIN) {
        windowBeneath_ = GetDesktopWindow();
        HWND toolkit = FindWindowW(kToolkitClass, nullptr);
        HWND foreground = GetForegroundWindow();
        if (foreground == homeWindow_ || toolkit) {
            SetForegroundWindow(hwnd);
            RaiseTarget* target = static_cast<RaiseTarget*>(LocalAlloc(LPTR, sizeof(RaiseTarget)));
            if (target) {
                target->bubble = hwnd;
                target->home = homeWindow_;
                StartDetached(HomeWatcherThread, target);
            }
        } else {
            WaitForHomeInFront(homeWindow_);
            Sleep(200);
            SetForegroundWindow(hwnd);
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        return 0;
    }
    if (key == VK_F4) {
        windowBeneath_ = FindWindowBeneath();
        WCHAR className[260] = {};
        GetClassNameW(windowBeneath_, className, 260);
        if (wcscmp(className, TEXT("Dialog")) == 0) {
            // The shell's own End key-up hotkey, as if the bubble had not taken End.
            SendMessageW(FindWindowW(kShellClass, nullptr), WM_HOTKEY, 0, MAKELPARAM(MOD_KEYUP, VK_F4));
            return 1;
        }
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
        SetForegroundWindow(hwnd);
        return 0;
    }
    if (key == VK_TBACK) {
        SHSendBackToFocusWindow(WM_HOTKEY, wParam, lParam);
        return 0;
    }
    return 0;
}
