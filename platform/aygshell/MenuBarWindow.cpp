// The menu bar window: its two labels over the soft keys, the keys that
// reach it, the SHCMBM_* messages, and its place after the screen turns.
#include "MenuBar.h"

#include <aygshell.h>
#include <aygshell_host.h>

namespace menubar {

MenuBar* BarOf(HWND bar) { return reinterpret_cast<MenuBar*>(GetWindowLongPtrW(bar, GWL_USERDATA)); }

platform::HandedState<MenuBar>& HandedBars() {
    static platform::HandedState<MenuBar> handed;
    return handed;
}

bool RegisterClasses() {
    static const bool registered = [] {
        WNDCLASSW bar{};
        bar.lpfnWndProc = BarProc;
        bar.hInstance = GetModuleHandleW(nullptr);
        bar.lpszClassName = kBarClass;
        WNDCLASSW popup = bar;
        popup.lpfnWndProc = PopupProc;
        popup.lpszClassName = kPopupClass;
        return (RegisterClassW(&bar) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS) &&
               (RegisterClassW(&popup) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
    }();
    return registered;
}

namespace {

HFONT LabelFont() {
    LOGFONTW logfont{};
    logfont.lfHeight = -Scale(12);
    logfont.lfWeight = FW_BOLD;
    const WCHAR face[] = u"Tahoma";
    for (size_t i = 0; i < ARRAYSIZE(face); ++i) logfont.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&logfont);
}

void Paint(MenuBar& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(state.bar, &ps);
    if (!dc) return;
    RECT client;
    GetClientRect(state.bar, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_MENU));
    // A rule along the top sets the bar off from the window over it.
    RECT rule{client.left, client.top, client.right, client.top + 1};
    FillRect(dc, &rule, GetSysColorBrush(COLOR_WINDOWFRAME));
    HGDIOBJ oldFont = SelectObject(dc, state.font ? state.font : GetStockObject(SYSTEM_FONT));
    SetBkMode(dc, TRANSPARENT);
    int inset = Scale(4), middle = (client.left + client.right) / 2;
    RECT halves[2] = {{client.left + inset, client.top, middle, client.bottom},
                      {middle, client.top, client.right - inset, client.bottom}};
    for (int i = 0; i < 2; ++i) {
        const SoftKey& key = state.keys[i];
        if (!key.present) continue;
        SetTextColor(dc, GetSysColor(key.grayed ? COLOR_GRAYTEXT : COLOR_MENUTEXT));
        DrawTextW(dc, key.label.c_str(), static_cast<int>(key.label.size()), &halves[i],
                  (i == 0 ? DT_LEFT : DT_RIGHT) | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, oldFont);
    EndPaint(state.bar, &ps);
}

// The labels of a bar and its open popup, as drawn.
void DescribeBar(const MenuBar& state, host::MenuBarView* view) {
    view->left = state.keys[0].present ? state.keys[0].label : std::u16string();
    view->right = state.keys[1].present ? state.keys[1].label : std::u16string();
    view->popupOpen = state.popup != nullptr && !state.levels.empty();
    view->popup.clear();
    if (view->popupOpen)
        for (int position : ChoosableItems(state.levels.back()))
            view->popup.push_back(ItemLabel(state.levels.back(), position));
}

int Slot(UINT vk) { return vk == VK_TSOFT1 ? 0 : vk == VK_TSOFT2 ? 1 : vk == VK_TBACK ? 2 : -1; }

}  // namespace

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    MenuBar* state = BarOf(hwnd);
    switch (msg) {
        case WM_CREATE: {
            MenuBar* created = HandedBars().Take(lParam);
            if (!created) return 0;  // a bar no SHCreateMenuBar made stays inert
            created->bar = hwnd;
            created->font = LabelFont();
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(created));
            return 0;
        }
        case WM_PAINT:
            if (state)
                Paint(*state);
            else
                ValidateRect(hwnd, nullptr);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // painting covers the bar
        case WM_HOTKEY:
            if (!state) return 0;
            if (wParam >= 100)
                HandlePopupKey(*state, HIWORD(lParam));
            else
                HandleSoftKey(*state, HIWORD(lParam));
            return 0;
        case WM_SOFTKEY:
            if (state) HandleSoftKey(*state, static_cast<UINT>(wParam));
            return 0;
        case WM_DESCRIBEBAR:
            if (!state) return 0;
            DescribeBar(*state, reinterpret_cast<host::MenuBarView*>(lParam));
            return 1;
        case WM_SHOWWINDOW:
            if (!state) return 0;  // an inert bar takes no keys
            if (wParam) {
                // The bar shown last is the one on the screen, and takes the keys.
                SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                TakeKeys(hwnd);
            } else {
                if (state->popup) ClosePopup(*state);
                ReleaseKeys(hwnd);
            }
            return 0;
        case WM_SETTINGCHANGE:
            if (wParam == SETTINGCHANGE_RESET) {
                RECT r = BarRect();
                SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
                if (state && state->popup) LayoutPopup(*state);
            }
            return 0;
        case SHCMBM_OVERRIDEKEY: {
            int slot = Slot(static_cast<UINT>(wParam));
            if (!state || slot < 0) return FALSE;
            UINT mask = LOWORD(lParam), value = HIWORD(lParam);
            state->overrides[slot] = (state->overrides[slot] & ~mask) | (value & mask);
            return TRUE;
        }
        case SHCMBM_GETMENU:
            return state ? reinterpret_cast<LRESULT>(state->menu) : 0;
        case SHCMBM_GETSUBMENU: {
            // lParam: the command id of a soft key, or its position.
            if (!state) return 0;
            for (const SoftKey& key : state->keys)
                if (key.present && key.popup && key.id == static_cast<UINT>(lParam))
                    return reinterpret_cast<LRESULT>(key.popup);
            if (lParam == 0 || lParam == 1) return reinterpret_cast<LRESULT>(state->keys[lParam].popup);
            return 0;
        }
        case WM_DESTROY:
            if (state) {
                if (state->popup) ClosePopup(*state);
                ReleaseKeys(hwnd);
                SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
                if (state->font) DeleteObject(state->font);
                state->font = nullptr;
                if (state->adopted) {
                    if (state->menu) DestroyMenu(state->menu);
                    delete state;
                }
            }
            return 0;
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

}  // namespace menubar
