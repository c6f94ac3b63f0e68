// A dialog taller than its window (WS_VSCROLL) scrolls by moving its
// controls up, so that the focus control is always in view, and draws its
// scroll bar along its right edge.
#include "user/Dialog.h"

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
        if (!IsWindowVisible(c)) continue;
        bottom = std::max(bottom, static_cast<int>(RectInDialog(dlg, c).bottom) + state.scroll);
    }
    return bottom + Margin(state);
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
    if (!state || !control || !Scrolls(dlg)) return;
    RECT r = RectInDialog(dlg, control);
    int height = ClientHeight(dlg), margin = Margin(*state);
    if (r.top < 0)
        ScrollTo(dlg, state->scroll + r.top - margin);
    else if (r.bottom > height)
        ScrollTo(dlg, state->scroll + (r.bottom - height) + margin);
}

void PaintScrollBar(HWND dlg, HDC dc) {
    std::shared_ptr<State> state = StateOf(dlg);
    if (!state || !Scrolls(dlg)) return;
    RECT client{};
    GetClientRect(dlg, &client);
    int height = client.bottom, content = ContentHeight(dlg, *state);
    if (height <= 0 || content <= height) return;
    int width = GetSystemMetrics(SM_CXVSCROLL);
    RECT track{client.right - width, 0, client.right, height};
    FillRect(dc, &track, GetSysColorBrush(COLOR_SCROLLBAR));
    int thumbHeight = std::max(width, static_cast<int>(static_cast<long long>(height) * height / content));
    int travel = height - thumbHeight;
    int limit = content - height;
    int top = limit > 0 ? static_cast<int>(static_cast<long long>(travel) * state->scroll / limit) : 0;
    RECT thumb{track.left + 1, top, track.right - 1, top + thumbHeight};
    FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNSHADOW));
}

}  // namespace dialog
