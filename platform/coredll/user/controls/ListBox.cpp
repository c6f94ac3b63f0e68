// The LISTBOX class: a single-selection list of text entries with item data.
// LBS_SORT places each added entry in order and LB_ADDSTRING answers where;
// item data stays with its entry as others are inserted before it. Up and
// Down move the selection, and with LBS_NOTIFY the parent hears
// LBN_SELCHANGE for a change the user made (never for LB_SETCURSEL). The
// selection is kept in view: a list one entry high shows just the selected
// one, as the phone's spin box does.
#include "user/controls/Controls.h"
#include "user/controls/ItemList.h"

#include <algorithm>

using namespace controls;

namespace {

struct ListBoxState {
    ItemList items;
    int top = 0;
    bool focused = false;
    HFONT font = nullptr;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

int ItemHeight(HWND hwnd, const ListBoxState& state) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOr(state.font));
    int height = LineHeight(dc);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return height;
}

int VisibleRows(HWND hwnd, const ListBoxState& state) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return std::max(1, static_cast<int>(client.bottom - client.top) / std::max(1, ItemHeight(hwnd, state)));
}

void KeepInView(HWND hwnd, ListBoxState& state) {
    int rows = VisibleRows(hwnd, state);
    int selection = state.items.Selection();
    if (selection >= 0) {
        if (selection < state.top) state.top = selection;
        if (selection >= state.top + rows) state.top = selection - rows + 1;
    }
    state.top = std::clamp(state.top, 0, std::max(0, state.items.Count() - rows));
}

void Redraw(HWND hwnd, ListBoxState& state) {
    KeepInView(hwnd, state);
    if (!(StyleOf(hwnd) & LBS_NOREDRAW)) InvalidateRect(hwnd, nullptr, TRUE);
}

// A selection the user made: the parent hears of it.
void UserSelect(HWND hwnd, ListBoxState& state, int index) {
    if (index == state.items.Selection() || !state.items.Valid(index)) return;
    state.items.Select(index);
    Redraw(hwnd, state);
    if (StyleOf(hwnd) & LBS_NOTIFY) NotifyParent(hwnd, LBN_SELCHANGE);
}

bool OnKeyDown(HWND hwnd, ListBoxState& state, WPARAM vk) {
    int count = state.items.Count();
    if (count == 0) return vk == VK_UP || vk == VK_DOWN;
    int selection = state.items.Selection();
    int rows = VisibleRows(hwnd, state);
    switch (vk) {
        case VK_UP:
            UserSelect(hwnd, state, selection < 0 ? 0 : std::max(0, selection - 1));
            return true;
        case VK_DOWN:
            UserSelect(hwnd, state, selection < 0 ? 0 : std::min(count - 1, selection + 1));
            return true;
        case VK_PRIOR:
            UserSelect(hwnd, state, std::max(0, selection - rows));
            return true;
        case VK_NEXT:
            UserSelect(hwnd, state, std::min(count - 1, std::max(0, selection) + rows));
            return true;
        case VK_HOME:
            UserSelect(hwnd, state, 0);
            return true;
        case VK_END:
            UserSelect(hwnd, state, count - 1);
            return true;
        default:
            return false;
    }
}

void Paint(HWND hwnd, ListBoxState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    bool enabled = IsEnabled(hwnd);
    HBRUSH background = ControlColors(hwnd, WM_CTLCOLORLISTBOX, dc, COLOR_WINDOW, COLOR_WINDOWTEXT);
    FillRect(dc, &client, background);
    COLORREF text = enabled ? GetTextColor(dc) : GetSysColor(COLOR_GRAYTEXT);
    HGDIOBJ oldFont = SelectObject(dc, FontOr(state.font));
    SetBkMode(dc, TRANSPARENT);
    int height = LineHeight(dc);
    int rows = std::max(1, static_cast<int>(client.bottom - client.top) / std::max(1, height));
    // A list one entry high centres it in the field.
    int y = client.top + (rows == 1 ? std::max(0, static_cast<int>(client.bottom - client.top) - height) / 2 : 0);
    for (int i = state.top; i < state.items.Count() && y < client.bottom; ++i, y += height) {
        RECT row{client.left, y, client.right, y + height};
        bool selected = i == state.items.Selection();
        // The phone shows the selection in the highlight colours while the list has the focus.
        if (selected && state.focused && enabled) {
            FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, text);
        }
        RECT label{row.left + 2, row.top, row.right - 2, row.bottom};
        const std::u16string& entry = state.items.TextAt(i);
        DrawTextW(dc, entry.c_str(), static_cast<int>(entry.size()), &label,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    if (state.focused && enabled && state.items.Selection() < 0)
        FrameRect(dc, &client, GetSysColorBrush(COLOR_HIGHLIGHT));
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        MakeState<ListBoxState>(hwnd);
        return 0;
    }
    ListBoxState* state = StateOf<ListBoxState>(hwnd);
    if (!state) return DefWindowProcW(hwnd, msg, wParam, lParam);
    ItemList& items = state->items;
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
        case WM_NCDESTROY:
            FreeState<ListBoxState>(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case LB_ADDSTRING: {
            int at = items.Add(reinterpret_cast<LPCWSTR>(lParam), (StyleOf(hwnd) & LBS_SORT) != 0);
            Redraw(hwnd, *state);
            return at;
        }
        case LB_INSERTSTRING: {
            int at = items.Insert(index, reinterpret_cast<LPCWSTR>(lParam));
            if (at != LB_ERR) Redraw(hwnd, *state);
            return at;
        }
        case LB_DELETESTRING: {
            int left = items.Delete(index);
            if (left != LB_ERR) Redraw(hwnd, *state);
            return left;
        }
        case LB_RESETCONTENT:
            items.Clear();
            state->top = 0;
            Redraw(hwnd, *state);
            return 0;
        case LB_GETCOUNT:
            return items.Count();
        case LB_GETCURSEL:
            return items.Selection() < 0 ? LB_ERR : items.Selection();
        case LB_SETCURSEL: {
            int result = items.Select(index);
            Redraw(hwnd, *state);
            return result;
        }
        case LB_GETTEXT:
            return items.Text(index, reinterpret_cast<LPWSTR>(lParam));
        case LB_GETTEXTLEN:
            return items.TextLength(index);
        case LB_GETITEMDATA:
            return items.Data(index);
        case LB_SETITEMDATA:
            return items.SetData(index, lParam);
        case LB_FINDSTRING:
        case LB_FINDSTRINGEXACT:
            return items.Find(index, reinterpret_cast<LPCWSTR>(lParam), msg == LB_FINDSTRINGEXACT);
        case LB_GETTOPINDEX:
            return state->top;
        case LB_SETTOPINDEX:
            if (!items.Valid(index)) return LB_ERR;
            state->top = index;
            state->top = std::clamp(state->top, 0, std::max(0, items.Count() - VisibleRows(hwnd, *state)));
            InvalidateRect(hwnd, nullptr, TRUE);
            return LB_OKAY;
        case WM_KEYDOWN:
            if (OnKeyDown(hwnd, *state, wParam)) return 0;
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            state->focused = msg == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyParent(hwnd, msg == WM_SETFOCUS ? LBN_SETFOCUS : LBN_KILLFOCUS);
            return 0;
        case WM_SIZE:
            Redraw(hwnd, *state);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SETFONT:
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state->font);
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

namespace controls {

WNDCLASSW ListBoxClass() { return ControlClass(u"ListBox", ListBoxProc); }

}  // namespace controls
