// Host-side controls of the emulated phone's screen and keys, for the
// emulator and the tests.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

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
// Called on the rotating thread once the screen has its new size, before
// any window is told (the shell lays its windows out here).
void AddRotationHook(std::function<void()> hook);

// Whether the display is lit (SetSystemPowerState puts it to sleep; a key
// press lights it again).
bool ScreenIsOn();
void SetScreenOn(bool on);

// Composes the visible windows in z-order and saves the screen as PNG
// (black while the display sleeps). Waits for the windows to settle first.
bool SaveScreenshot(const std::string& path, std::string* error);

// The screen as it is composed now, without waiting for anything: width x
// height pixels, row by row, each 0x00RRGGBB (black while the display sleeps).
void ComposeScreenPixels(std::vector<uint32_t>* pixels, int* width, int* height);
// Called whenever what the screen shows may have changed: a window painted,
// was shown, hidden, moved, raised or destroyed, the screen turned, slept or
// woke. It runs on the changing thread, possibly with the window system
// locked, so it must only take note (set a flag, wake a loop).
void AddScreenObserver(std::function<void()> observer);

// Waits until every thread that has windows is waiting for messages with
// nothing left to handle (sent, posted, paint or due timers), so that what
// a key or a message caused has been handled and painted. Every other
// thread the platform started has to be in a platform wait too; one in
// Sleep counts as at work, since it runs on by itself. False when
// timeoutMs passed first.
bool WaitForIdle(unsigned timeoutMs = 2000);
// Waits until the program of that thread (host::StartProgram) waits for
// messages with nothing left to handle, or has ended: what a program just
// started has to reach before its windows can be looked at. False when
// timeoutMs passed first.
bool WaitForProgramIdle(DWORD threadId, unsigned timeoutMs = 2000);

// What the state report shows.
struct WindowInfo {
    std::string className;  // UTF-8
    std::string title;
};
// The foreground window; false when there is none.
bool ForegroundWindowInfo(WindowInfo* info);
// The window that has the keyboard focus on the foreground window's thread
// (GetFocus as that thread would see it); null when it has none.
HWND ForegroundFocus();
struct HotKeyInfo {
    std::string window;  // class name of the window holding it
    int id = 0;
    unsigned modifiers = 0;
    unsigned vk = 0;
};
// Every hotkey registration, in the order they were made.
std::vector<HotKeyInfo> ListHotKeys();

// Presses (and, for PressKey, releases) one of the phone's keys, as the
// keyboard driver reports it: a hotkey holding the key gets WM_HOTKEY,
// otherwise the focus window of the foreground thread gets WM_KEYDOWN and
// WM_KEYUP. A sleeping display wakes up.
void PressKey(BYTE vk);
void KeyDown(BYTE vk);
void KeyUp(BYTE vk);

// Types text as the phone's text input delivers it: each character a
// WM_CHAR posted to the focus window of the foreground thread (the
// foreground window itself when its thread has no focus), in order, with no
// key events. A sleeping display wakes up. False when nothing is in front.
bool TypeText(std::u16string_view text);

// Called on the pressing thread for every key event, after it was routed:
// the shell watches the Home key through it, which it acts on as the phone's
// shell does even while another window holds the Home hotkey.
void AddKeyObserver(std::function<void(BYTE vk, bool up)> observer);

}  // namespace host
