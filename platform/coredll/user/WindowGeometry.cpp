// Where windows are: window and client rectangles, and mapping points
// between windows and the screen.
#include "user/WindowSystem.h"

namespace user {

RECT ClientAreaLocked(const Window& w) {
    RECT r{0, 0, w.rect.right - w.rect.left, w.rect.bottom - w.rect.top};
    // A Smartphone window has no caption bar: a border is its only frame.
    if (w.style & (WS_BORDER | WS_DLGFRAME)) {
        r.left += 1;
        r.top += 1;
        r.right = std::max(r.left, r.right - 1);
        r.bottom = std::max(r.top, r.bottom - 1);
    }
    r.right = std::max(r.left, r.right - w.verticalScrollBar);
    return r;
}

void SetVerticalScrollBar(HWND hwnd, int width) {
    RECT client{};
    {
        Guard lock(Lock());
        Window* w = GetLocked(hwnd);
        width = std::max(0, width);
        if (!w || w->destroying || w->verticalScrollBar == width) return;
        w->verticalScrollBar = width;
        client = ClientAreaLocked(*w);
        InvalidateLocked(*w, nullptr, true);
    }
    ScreenChanged();
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

RECT VerticalScrollBarRect(HWND hwnd) {
    Guard lock(Lock());
    Window* w = GetLocked(hwnd);
    if (!w || w->verticalScrollBar <= 0) return RECT{};
    RECT c = ClientAreaLocked(*w);
    return RECT{c.right, c.top, c.right + w->verticalScrollBar, c.bottom};
}

RECT ScreenRectLocked(const Window& w) {
    RECT r = w.rect;
    if (Window* parent = GetLocked(w.parent); parent && !IsDesktopLocked(parent->handle)) {
        POINT o = ClientOriginLocked(*parent);
        r.left += o.x;
        r.right += o.x;
        r.top += o.y;
        r.bottom += o.y;
    }
    return r;
}

POINT ClientOriginLocked(const Window& w) {
    RECT screen = ScreenRectLocked(w);
    RECT client = ClientAreaLocked(w);
    return POINT{screen.left + client.left, screen.top + client.top};
}

}  // namespace user

using namespace user;

extern "C" BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w || !lpRect) return FALSE;
    *lpRect = ScreenRectLocked(*w);
    return TRUE;
}

extern "C" BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w || !lpRect) return FALSE;
    RECT c = ClientAreaLocked(*w);
    *lpRect = RECT{0, 0, c.right - c.left, c.bottom - c.top};
    return TRUE;
}

extern "C" BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w || !lpPoint) return FALSE;
    POINT o = ClientOriginLocked(*w);
    lpPoint->x += o.x;
    lpPoint->y += o.y;
    return TRUE;
}

extern "C" BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w || !lpPoint) return FALSE;
    POINT o = ClientOriginLocked(*w);
    lpPoint->x -= o.x;
    lpPoint->y -= o.y;
    return TRUE;
}

extern "C" int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints) {
    Guard lock(Lock());
    POINT from{0, 0}, to{0, 0};
    if (hWndFrom) {
        Window* w = CheckWindowLocked(hWndFrom);
        if (!w) return 0;
        from = ClientOriginLocked(*w);
    }
    if (hWndTo) {
        Window* w = CheckWindowLocked(hWndTo);
        if (!w) return 0;
        to = ClientOriginLocked(*w);
    }
    LONG dx = from.x - to.x, dy = from.y - to.y;
    for (UINT i = 0; lpPoints && i < cPoints; ++i) {
        lpPoints[i].x += dx;
        lpPoints[i].y += dy;
    }
    SetLastError(ERROR_SUCCESS);
    return MAKELONG(static_cast<WORD>(dx), static_cast<WORD>(dy));
}
