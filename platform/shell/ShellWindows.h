// The shell's windows and what they share. Everything here runs on the
// shell's thread unless it says otherwise.
#pragma once

#include <windows.h>

#include <atomic>

namespace shell {

// Sent to the shell window to lay the windows out for the current screen.
constexpr UINT WM_SHELL_LAYOUT = WM_APP + 1;
// Posted to the shell window when the Home key is pressed, whoever holds
// its hotkey: the phone's shell always answers Home.
constexpr UINT WM_SHELL_HOME = WM_APP + 2;
// Posted to the home screen when the store says a folder changed.
constexpr UINT WM_HOME_UNREAD = WM_APP + 3;
// The shell's own End (key-up) and Home registrations.
constexpr int kEndHotKey = 0;
constexpr int kHomeHotKey = 1;

struct Windows {
    std::atomic<HWND> shell{nullptr};      // "MSCProg", hidden
    std::atomic<HWND> statusBar{nullptr};  // "Tray"
    std::atomic<HWND> home{nullptr};       // "DesktopExplorerWindow"
    std::atomic<HWND> softKeys{nullptr};   // "MS_SOFTKEY_CE_1.0" of the home screen
};
Windows& Current();

// Any thread: the unread count the home screen shows.
std::atomic<int>& Unread();

// The home screen's watch on the message store (its own thread): advises
// the store of folder changes, which post WM_HOME_UNREAD to home; ends it;
// reads the Inbox's unread count (0 without a store).
void WatchUnread(HWND home);
void StopWatchingUnread();
int ReadUnread();
// The home screen holds the count it read: wakes a WaitForHomeScreen.
void UnreadShown();

bool RegisterShellWindowClass(HINSTANCE instance);
bool RegisterHomeClass(HINSTANCE instance);
bool RegisterStatusBarClass(HINSTANCE instance);
bool RegisterSoftKeyBarClass(HINSTANCE instance);

// Moves the status bar, home screen and soft-key bar to the current layout
// and sets the work area below the status bar.
void ApplyLayout();

// Arms a window's timer for just after the next minute, when the clock changes.
void TimerForNextMinute(HWND hwnd);

// Painting helpers: a Tahoma font of a 96-dpi pixel height, and one line of
// text in a rectangle.
HFONT MakeFont(int height, bool bold);
void DrawLine(HDC dc, LPCWSTR text, RECT rect, UINT format, COLORREF color, HFONT font);

}  // namespace shell
