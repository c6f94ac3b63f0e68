// Hotkeys: one registration per key combination in the whole system, and
// the undocumented "UnregisterFunc1" that frees a combination from whoever
// holds it. MOD_KEYUP is not part of the combination: (MOD_KEYUP, VK_F4)
// and (0, VK_F4) are the same key, as the phone's shell and its users
// treat them.
#include "user/WindowSystem.h"

#include <coredll_host.h>
#include <screen_host.h>

using namespace user;

namespace {

struct HotKey {
    HWND hwnd;
    DWORD threadId;  // receives WM_HOTKEY when hwnd is null
    int id;
    UINT modifiers;
    UINT vk;
};

std::vector<HotKey> g_hotkeys;

UINT Combination(UINT modifiers) { return modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN); }

std::shared_ptr<MessageQueue> QueueOfHotKeyLocked(const HotKey& hk) {
    if (hk.hwnd) {
        Window* w = GetLocked(hk.hwnd);
        return w ? QueueOfLocked(*w) : nullptr;
    }
    return QueueOfThreadLocked(hk.threadId);
}

}  // namespace

namespace user {

void RemoveHotKeysOfLocked(HWND hwnd) {
    std::erase_if(g_hotkeys, [&](const HotKey& hk) { return hk.hwnd == hwnd; });
}

// The registration a key event fires, if any; the message goes to the top of
// the holder's queue, as the platform places WM_HOTKEY.
bool FireHotKeyLocked(BYTE vk, UINT modifiers, bool up) {
    const HotKey* match = nullptr;
    for (const HotKey& hk : g_hotkeys)
        if (hk.vk == vk && Combination(hk.modifiers) == modifiers) match = &hk;
    if (!match || (up && !(match->modifiers & MOD_KEYUP))) return false;
    std::shared_ptr<MessageQueue> q = QueueOfHotKeyLocked(*match);
    if (!q || q->ended) return false;
    MSG m{};
    m.hwnd = match->hwnd;
    m.message = WM_HOTKEY;
    m.wParam = static_cast<WPARAM>(match->id);
    m.lParam = MAKELPARAM(Combination(match->modifiers) | (up ? MOD_KEYUP : 0), vk);
    m.time = GetTickCount();
    // Ahead of everything else queued, but after earlier hotkeys, so that a
    // press and its release keep their order.
    auto pos = q->posted.begin();
    while (pos != q->posted.end() && pos->message == WM_HOTKEY) ++pos;
    q->posted.insert(pos, m);
    q->wake.notify_all();
    return true;
}

bool HotKeyHoldsLocked(BYTE vk, UINT modifiers) {
    for (const HotKey& hk : g_hotkeys)
        if (hk.vk == vk && Combination(hk.modifiers) == modifiers) return true;
    return false;
}

}  // namespace user

extern "C" BOOL WINAPI RegisterHotKey(HWND hWnd, int id, UINT fsModifiers, UINT vk) {
    Guard lock(Lock());
    if (hWnd && !CheckWindowLocked(hWnd)) return FALSE;
    for (const HotKey& hk : g_hotkeys) {
        if (hk.vk == vk && Combination(hk.modifiers) == Combination(fsModifiers)) {
            SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
            return FALSE;
        }
    }
    g_hotkeys.push_back(HotKey{hWnd, CurrentThreadId(), id, fsModifiers, vk});
    return TRUE;
}

extern "C" BOOL WINAPI UnregisterHotKey(HWND hWnd, int id) {
    Guard lock(Lock());
    if (hWnd && !CheckWindowLocked(hWnd)) return FALSE;
    DWORD self = CurrentThreadId();
    size_t removed = std::erase_if(
        g_hotkeys, [&](const HotKey& hk) { return hk.hwnd == hWnd && hk.id == id && (hWnd || hk.threadId == self); });
    if (!removed) {
        SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
        return FALSE;
    }
    return TRUE;
}

// Frees the combination from whichever window holds it, so that the
// caller's own RegisterHotKey can take it.
extern "C" BOOL WINAPI UnregisterFunc1(UINT fsModifiers, UINT vk) {
    Guard lock(Lock());
    size_t removed = std::erase_if(g_hotkeys, [&](const HotKey& hk) {
        return hk.vk == vk && Combination(hk.modifiers) == Combination(fsModifiers);
    });
    if (!removed) {
        SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
        return FALSE;
    }
    return TRUE;
}

namespace host {

std::vector<HotKeyInfo> ListHotKeys() {
    Guard lock(Lock());
    std::vector<HotKeyInfo> list;
    for (const HotKey& hk : g_hotkeys) {
        HotKeyInfo info;
        if (Window* w = GetLocked(hk.hwnd)) info.window = ToUtf8(w->cls->name);
        info.id = hk.id;
        info.modifiers = hk.modifiers;
        info.vk = hk.vk;
        list.push_back(info);
    }
    return list;
}

}  // namespace host
