// Host-side controls of the emulated phone's screen and keys, for the
// emulator and the tests.
#pragma once

#include <windows.h>

#include <string>

namespace host {

struct ScreenProfile {
    int width = 240;
    int height = 320;
    int dpi = 131;
};

// Set before the first window is made (the emulator reads it from the device).
void SetScreenProfile(const ScreenProfile& profile);
ScreenProfile GetScreenProfile();

// Swaps width and height, as turning the phone does: the shell's windows
// are resized and every top-level window receives WM_SETTINGCHANGE with
// SETTINGCHANGE_RESET.
void RotateScreen();

// Whether the display is lit (SetSystemPowerState puts it to sleep; a key
// press lights it again).
bool ScreenIsOn();
void SetScreenOn(bool on);

// Composes the visible windows in z-order and saves the screen as PNG.
bool SaveScreenshot(const std::string& path, std::string* error);

// Presses (and, for PressKey, releases) one of the phone's keys, as the
// keyboard driver reports it.
void PressKey(BYTE vk);
void KeyDown(BYTE vk);
void KeyUp(BYTE vk);

}  // namespace host
