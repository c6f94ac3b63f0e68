// The status bar at the top of the screen, "Tray": the time on the right.
#include "ShellLayout.h"
#include "ShellWindows.h"

namespace shell {

namespace {

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR time[16];
    wsprintfW(time, u"%02d:%02d", now.wHour, now.wMinute);
    HFONT font = MakeFont(13, true);
    RECT r{client.left, client.top, client.right - ScaleY(6), client.bottom};
    DrawLine(dc, time, r, DT_RIGHT | DT_VCENTER, GetSysColor(COLOR_CAPTIONTEXT), font);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK StatusBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            TimerForNextMinute(hwnd);
            return 0;
        case WM_TIMER:
            InvalidateRect(hwnd, nullptr, FALSE);
            TimerForNextMinute(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, 1);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterStatusBarClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = StatusBarProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"Tray";
    return RegisterClassW(&wc) != 0;
}

}  // namespace shell
