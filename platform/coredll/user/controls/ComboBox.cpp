// The COMBOBOX class, as the phone has it: a drop-down list shown as its
// selected entry with an arrow. CB_ADDSTRING (sorted with CBS_SORT),
// CB_GETCURSEL and CB_SETCURSEL and the entry messages work as a list box's;
// Up and Down step the selection and the parent hears CBN_SELCHANGE.
#include "user/controls/Controls.h"
#include "user/controls/ItemList.h"

#include <LinesOnScreen.h>

#include <algorithm>

using namespace controls;

namespace {

struct ComboBoxState {
    ItemList items;
    bool focused = false;
    HFONT font = nullptr;
};

void UserSelect(HWND hwnd, ComboBoxState& state, int index) {
    if (index == state.items.Selection() || !state.items.Valid(index)) return;
    state.items.Select(index);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, CBN_SELCHANGE);
}

void Paint(HWND hwnd, ComboBoxState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    bool enabled = IsEnabled(hwnd);
    HBRUSH background = ControlColors(hwnd, WM_CTLCOLOREDIT, dc, COLOR_WINDOW, COLOR_WINDOWTEXT);
    FillRect(dc, &client, background);
    FrameRect(dc, &client, GetSysColorBrush(state.focused && enabled ? COLOR_HIGHLIGHT : COLOR_WINDOWFRAME));
    int side = std::max(0, static_cast<int>(client.bottom - client.top));
    RECT arrow{client.right - side, client.top, client.right, client.bottom};
    // The drop-down arrow: a small triangle drawn row by row, the rows on
    // the screen only.
    int cx = (arrow.left + arrow.right) / 2, cy = (arrow.top + arrow.bottom) / 2 - side / 8;
    HBRUSH ink = GetSysColorBrush(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    const platform::LineRange lines = platform::LinesOnScreen(hwnd, false, cy, 1, side / 4 + 1);
    for (int k = lines.first; k <= lines.last; ++k) {
        RECT line{cx - side / 4 + k, cy + k, cx + side / 4 - k + 1, cy + k + 1};
        FillRect(dc, &line, ink);
    }
    int selection = state.items.Selection();
    if (selection >= 0) {
        HGDIOBJ oldFont = SelectObject(dc, FontOr(state.font));
        SetBkMode(dc, TRANSPARENT);
        if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        RECT label{client.left + 2, client.top, arrow.left, client.bottom};
        const std::u16string& entry = state.items.TextAt(selection);
        DrawTextW(dc, entry.c_str(), static_cast<int>(entry.size()), &label,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        MakeState<ComboBoxState>(hwnd);
        return 0;
    }
    ComboBoxState* state = StateOf<ComboBoxState>(hwnd);
    if (!state) return DefWindowProcW(hwnd, msg, wParam, lParam);
    ItemList& items = state->items;
    int index = static_cast<int>(static_cast<INT_PTR>(wParam));
    switch (msg) {
        case WM_NCDESTROY:
            FreeState<ComboBoxState>(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS | DLGC_WANTCHARS;
        case CB_ADDSTRING: {
            DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
            int at = items.Add(reinterpret_cast<LPCWSTR>(lParam), (style & CBS_SORT) != 0);
            InvalidateRect(hwnd, nullptr, TRUE);
            return at;
        }
        case CB_RESETCONTENT:
            items.Clear();
            InvalidateRect(hwnd, nullptr, TRUE);
            return CB_OKAY;
        case CB_GETCOUNT:
            return items.Count();
        case CB_GETCURSEL:
            return items.Selection() < 0 ? CB_ERR : items.Selection();
        case CB_SETCURSEL: {
            int result = items.Select(index);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case CB_GETLBTEXT:
            return items.Text(index, reinterpret_cast<LPWSTR>(lParam));
        case CB_GETLBTEXTLEN:
            return items.TextLength(index);
        case CB_GETITEMDATA:
            return items.Data(index);
        case CB_SETITEMDATA:
            return items.SetData(index, lParam);
        case WM_KEYDOWN:
            if (wParam == VK_UP || wParam == VK_DOWN) {
                int selection = items.Selection();
                int next = wParam == VK_UP ? std::max(0, selection - 1) : std::min(items.Count() - 1, selection + 1);
                UserSelect(hwnd, *state, next);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            state->focused = msg == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
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

WNDCLASSW ComboBoxClass() { return ControlClass(u"ComboBox", ComboBoxProc); }

}  // namespace controls
