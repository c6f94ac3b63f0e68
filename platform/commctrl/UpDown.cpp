// The up-down control "msctls_updown32": a pair of arrows beside its buddy
// window. UDS_AUTOBUDDY takes the window before it in z-order as the buddy;
// UDS_ALIGNRIGHT (UDS_ALIGNLEFT) puts the control inside the buddy's right
// (left) edge and narrows the buddy by its width. With a list box as buddy
// it is the phone's spin box: the list shows one entry and the arrows step
// through the entries.
#include "UpDown.h"

#include <LinesOnScreen.h>

#include <algorithm>

namespace updown {

namespace {

struct UpDownState {
    HWND buddy = nullptr;
    int lower = 100;  // the control's documented default range, upside down
    int upper = 0;
    int pos = 0;
};

UpDownState* StateOf(HWND hwnd) { return reinterpret_cast<UpDownState*>(GetWindowLongPtrW(hwnd, 0)); }

RECT RectInParent(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Puts the control at the buddy's edge, once: a buddy already narrowed for
// it (the control sits flush against it) is left as it is.
void Align(HWND hwnd, HWND buddy) {
    DWORD style = StyleOf(hwnd);
    if (!(style & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) || GetParent(buddy) != GetParent(hwnd)) return;
    RECT b = RectInParent(buddy);
    RECT self = RectInParent(hwnd);
    int width = self.right - self.left;
    int height = b.bottom - b.top;
    bool right = (style & UDS_ALIGNRIGHT) != 0;
    bool aligned = self.top == b.top && self.bottom == b.bottom &&
                   (right ? self.left == b.right : self.right == b.left);
    if (aligned) return;
    width = std::min<int>(width, b.right - b.left);
    if (right) {
        SetWindowPos(buddy, nullptr, b.left, b.top, b.right - b.left - width, height, SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, b.right - width, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        SetWindowPos(buddy, nullptr, b.left + width, b.top, b.right - b.left - width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SetWindowPos(hwnd, nullptr, b.left, b.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND SetBuddy(HWND hwnd, UpDownState& state, HWND buddy) {
    HWND old = state.buddy;
    if (old && old != buddy) DetachBuddy(old);
    state.buddy = IsWindow(buddy) ? buddy : nullptr;
    if (state.buddy) {
        AttachBuddy(hwnd, state.buddy);
        Align(hwnd, state.buddy);
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    return old;
}

// A filled triangle pointing the way given, drawn line by line, the lines on
// the screen only.
void Arrow(HWND hwnd, HDC dc, const RECT& r, int dx, int dy, HBRUSH ink) {
    int w = r.right - r.left, h = r.bottom - r.top;
    int size = std::max(2, std::min(w, h) / 3);
    int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    // The lines run across the arrow's axis; line k lies at base + step * k
    // along it, the tip's line first.
    const bool across = dx != 0;
    const int centre = across ? cx : cy;
    const int step = (across ? dx : dy) < 0 ? 1 : -1;
    const long long base = step > 0 ? centre - size / 2 : centre + size / 2;
    const platform::LineRange lines = platform::LinesOnScreen(hwnd, across, base, step, size);
    for (int k = lines.first; k <= lines.last; ++k) {
        const int at = static_cast<int>(base + static_cast<long long>(step) * k);
        RECT line = across ? RECT{at, cy - k, at + 1, cy + k + 1} : RECT{cx - k, at, cx + k + 1, at + 1};
        FillRect(dc, &line, ink);
    }
}

void Paint(HWND hwnd, UpDownState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    DWORD style = StyleOf(hwnd);
    if (!(style & UDS_NOSCROLL)) {
        bool enabled = IsWindowEnabled(hwnd) && (!state.buddy || IsWindowEnabled(state.buddy));
        HBRUSH ink = GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
        RECT first = client, second = client;
        if (style & UDS_HORZ) {
            first.right = second.left = (client.left + client.right) / 2;
            Arrow(hwnd, dc, first, -1, 0, ink);
            Arrow(hwnd, dc, second, 1, 0, ink);
        } else {
            first.bottom = second.top = (client.top + client.bottom) / 2;
            Arrow(hwnd, dc, first, 0, -1, ink);
            Arrow(hwnd, dc, second, 0, 1, ink);
        }
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK UpDownProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        auto* state = new UpDownState();
        SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
        if (StyleOf(hwnd) & UDS_AUTOBUDDY) SetBuddy(hwnd, *state, GetWindow(hwnd, GW_HWNDPREV));
        return 0;
    }
    UpDownState* state = StateOf(hwnd);
    if (!state) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_NCDESTROY:
            if (state->buddy) DetachBuddy(state->buddy);
            delete state;
            SetWindowLongPtrW(hwnd, 0, 0);
            return 0;
        case UDM_SETBUDDY:
            return reinterpret_cast<LRESULT>(SetBuddy(hwnd, *state, reinterpret_cast<HWND>(wParam)));
        case UDM_GETBUDDY:
            return reinterpret_cast<LRESULT>(state->buddy);
        case UDM_SETRANGE:
            state->upper = static_cast<short>(LOWORD(lParam));
            state->lower = static_cast<short>(HIWORD(lParam));
            return 0;
        case UDM_GETRANGE:
            return MAKELONG(static_cast<WORD>(state->upper), static_cast<WORD>(state->lower));
        case UDM_SETRANGE32:
            state->lower = static_cast<int>(wParam);
            state->upper = static_cast<int>(lParam);
            return 0;
        case UDM_GETRANGE32:
            if (auto* lower = reinterpret_cast<int*>(wParam)) *lower = state->lower;
            if (auto* upper = reinterpret_cast<int*>(lParam)) *upper = state->upper;
            return 0;
        case UDM_SETPOS: {
            int old = state->pos;
            state->pos = std::clamp(static_cast<int>(static_cast<short>(LOWORD(lParam))),
                                    std::min(state->lower, state->upper), std::max(state->lower, state->upper));
            return old;
        }
        case UDM_GETPOS:
            return state->pos;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd, *state);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int AdvancePos(HWND updown, int delta) {
    UpDownState* state = StateOf(updown);
    if (!state) return 0;
    if (state->lower != state->upper) {
        // The range may run downwards; a step up goes towards upper.
        if (state->upper < state->lower) delta = -delta;
        int lo = std::min(state->lower, state->upper), hi = std::max(state->lower, state->upper);
        int next = state->pos + delta;
        if (next < lo || next > hi)
            next = (StyleOf(updown) & UDS_WRAP) ? (next < lo ? hi : lo) : std::clamp(next, lo, hi);
        state->pos = next;
    }
    return state->pos;
}

DWORD StyleOf(HWND updown) { return static_cast<DWORD>(GetWindowLongW(updown, GWL_STYLE)); }

bool RegisterClasses() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = UpDownProc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = UPDOWN_CLASSW;
    // The classes stay registered for the process; asking again is no fault.
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    return RegisterExpandedClasses();
}

}  // namespace updown
