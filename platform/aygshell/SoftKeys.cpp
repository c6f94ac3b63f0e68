// The soft keys and Back: one bar at a time holds them as hotkeys. A key is
// meant for the bar of the foreground window (or of a window it is owned
// by); a bar that receives a key meant for another passes it on and hands
// that bar the keys. A bar that is hidden or destroyed hands them to the
// top visible bar.
#include "MenuBar.h"

#include <aygshell.h>

// coredll's entry that frees a key combination from whoever holds it.
extern "C" BOOL WINAPI UnregisterFunc1(UINT fsModifiers, UINT vk);

namespace menubar {

namespace {

const UINT kSharedKeys[] = {VK_TSOFT1, VK_TSOFT2, VK_TBACK};
const UINT kPopupKeys[] = {VK_UP, VK_DOWN, VK_TACTION, '1', '2', '3', '4', '5', '6', '7', '8', '9'};
// Hotkey ids on the bar: the shared keys by their position, popup keys from 100.
const int kPopupKeyBase = 100;

HWND VisibleBarOwnedBy(HWND owner) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsBar(w) && IsWindowVisible(w) && GetWindow(w, GW_OWNER) == owner) return w;
    return nullptr;
}

HWND TopVisibleBar(HWND except) {
    for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        if (w != except && IsBar(w) && IsWindowVisible(w)) return w;
    return nullptr;
}

bool IsEdit(HWND hwnd) {
    WCHAR name[16];
    return GetClassNameW(hwnd, name, ARRAYSIZE(name)) > 0 && _wcsicmp(name, u"Edit") == 0;
}

// The Back key as the focus window of the calling thread gets it.
void BackToFocus() {
    HWND focus = GetFocus();
    if (!focus) return;
    if (IsEdit(focus)) {
        PostMessageW(focus, WM_CHAR, VK_BACK, 1);
        return;
    }
    PostMessageW(focus, WM_KEYDOWN, VK_TBACK, 1);
    PostMessageW(focus, WM_KEYUP, VK_TBACK, static_cast<LPARAM>(0xC0000001u));
}

void SendCommand(MenuBar& state, UINT id) {
    SendMessageW(state.owner, WM_COMMAND, MAKEWPARAM(id, 0), reinterpret_cast<LPARAM>(state.bar));
}

}  // namespace

void TakeKeys(HWND bar) {
    for (size_t i = 0; i < ARRAYSIZE(kSharedKeys); ++i) {
        UnregisterFunc1(0, kSharedKeys[i]);
        RegisterHotKey(bar, static_cast<int>(i), 0, kSharedKeys[i]);
    }
}

void ReleaseKeys(HWND bar) {
    bool held = false;
    for (size_t i = 0; i < ARRAYSIZE(kSharedKeys); ++i) held |= UnregisterHotKey(bar, static_cast<int>(i)) != FALSE;
    if (!held) return;
    if (HWND next = TopVisibleBar(bar)) TakeKeys(next);
}

HWND ActiveBar() {
    int guard = 0;
    for (HWND w = GetForegroundWindow(); w && guard < 32; w = GetWindow(w, GW_OWNER), ++guard) {
        if (IsBar(w)) return IsWindowVisible(w) ? w : nullptr;
        if (HWND bar = VisibleBarOwnedBy(w)) return bar;
    }
    return nullptr;
}

void PopupKeys(HWND bar, bool take) {
    for (UINT vk : kPopupKeys) {
        if (take)
            RegisterHotKey(bar, kPopupKeyBase + static_cast<int>(vk), 0, vk);
        else
            UnregisterHotKey(bar, kPopupKeyBase + static_cast<int>(vk));
    }
}

void HandleSoftKey(MenuBar& state, UINT vk) {
    HWND active = ActiveBar();
    if (active != state.bar) {
        if (state.popup) ClosePopup(state);
        if (active) {
            TakeKeys(active);
            PostMessageW(active, WM_SOFTKEY, vk, 0);
        } else {
            // No bar in front: the key reaches the foreground window as a
            // key, as it would with no bar on the device at all (a message
            // box takes its soft key so).
            HWND fg = GetForegroundWindow();
            PostMessageW(fg, WM_KEYDOWN, vk, 1);
            PostMessageW(fg, WM_KEYUP, vk, static_cast<LPARAM>(0xC0000001u));
        }
        return;
    }
    // An open menu takes the keys first: Back steps out of it, a soft key
    // closes it.
    if (state.popup) {
        if (vk == VK_TBACK && state.levels.size() > 1) {
            state.levels.pop_back();
            std::vector<int> items = ChoosableItems(state.levels.back());
            state.selected = items.empty() ? 0 : items.front();
            LayoutPopup(state);
        } else {
            ClosePopup(state);
        }
        return;
    }
    int slot = vk == VK_TSOFT1 ? 0 : vk == VK_TSOFT2 ? 1 : 2;
    UINT mode = state.overrides[slot];
    if (mode & SHMBOF_NOTIFY) PostMessageW(state.owner, WM_HOTKEY, vk, MAKELPARAM(0, vk));
    if (mode & SHMBOF_NODEFAULT) return;
    if (slot == 2) {
        BackToFocus();
        return;
    }
    const SoftKey& key = state.keys[slot];
    if (!key.present || key.grayed) return;
    if (key.popup)
        OpenPopup(state, slot);
    else
        SendCommand(state, key.id);
}

void HandlePopupKey(MenuBar& state, UINT vk) {
    if (!state.popup || state.levels.empty()) return;
    HMENU menu = state.levels.back();
    std::vector<int> items = ChoosableItems(menu);
    if (items.empty()) return;
    int chosen = -1;
    if (vk == VK_UP || vk == VK_DOWN) {
        size_t at = 0;
        while (at < items.size() && items[at] != state.selected) ++at;
        at = vk == VK_DOWN ? (at + 1) % items.size() : (at + items.size() - 1) % items.size();
        state.selected = items[at];
        InvalidateRect(state.popup, nullptr, FALSE);
        return;
    }
    if (vk == VK_TACTION)
        chosen = state.selected;
    else if (vk >= '1' && vk <= '9' && vk - '1' < items.size())
        chosen = items[vk - '1'];
    if (chosen < 0) return;
    state.selected = chosen;
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_STATE;
    if (!GetMenuItemInfoW(menu, static_cast<UINT>(chosen), TRUE, &info)) return;
    if (info.hSubMenu) {
        state.levels.push_back(info.hSubMenu);
        std::vector<int> inner = ChoosableItems(info.hSubMenu);
        state.selected = inner.empty() ? 0 : inner.front();
        LayoutPopup(state);
        return;
    }
    if (info.fState & MFS_GRAYED) return;
    ClosePopup(state);
    SendCommand(state, info.wID);
}

}  // namespace menubar

extern "C" void WINAPI SHSendBackToFocusWindow(UINT uMsg, WPARAM /*wp*/, LPARAM lp) {
    // Only a Back key reported as a hotkey is handed on; its release (a
    // MOD_KEYUP report) was part of the press given to the focus window.
    if (uMsg != WM_HOTKEY || HIWORD(lp) != VK_TBACK || (LOWORD(lp) & MOD_KEYUP)) return;
    menubar::BackToFocus();
}
