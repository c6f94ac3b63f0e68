// What the phone's own full-screen windows outside the shell share (the
// call screen, the messaging application): the End key held while they are
// in front and given back to the shell window after, and their text font.
#pragma once

#include <windows.h>

extern "C" BOOL WINAPI UnregisterFunc1(UINT fsModifiers, UINT vk);

namespace platform {

// The identifier the window takes End under, and the shell window's own.
const int kEndHotKey = 1;
const int kShellEndHotKey = 0;

// End, on its release, is this window's while it is up.
inline void TakeEndKey(HWND window) {
    UnregisterFunc1(MOD_KEYUP, VK_F4);
    RegisterHotKey(window, kEndHotKey, MOD_KEYUP, VK_F4);
}

// Called as the window goes: End is the shell's again.
inline void GiveEndKeyBack(HWND window) {
    UnregisterHotKey(window, kEndHotKey);
    if (HWND shell = FindWindowW(u"MSCProg", nullptr)) RegisterHotKey(shell, kShellEndHotKey, MOD_KEYUP, VK_F4);
}

// A length in logical pixels at 96 dpi on this screen.
inline int ScaleToScreen(int value) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return (value * dpi + 48) / 96;
}

// Tahoma of a height in logical pixels; the caller deletes it.
inline HFONT ScreenFont(int pixels, bool bold) {
    LOGFONTW font = {};
    font.lfHeight = -ScaleToScreen(pixels);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    wcscpy(font.lfFaceName, u"Tahoma");
    return CreateFontIndirectW(&font);
}

}  // namespace platform
