// The keyboard: key state, and where a key event goes. A hotkey holding the
// key gets WM_HOTKEY; otherwise the focus window of the foreground thread
// (or the foreground window itself when its thread has no focus) gets
// WM_KEYDOWN and WM_KEYUP. A key held by a hotkey at its press is not
// reported as WM_KEYUP to anyone at its release.
//
// Modifiers: a key is held with the modifiers whose keys are down at its
// press, its own included, so the Home key VK_LWIN is pressed as
// (MOD_WIN, VK_LWIN), as the phone's shell registers it. A registration
// without the key's own modifier, such as (MOD_KEYUP, VK_LWIN), is used when
// none with it exists.
#include "user/WindowSystem.h"

#include <screen_host.h>

using namespace user;

namespace {

bool g_down[256];
bool g_pressedSinceQuery[256];
bool g_toggled[256];
bool g_swallowed[256];  // held by a hotkey at its press
UINT g_pressModifiers[256];
std::mutex g_observersLock;
std::vector<std::function<void(BYTE, bool)>> g_observers;

void TellObservers(BYTE vk, bool up) {
    std::vector<std::function<void(BYTE, bool)>> observers;
    {
        std::lock_guard<std::mutex> lock(g_observersLock);
        observers = g_observers;
    }
    for (auto& observer : observers) observer(vk, up);
}

UINT ModifiersLocked() {
    UINT m = 0;
    if (g_down[VK_MENU] || g_down[VK_LMENU] || g_down[VK_RMENU]) m |= MOD_ALT;
    if (g_down[VK_CONTROL] || g_down[VK_LCONTROL] || g_down[VK_RCONTROL]) m |= MOD_CONTROL;
    if (g_down[VK_SHIFT] || g_down[VK_LSHIFT] || g_down[VK_RSHIFT]) m |= MOD_SHIFT;
    if (g_down[VK_LWIN] || g_down[VK_RWIN]) m |= MOD_WIN;
    return m;
}

UINT OwnModifier(BYTE vk) {
    switch (vk) {
        case VK_MENU:
        case VK_LMENU:
        case VK_RMENU:
            return MOD_ALT;
        case VK_CONTROL:
        case VK_LCONTROL:
        case VK_RCONTROL:
            return MOD_CONTROL;
        case VK_SHIFT:
        case VK_LSHIFT:
        case VK_RSHIFT:
            return MOD_SHIFT;
        case VK_LWIN:
        case VK_RWIN:
            return MOD_WIN;
        default:
            return 0;
    }
}

// The combination the key is held under: with its own modifier, or without
// it when only such a registration exists.
UINT HotKeyModifiersLocked(BYTE vk, UINT modifiers) {
    UINT own = OwnModifier(vk);
    if (own && !HotKeyHoldsLocked(vk, modifiers) && HotKeyHoldsLocked(vk, modifiers & ~own)) return modifiers & ~own;
    return modifiers;
}

}  // namespace

namespace user {

void RouteKey(BYTE vk, bool up);

void KeyEvent(BYTE vk, bool up) {
    if (!up) host::SetScreenOn(true);
    RouteKey(vk, up);
    TellObservers(vk, up);
}

void RouteKey(BYTE vk, bool up) {
    Guard lock(Lock());
    bool wasDown = g_down[vk];
    if (!up) {
        g_down[vk] = true;
        g_pressedSinceQuery[vk] = true;
        if (!wasDown) g_toggled[vk] = !g_toggled[vk];
        UINT modifiers = HotKeyModifiersLocked(vk, ModifiersLocked());
        g_pressModifiers[vk] = modifiers;
        if (FireHotKeyLocked(vk, modifiers, false)) {
            g_swallowed[vk] = true;
            return;
        }
        g_swallowed[vk] = false;
    } else {
        g_down[vk] = false;
        if (g_swallowed[vk]) {
            g_swallowed[vk] = false;
            FireHotKeyLocked(vk, g_pressModifiers[vk], true);
            return;
        }
    }
    Window* fg = GetLocked(ForegroundLocked());
    if (!fg) return;
    std::shared_ptr<MessageQueue> q = QueueOfLocked(*fg);
    if (!q || q->ended) return;
    HWND target = GetLocked(q->focus) ? q->focus : fg->handle;
    MSG m{};
    m.hwnd = target;
    m.message = up ? WM_KEYUP : WM_KEYDOWN;
    m.wParam = vk;
    // Repeat count 1; bit 30 the previous state, bit 31 the transition.
    m.lParam = 1 | ((wasDown || up) ? (1 << 30) : 0) | (up ? static_cast<LPARAM>(0x80000000u) : 0);
    m.time = GetTickCount();
    PostLocked(*q, m);
}

}  // namespace user

extern "C" void WINAPI keybd_event(BYTE bVk, BYTE, DWORD dwFlags, DWORD) {
    // KEYEVENTF_SILENT only spares the key click; the emulator makes none.
    KeyEvent(bVk, (dwFlags & KEYEVENTF_KEYUP) != 0);
}

extern "C" SHORT WINAPI GetAsyncKeyState(int vKey) {
    if (vKey < 0 || vKey > 255) return 0;
    Guard lock(Lock());
    unsigned state = 0;
    // As this phone reports a key that is down: 0x8000 and 0x1000 together.
    if (g_down[vKey]) state |= 0x8000 | 0x1000;
    if (g_pressedSinceQuery[vKey]) state |= 0x0001;
    g_pressedSinceQuery[vKey] = false;
    return static_cast<SHORT>(state);
}

extern "C" SHORT WINAPI GetKeyState(int nVirtKey) {
    if (nVirtKey < 0 || nVirtKey > 255) return 0;
    Guard lock(Lock());
    unsigned state = 0;
    if (g_down[nVirtKey]) state |= 0x8000;
    if (g_toggled[nVirtKey]) state |= 0x0001;
    return static_cast<SHORT>(state);
}

namespace host {

void AddKeyObserver(std::function<void(BYTE vk, bool up)> observer) {
    std::lock_guard<std::mutex> lock(g_observersLock);
    g_observers.push_back(std::move(observer));
}

bool TypeText(std::u16string_view text) {
    host::SetScreenOn(true);
    Guard lock(Lock());
    Window* fg = GetLocked(ForegroundLocked());
    if (!fg) return false;
    std::shared_ptr<MessageQueue> q = QueueOfLocked(*fg);
    if (!q || q->ended) return false;
    HWND target = GetLocked(q->focus) ? q->focus : fg->handle;
    for (char16_t c : text) {
        MSG m{};
        m.hwnd = target;
        m.message = WM_CHAR;
        m.wParam = c;
        m.lParam = 1;
        m.time = GetTickCount();
        PostLocked(*q, m);
    }
    return true;
}

void KeyDown(BYTE vk) { KeyEvent(vk, false); }
void KeyUp(BYTE vk) { KeyEvent(vk, true); }
void PressKey(BYTE vk) {
    KeyEvent(vk, false);
    KeyEvent(vk, true);
}

}  // namespace host
