// The shell's thread: it makes the shell's windows, takes the End and Home
// keys, and runs their message loop until the shell is stopped.
#include "ShellLayout.h"
#include "ShellWindows.h"

#include <screen_host.h>
#include <shell_host.h>

#include <mutex>

namespace shell {

namespace {

std::mutex g_startLock;
HANDLE g_thread = nullptr;
HANDLE g_ready = nullptr;
std::atomic<bool> g_started{false};
std::once_flag g_hookOnce;

bool CreateWindows() {
    // The shell's classes are its own module's, apart from any a program's
    // libraries register under the same names; they stay across restarts.
    HINSTANCE instance = GetModuleHandleW(u"shell.dll");
    if (!instance) instance = GetModuleHandleW(nullptr);
    static bool registered = RegisterShellWindowClass(instance) && RegisterHomeClass(instance) &&
                             RegisterStatusBarClass(instance) && RegisterSoftKeyBarClass(instance);
    if (!registered) return false;
    Layout l = CurrentLayout();
    auto make = [&](DWORD exStyle, LPCWSTR cls, LPCWSTR title, const RECT& r, HWND owner) {
        return CreateWindowExW(exStyle, cls, title, WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, owner,
                               nullptr, instance, nullptr);
    };
    Windows& w = Current();
    w.shell = make(0, u"MSCProg", nullptr, RECT{0, 0, 0, 0}, nullptr);
    w.statusBar = make(WS_EX_TOPMOST | WS_EX_NOACTIVATE, u"Tray", nullptr, l.statusBar, nullptr);
    w.home = make(0, u"DesktopExplorerWindow", u"Desktop", l.home, nullptr);
    w.softKeys = make(WS_EX_NOACTIVATE, u"MS_SOFTKEY_CE_1.0", nullptr, l.softKeys, w.home);
    if (!w.shell || !w.statusBar || !w.home || !w.softKeys) return false;
    ShowWindow(w.statusBar, SW_SHOWNA);
    ShowWindow(w.home, SW_SHOW);
    ShowWindow(w.softKeys, SW_SHOWNA);
    SetForegroundWindow(w.home);
    RegisterHotKey(w.shell, kEndHotKey, MOD_KEYUP, VK_F4);
    RegisterHotKey(w.shell, kHomeHotKey, MOD_WIN, VK_LWIN);
    ApplyLayout();
    return true;
}

DWORD WINAPI ShellMain(LPVOID) {
    bool ok = CreateWindows();
    g_started = ok;
    SetEvent(g_ready);
    if (!ok) {
        if (HWND shellWindow = Current().shell) SendMessageW(shellWindow, WM_CLOSE, 0, 0);
        return 1;
    }
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

void OnRotation() {
    // The shell lays itself out on its own thread before anyone hears of the turn.
    if (HWND shellWindow = Current().shell; shellWindow && IsWindow(shellWindow))
        SendMessageW(shellWindow, WM_SHELL_LAYOUT, 0, 0);
}

void OnKey(BYTE vk, bool up) {
    if (vk != VK_LWIN || up) return;
    if (HWND shellWindow = Current().shell) PostMessageW(shellWindow, WM_SHELL_HOME, 0, 0);
}

void Forget() {
    Windows& w = Current();
    w.shell = nullptr;
    w.statusBar = nullptr;
    w.home = nullptr;
    w.softKeys = nullptr;
}

}  // namespace

Windows& Current() {
    static Windows windows;
    return windows;
}

std::atomic<int>& Unread() {
    static std::atomic<int> count{0};
    return count;
}

}  // namespace shell

namespace host {

bool StartShell() {
    std::lock_guard<std::mutex> lock(shell::g_startLock);
    if (shell::g_thread) return shell::g_started;
    std::call_once(shell::g_hookOnce, [] {
        AddRotationHook(shell::OnRotation);
        AddKeyObserver(shell::OnKey);
    });
    shell::g_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    shell::g_thread = CreateThread(nullptr, 0, shell::ShellMain, nullptr, 0, nullptr);
    if (!shell::g_thread) {
        CloseHandle(shell::g_ready);
        shell::g_ready = nullptr;
        return false;
    }
    WaitForSingleObject(shell::g_ready, 10000);
    if (!shell::g_started) {
        WaitForSingleObject(shell::g_thread, 10000);
        CloseHandle(shell::g_thread);
        CloseHandle(shell::g_ready);
        shell::g_thread = shell::g_ready = nullptr;
        shell::Forget();
        return false;
    }
    return true;
}

void StopShell() {
    std::lock_guard<std::mutex> lock(shell::g_startLock);
    if (!shell::g_thread) return;
    if (HWND shellWindow = shell::Current().shell) PostMessageW(shellWindow, WM_CLOSE, 0, 0);
    WaitForSingleObject(shell::g_thread, 10000);
    CloseHandle(shell::g_thread);
    CloseHandle(shell::g_ready);
    shell::g_thread = shell::g_ready = nullptr;
    shell::g_started = false;
    shell::Forget();
}

int UnreadCount() { return shell::Unread().load(); }

}  // namespace host
