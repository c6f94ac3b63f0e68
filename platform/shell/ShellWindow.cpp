// The shell window, "MSCProg": hidden, it holds the End key (key-up, id 0)
// and the Home key (MOD_WIN, VK_LWIN) and brings the home screen to the
// front for them. Home brings it up even while another window has taken the
// Home hotkey (that window hears the key too, and raises itself over the
// home screen); End reaches the shell only through its hotkey. The window
// also lays the shell's windows out and closes them.
#include "ShellLayout.h"
#include "ShellWindows.h"

namespace shell {

namespace {

void BringHomeToFront() {
    HWND home = Current().home;
    if (!home) return;
    if (!IsWindowVisible(home)) ShowWindow(home, SW_SHOWNA);
    SetForegroundWindow(home);
}

LRESULT CALLBACK ShellProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_HOTKEY:
            // End acts on its release, as the phone does; Home on its press.
            if (static_cast<int>(wParam) == kEndHotKey && HIWORD(lParam) == VK_F4) {
                if (LOWORD(lParam) & MOD_KEYUP) BringHomeToFront();
                return 0;
            }
            if (static_cast<int>(wParam) == kHomeHotKey && HIWORD(lParam) == VK_LWIN) {
                BringHomeToFront();
                return 0;
            }
            return 0;
        case WM_SHELL_HOME:
            BringHomeToFront();
            return 0;
        case WM_SHELL_LAYOUT:
            ApplyLayout();
            return 0;
        case WM_CLOSE:
            for (HWND w : {Current().softKeys.load(), Current().home.load(), Current().statusBar.load()})
                if (w) DestroyWindow(w);
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterShellWindowClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ShellProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"MSCProg";
    return RegisterClassW(&wc) != 0;
}

void ApplyLayout() {
    Layout l = CurrentLayout();
    auto place = [](HWND w, const RECT& r) {
        if (w)
            SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    };
    place(Current().statusBar, l.statusBar);
    place(Current().home, l.home);
    place(Current().softKeys, l.softKeys);
    RECT work{0, l.statusBar.bottom, l.home.right, l.softKeys.bottom};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &work, 0);
}

}  // namespace shell
