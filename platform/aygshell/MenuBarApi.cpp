// SHCreateMenuBar and SHFindMenuBar, and what the bar's pieces share: the
// bar's place at the bottom of the screen and its soft keys' labels.
#include "MenuBar.h"

#include <aygshell.h>
#include <coredll_host.h>
#include <screen_host.h>

#include <memory>

namespace menubar {

const WCHAR kBarClass[] = u"MS_SOFTKEY_CE_1.0";

int Scale(int value) {
    int dpi = host::GetScreenProfile().dpi;
    return (value * (dpi > 0 ? dpi : 96) + 48) / 96;
}

int BarHeight() { return Scale(26); }

RECT BarRect() {
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    return RECT{0, height - BarHeight(), width, height};
}

std::u16string ItemLabel(HMENU menu, int position) {
    WCHAR text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = ARRAYSIZE(text);
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) return {};
    std::u16string label;
    for (UINT i = 0; i < info.cch; ++i) {
        // "&x" marks a mnemonic, which the soft keys do not show; "&&" is "&".
        if (text[i] == u'&' && i + 1 < info.cch) ++i;
        label += text[i];
    }
    return label;
}

bool IsBar(HWND hwnd) {
    WCHAR name[32];
    return hwnd && GetClassNameW(hwnd, name, ARRAYSIZE(name)) > 0 && _wcsicmp(name, kBarClass) == 0;
}

namespace {

SoftKey KeyOf(HMENU menu, int position) {
    SoftKey key;
    if (!menu || position >= GetMenuItemCount(menu)) return key;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE | MIIM_TYPE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info) || (info.fType & MFT_SEPARATOR)) return key;
    key.present = true;
    key.label = ItemLabel(menu, position);
    key.id = info.wID;
    key.popup = info.hSubMenu;
    key.grayed = (info.fState & MFS_GRAYED) != 0;
    return key;
}

}  // namespace

}  // namespace menubar

using namespace menubar;

extern "C" BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi) {
    if (!pmbi || pmbi->cbSize != sizeof(SHMENUBARINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    pmbi->hwndMB = nullptr;
    long error = ERROR_NOT_ENOUGH_MEMORY;
    if (host::ShouldFail("SHCreateMenuBar", &error)) {
        SetLastError(static_cast<DWORD>(error));
        return FALSE;
    }
    if (!pmbi->hwndParent || !IsWindow(pmbi->hwndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    HMENU menu = nullptr;
    if (!(pmbi->dwFlags & SHCMBF_EMPTYBAR)) {
        // Only menu resources are read: a toolbar resource naming its
        // buttons' strings is not.
        if (!(pmbi->dwFlags & SHCMBF_HMENU)) {
            SetLastError(ERROR_NOT_SUPPORTED);
            return FALSE;
        }
        menu = LoadMenuW(pmbi->hInstRes, MAKEINTRESOURCE(pmbi->nToolBarId));
        if (!menu) return FALSE;
    }
    if (!RegisterClasses()) {
        if (menu) DestroyMenu(menu);
        return FALSE;
    }
    auto state = std::make_unique<MenuBar>();
    state->owner = pmbi->hwndParent;
    state->menu = menu;
    state->keys[0] = KeyOf(menu, 0);
    state->keys[1] = KeyOf(menu, 1);
    bool hidden = (pmbi->dwFlags & SHCMBF_HIDDEN) != 0;
    RECT r = BarRect();
    HWND bar = CreateWindowExW(WS_EX_ABOVESTARTUP | WS_EX_NOACTIVATE, kBarClass, nullptr,
                               WS_POPUP | (hidden ? 0 : WS_VISIBLE), r.left, r.top, r.right - r.left, r.bottom - r.top,
                               pmbi->hwndParent, nullptr, GetModuleHandleW(nullptr), HandedBars().Hand(state.get()));
    HandedBars().Withdraw(state.get());
    if (!bar) {
        if (menu) DestroyMenu(menu);
        return FALSE;
    }
    state.release()->adopted = true;  // the window owns it now
    pmbi->hwndMB = bar;
    if (!hidden) TakeKeys(bar);
    return TRUE;
}

extern "C" HWND WINAPI SHFindMenuBar(HWND hwnd) {
    if (!hwnd) return nullptr;
    HWND hidden = nullptr;
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsBar(w) || GetWindow(w, GW_OWNER) != hwnd) continue;
        if (IsWindowVisible(w)) return w;
        if (!hidden) hidden = w;
    }
    return hidden;
}
