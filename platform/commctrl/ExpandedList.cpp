// The whole list of a spin box, full screen: its entries one a line with the
// current one highlighted. Up and Down move, Action chooses (the list box
// takes the choice and its parent hears LBN_SELCHANGE when it changed),
// Back leaves without a choice. The list box gets the focus back.
#include "UpDown.h"

#include <HandedState.h>

#include <algorithm>
#include <string>
#include <vector>

namespace updown {

namespace {

const WCHAR kListClass[] = u"msctls_updown32_list";

struct ExpandedState {
    HWND list = nullptr;
    std::vector<std::u16string> entries;
    int current = 0;
    int top = 0;
    HFONT font = nullptr;
};

platform::HandedState<ExpandedState> g_handed;

void Close(HWND hwnd, ExpandedState& state, bool choose) {
    HWND list = state.list;
    int chosen = state.current;
    DestroyWindow(hwnd);
    if (!IsWindow(list)) return;
    HWND top = GetParent(list);
    while (top && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
    if (top) SetForegroundWindow(top);
    SetFocus(list);
    if (!choose || chosen == static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0))) return;
    SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
    if (GetWindowLongW(list, GWL_STYLE) & LBS_NOTIFY)
        SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
}

void Paint(HWND hwnd, ExpandedState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    HGDIOBJ oldFont = SelectObject(dc, state.font ? state.font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    int height = std::max<int>(tm.tmHeight + 4, 1);
    int rows = std::max(1, static_cast<int>(client.bottom - client.top) / height);
    if (state.current < state.top) state.top = state.current;
    if (state.current >= state.top + rows) state.top = state.current - rows + 1;
    int y = client.top;
    for (int i = state.top; i < static_cast<int>(state.entries.size()) && y < client.bottom; ++i, y += height) {
        RECT row{client.left, y, client.right, y + height};
        bool current = i == state.current;
        if (current) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(current ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
        RECT label{row.left + 4, row.top, row.right - 4, row.bottom};
        const std::u16string& entry = state.entries[static_cast<size_t>(i)];
        DrawTextW(dc, entry.c_str(), static_cast<int>(entry.size()), &label,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ExpandedListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<ExpandedState*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    switch (msg) {
        case WM_CREATE:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(g_handed.Take(lParam)));
            return 0;
        case WM_NCDESTROY:
            delete state;
            SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
            return 0;
        case WM_KEYDOWN:
            if (!state) break;
            switch (wParam) {
                case VK_UP:
                    if (state->current > 0) --state->current;
                    InvalidateRect(hwnd, nullptr, TRUE);
                    return 0;
                case VK_DOWN:
                    if (state->current + 1 < static_cast<int>(state->entries.size())) ++state->current;
                    InvalidateRect(hwnd, nullptr, TRUE);
                    return 0;
                case VK_RETURN:
                    Close(hwnd, *state, true);
                    return 0;
                case VK_ESCAPE:
                    Close(hwnd, *state, false);
                    return 0;
                default:
                    break;
            }
            break;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (state) {
                Paint(hwnd, *state);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

// The screen below the status bar, as full-screen windows of the phone use it.
RECT FullScreenArea() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

void OpenExpandedList(HWND list) {
    auto* state = new ExpandedState();
    state->list = list;
    int count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (count <= 0) {
        delete state;
        return;
    }
    for (int i = 0; i < count; ++i) {
        int length = static_cast<int>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0));
        std::u16string text(static_cast<size_t>(std::max(length, 0)) + 1, u'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<size_t>(std::max(length, 0)));
        state->entries.push_back(text);
    }
    state->current = std::max(0, static_cast<int>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
    state->font = reinterpret_cast<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0));
    RECT area = FullScreenArea();
    HWND window = CreateWindowExW(0, kListClass, nullptr, WS_POPUP | WS_VISIBLE, area.left, area.top,
                                  area.right - area.left, area.bottom - area.top, GetParent(list), nullptr,
                                  GetModuleHandleW(nullptr), g_handed.Hand(state));
    if (g_handed.Withdraw(state)) delete state;
    if (!window) return;
    SetForegroundWindow(window);
    SetFocus(window);
}

bool RegisterExpandedClasses() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ExpandedListProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kListClass;
    if (!RegisterClassW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    return RegisterTextEntryClass();
}

}  // namespace updown
