// Turning the phone: the screen swaps width and height, the shell lays its
// windows out again, and every top-level window is told with
// WM_SETTINGCHANGE / SETTINGCHANGE_RESET, sent as the platform does.
#include "user/WindowSystem.h"

#include <screen_host.h>

using namespace user;

namespace {

std::mutex g_hooksLock;
std::vector<std::function<void()>> g_hooks;

}  // namespace

namespace host {

void AddRotationHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(g_hooksLock);
    g_hooks.push_back(std::move(hook));
}

void RotateScreen() {
    ScreenProfile p = GetScreenProfile();
    std::swap(p.width, p.height);
    SetScreenProfile(p);
    {
        Guard lock(Lock());
        Window* desktop = GetLocked(DesktopLocked());
        desktop->rect = RECT{0, 0, p.width, p.height};
        ResetWorkAreaLocked();
    }
    std::vector<std::function<void()>> hooks;
    {
        std::lock_guard<std::mutex> lock(g_hooksLock);
        hooks = g_hooks;
    }
    for (auto& hook : hooks) hook();
    std::vector<HWND> tops;
    {
        Guard lock(Lock());
        tops = GetLocked(DesktopLocked())->children;
    }
    for (HWND h : tops) SendMessageW(h, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    ScreenChanged();
}

}  // namespace host
