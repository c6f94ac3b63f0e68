// A dialog taller than its window (WS_VSCROLL) scrolls by moving its
// controls up, so that the focus control is always in view, and shows its
// scroll bar along its right edge, outside the client area: the controls
// are clipped at the bar and never paint over it.
#include "user/Dialog.h"
#include "user/WindowSystem.h"

#include <algorithm>
#include <vector>

namespace dialog {

namespace {

bool Scrolls(HWND dlg) { return (GetWindowLongW(dlg, GWL_STYLE) & WS_VSCROLL) != 0; }

int ClientHeight(HWND dlg) {
    RECT client{};
    GetClientRect(dlg, &client);
    return client.bottom;
}

RECT RectInDialog(HWND dlg, HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Margin(const State& state) { return std::max(1, state.unitY / 2); }

// How tall the controls stand, unscrolled, with a margin below the last.
int ContentHeight(HWND dlg, const State& state) {
    int bottom = 0;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        // Its own style: a dialog not shown yet still has the height of its controls.
        if (!(GetWindowLongW(c, GWL_STYLE) & WS_VISIBLE)) continue;
        bottom = std::max(bottom, static_cast<int>(RectInDialog(dlg, c).bottom) + state.scroll);
    }
    return bottom + Margin(state);
}

// The bar is shown while the controls stand taller than the window. The
// client area it takes or gives back comes as WM_SIZE, after the one that
// caused it.
void UpdateScrollBar(HWND dlg, const State& state) {
    bool shown = Scrolls(dlg) && ContentHeight(dlg, state) > ClientHeight(dlg);
    user::SetVerticalScrollBar(dlg, shown ? GetSystemMetrics(SM_CXVSCROLL) : 0);
}

}  // namespace

void ScrollTo(HWND dlg, int position) {
    std::shared_ptr<State> state = StateOf(dlg);
    if (!state || !Scrolls(dlg)) return;
    int limit = std::max(0, ContentHeight(dlg, *state) - ClientHeight(dlg));
    // Going back to the top is always allowed: the controls' places may
    // have been changed under the scrolled view.
    position = position <= 0 ? 0 : std::min(position, limit);
    int delta = position - state->scroll;
    if (!delta) return;
    std::vector<HWND> controls;
    for (HWND c = GetWindow(dlg, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) controls.push_back(c);
    HDWP defer = BeginDeferWindowPos(static_cast<int>(controls.size()));
    for (HWND c : controls) {
        RECT r = RectInDialog(dlg, c);
        if (defer)
            defer = DeferWindowPos(defer, c, nullptr, r.left, r.top - delta, 0, 0,
                                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (defer) EndDeferWindowPos(defer);
    state->scroll = position;
    InvalidateRect(dlg, nullptr, TRUE);
}

void ScrollIntoView(HWND dlg, HWND control) {
    std::shared_ptr<State> state = StateOf(dlg);
    if (!state) return;
    UpdateScrollBar(dlg, *state);
    if (!control || !Scrolls(dlg)) return;
    RECT r = RectInDialog(dlg, control);
    int height = ClientHeight(dlg), margin = Margin(*state);
    if (r.top < 0)
        ScrollTo(dlg, state->scroll + r.top - margin);
    else if (r.bottom > height)
        ScrollTo(dlg, state->scroll + (r.bottom - height) + margin);
}

void PaintScrollBar(HWND dlg) {
    std::shared_ptr<State> state = StateOf(dlg);
    if (!state || !Scrolls(dlg)) return;
    RECT track = user::VerticalScrollBarRect(dlg);
    int height = track.bottom - track.top, content = ContentHeight(dlg, *state), width = track.right - track.left;
    if (height <= 0 || width <= 0 || content <= ClientHeight(dlg)) return;
    HDC dc = GetWindowDC(dlg);
    if (!dc) return;
    FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
    int thumbHeight = std::max(width, static_cast<int>(static_cast<long long>(height) * height / content));
    int travel = height - thumbHeight;
    int limit = content - height;
    int top = track.top + (limit > 0 ? static_cast<int>(static_cast<long long>(travel) * state->scroll / limit) : 0);
    RECT thumb{track.left + 1, top, track.right - 1, top + thumbHeight};
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNSHADOW));
    ReleaseDC(dlg, dc);
}

}  // namespace dialog
