// The default handling of window messages.
#include "user/WindowSystem.h"

using namespace user;

namespace {

LRESULT SetText(HWND hwnd, LPCWSTR text) {
    Guard lock(Lock());
    Window* w = GetLocked(hwnd);
    if (!w) return FALSE;
    w->text = text ? text : u"";
    return TRUE;
}

LRESULT GetText(HWND hwnd, WPARAM size, LPWSTR buffer) {
    Guard lock(Lock());
    Window* w = GetLocked(hwnd);
    if (!w || !buffer || size == 0) return 0;
    size_t n = std::min(w->text.size(), static_cast<size_t>(size - 1));
    w->text.copy(buffer, n);
    buffer[n] = 0;
    return static_cast<LRESULT>(n);
}

LRESULT EraseBackground(HWND hwnd, HDC dc) {
    HBRUSH brush = nullptr;
    {
        Guard lock(Lock());
        Window* w = GetLocked(hwnd);
        if (!w) return 0;
        brush = w->cls->wc.hbrBackground;
    }
    if (!brush) return 0;
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, brush);
    return 1;
}

}  // namespace

extern "C" LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    switch (Msg) {
        case WM_CLOSE:
            DestroyWindow(hWnd);
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            if (BeginPaint(hWnd, &ps)) EndPaint(hWnd, &ps);
            return 0;
        }
        case WM_ERASEBKGND:
            return EraseBackground(hWnd, reinterpret_cast<HDC>(wParam));
        case WM_SETTEXT:
            return SetText(hWnd, reinterpret_cast<LPCWSTR>(lParam));
        case WM_GETTEXT:
            return GetText(hWnd, wParam, reinterpret_cast<LPWSTR>(lParam));
        case WM_GETTEXTLENGTH: {
            Guard lock(Lock());
            Window* w = GetLocked(hWnd);
            return w ? static_cast<LRESULT>(w->text.size()) : 0;
        }
        case WM_WINDOWPOSCHANGED: {
            const auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (!wp) return 0;
            RECT client{};
            POINT origin{};
            {
                Guard lock(Lock());
                Window* w = GetLocked(hWnd);
                if (!w) return 0;
                RECT area = ClientAreaLocked(*w);
                client = RECT{0, 0, area.right - area.left, area.bottom - area.top};
                origin = POINT{w->rect.left + area.left, w->rect.top + area.top};
            }
            if (!(wp->flags & SWP_NOMOVE)) SendMessageW(hWnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
            if (!(wp->flags & SWP_NOSIZE))
                SendMessageW(hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
            return 0;
        }
        case WM_ACTIVATE:
            // An activated window takes the focus, unless one of its children has it.
            if (LOWORD(wParam) != WA_INACTIVE) {
                HWND focus = GetFocus();
                if (!focus || !IsChild(hWnd, focus)) SetFocus(hWnd);
            }
            return 0;
        case WM_NCCREATE:
            return TRUE;
        case WM_MOUSEACTIVATE:
            return 1;  // MA_ACTIVATE
        default:
            return 0;
    }
}
