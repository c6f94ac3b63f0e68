// The home screen, "DesktopExplorerWindow": the date, the time and the
// number of unread text messages.
#include "ShellLayout.h"
#include "ShellWindows.h"

namespace shell {

namespace {

const WCHAR* const kDays[] = {u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
const WCHAR* const kMonths[] = {u"January", u"February", u"March",     u"April",   u"May",      u"June",
                                u"July",    u"August",   u"September", u"October", u"November", u"December"};

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));

    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR time[16], date[64], unread[64];
    wsprintfW(time, u"%02d:%02d", now.wHour, now.wMinute);
    wsprintfW(date, u"%s, %d %s", kDays[now.wDayOfWeek % 7], now.wDay, kMonths[(now.wMonth + 11) % 12]);
    int count = Unread().load();
    if (count <= 0)
        wcscpy(unread, u"No unread messages");
    else if (count == 1)
        wcscpy(unread, u"1 unread message");
    else
        wsprintfW(unread, u"%d unread messages", count);

    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    HFONT big = MakeFont(32, true), small = MakeFont(13, false);
    int y = ScaleY(12);
    DrawLine(dc, time, RECT{0, y, client.right, y + ScaleY(40)}, DT_CENTER | DT_VCENTER, text, big);
    y += ScaleY(44);
    DrawLine(dc, date, RECT{0, y, client.right, y + ScaleY(18)}, DT_CENTER | DT_VCENTER, text, small);
    y += ScaleY(30);
    DrawLine(dc, unread, RECT{ScaleY(8), y, client.right - ScaleY(8), y + ScaleY(18)}, DT_LEFT | DT_VCENTER, text,
             small);
    DeleteObject(big);
    DeleteObject(small);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK HomeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            TimerForNextMinute(hwnd);
            WatchUnread(hwnd);
            Unread() = ReadUnread();
            return 0;
        case WM_HOME_UNREAD: {
            const int unread = ReadUnread();
            if (Unread().exchange(unread) != unread) InvalidateRect(hwnd, nullptr, FALSE);
            UnreadShown();
            return 0;
        }
        case WM_TIMER:
            InvalidateRect(hwnd, nullptr, FALSE);
            TimerForNextMinute(hwnd);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the paint covers the window
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd, 1);
            StopWatchingUnread();
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterHomeClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HomeProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"DesktopExplorerWindow";
    return RegisterClassW(&wc) != 0;
}

}  // namespace shell
