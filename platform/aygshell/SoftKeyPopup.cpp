// The menu a soft key opens: a small window over the key, its items
// numbered 1 to 9 in order, one of them selected. It never takes the
// focus; the bar drives it with the keys it holds while the menu is open.
#include "MenuBar.h"

#include <algorithm>

namespace menubar {

const WCHAR kPopupClass[] = u"MS_SOFTKEY_MENU";

namespace {

// The bar's state, handed to the menu it opens.
platform::HandedState<MenuBar> g_handedPopups;

struct Metrics {
    int itemHeight;
    int numberWidth;
    int padding;
};

Metrics MetricsOf(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SIZE digit{};
    GetTextExtentPoint32W(dc, u"8", 1, &digit);
    return Metrics{tm.tmHeight + Scale(6), digit.cx + Scale(10), Scale(6)};
}

bool IsSeparator(HMENU menu, int position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    return GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) && (info.fType & MFT_SEPARATOR);
}

void PaintPopup(HWND hwnd, MenuBar& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    FrameRect(dc, &client, GetSysColorBrush(COLOR_WINDOWFRAME));
    HGDIOBJ oldFont = SelectObject(dc, state.font ? state.font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    Metrics m = MetricsOf(dc);
    HMENU menu = state.levels.empty() ? nullptr : state.levels.back();
    int count = menu ? GetMenuItemCount(menu) : 0;
    int number = 0, y = 1;
    for (int i = 0; i < count; ++i) {
        if (IsSeparator(menu, i)) {
            RECT line{client.left + m.padding, y + Scale(2), client.right - m.padding, y + Scale(2) + 1};
            FillRect(dc, &line, GetSysColorBrush(COLOR_GRAYTEXT));
            y += Scale(5);
            continue;
        }
        ++number;
        RECT row{client.left + 1, y, client.right - 1, y + m.itemHeight};
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_STATE;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        bool selected = i == state.selected;
        if (selected) FillRect(dc, &row, GetSysColorBrush(COLOR_HIGHLIGHT));
        SetTextColor(dc, GetSysColor(selected                     ? COLOR_HIGHLIGHTTEXT
                                     : (info.fState & MFS_GRAYED) ? COLOR_GRAYTEXT
                                                                  : COLOR_MENUTEXT));
        if (number <= 9) {
            WCHAR digit[2] = {static_cast<WCHAR>(u'0' + number), 0};
            RECT numberBox{row.left + m.padding, row.top, row.left + m.padding + m.numberWidth, row.bottom};
            DrawTextW(dc, digit, 1, &numberBox, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        std::u16string label = ItemLabel(menu, i);
        RECT text{row.left + m.padding + m.numberWidth, row.top, row.right - m.padding, row.bottom};
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        y += m.itemHeight;
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

}  // namespace

std::vector<int> ChoosableItems(HMENU menu) {
    std::vector<int> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i)
        if (!IsSeparator(menu, i)) items.push_back(i);
    return items;
}

void LayoutPopup(MenuBar& state) {
    if (!state.popup || state.levels.empty()) return;
    HMENU menu = state.levels.back();
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ oldFont = SelectObject(dc, state.font ? state.font : GetStockObject(SYSTEM_FONT));
    Metrics m = MetricsOf(dc);
    int count = GetMenuItemCount(menu), width = Scale(80), height = 2;
    for (int i = 0; i < count; ++i) {
        if (IsSeparator(menu, i)) {
            height += Scale(5);
            continue;
        }
        std::u16string label = ItemLabel(menu, i);
        SIZE size{};
        GetTextExtentPoint32W(dc, label.c_str(), static_cast<int>(label.size()), &size);
        width = std::max(width, static_cast<int>(size.cx) + m.numberWidth + 2 * m.padding + 2);
        height += m.itemHeight;
    }
    SelectObject(dc, oldFont);
    DeleteDC(dc);
    RECT bar = BarRect();
    width = std::min(width, static_cast<int>(bar.right - bar.left));
    height = std::min(height, static_cast<int>(bar.top));
    int x = state.openKey == 1 ? bar.right - width : bar.left;
    SetWindowPos(state.popup, HWND_TOP, x, bar.top - height, width, height, SWP_NOACTIVATE);
    InvalidateRect(state.popup, nullptr, FALSE);
}

void OpenPopup(MenuBar& state, int key) {
    HMENU menu = state.keys[key].popup;
    std::vector<int> items = ChoosableItems(menu);
    state.levels.assign(1, menu);
    state.selected = items.empty() ? 0 : items.front();
    state.openKey = key;
    state.popup = CreateWindowExW(WS_EX_ABOVESTARTUP | WS_EX_NOACTIVATE, kPopupClass, nullptr, WS_POPUP, 0, 0, 1, 1,
                                  state.bar, nullptr, GetModuleHandleW(nullptr), g_handedPopups.Hand(&state));
    g_handedPopups.Withdraw(&state);
    if (!state.popup) {
        state.levels.clear();
        return;
    }
    LayoutPopup(state);
    ShowWindow(state.popup, SW_SHOWNA);
    PopupKeys(state.bar, true);
}

void ClosePopup(MenuBar& state) {
    PopupKeys(state.bar, false);
    HWND popup = state.popup;
    state.popup = nullptr;
    state.levels.clear();
    state.openKey = -1;
    if (popup && IsWindow(popup)) DestroyWindow(popup);
}

LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(g_handedPopups.Take(lParam)));
            return 0;
        case WM_PAINT: {
            auto* state = reinterpret_cast<MenuBar*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
            if (state && state->popup == hwnd)
                PaintPopup(hwnd, *state);
            else
                ValidateRect(hwnd, nullptr);
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace menubar
