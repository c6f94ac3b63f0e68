// The home screen's soft-key bar at the bottom, of the platform's menu-bar
// class "MS_SOFTKEY_CE_1.0". It is owned by the home screen, so it comes to
// the front with it; a program's own menu bar, owned by that program's
// window, covers it while the program is in front.
// The shell registers the class for its own module; programs' menu bars use
// the class their menu-bar library registered for theirs.
#include "ShellLayout.h"
#include "ShellWindows.h"

#include <shell_host.h>

namespace shell {

namespace {

const char16_t kLeftLabel[] = u"Start";
const char16_t kRightLabel[] = u"Contacts";

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HFONT font = MakeFont(13, true);
    COLORREF text = GetSysColor(COLOR_BTNTEXT);
    int pad = ScaleY(6);
    int half = client.right / 2;
    DrawLine(dc, kLeftLabel, RECT{pad, 0, half, client.bottom}, DT_LEFT | DT_VCENTER, text, font);
    DrawLine(dc, kRightLabel, RECT{half, 0, client.right - pad, client.bottom}, DT_RIGHT | DT_VCENTER, text, font);
    DeleteObject(font);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK SoftKeyBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

bool RegisterSoftKeyBarClass(HINSTANCE instance) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = SoftKeyBarProc;
    wc.hInstance = instance;
    wc.lpszClassName = u"MS_SOFTKEY_CE_1.0";
    return RegisterClassW(&wc) != 0;
}

}  // namespace shell

namespace host {

void ShellSoftKeyLabels(std::u16string* left, std::u16string* right) {
    if (left) *left = shell::kLeftLabel;
    if (right) *right = shell::kRightLabel;
}

}  // namespace host
