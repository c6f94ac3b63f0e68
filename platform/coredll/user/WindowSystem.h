// The window manager's state: classes, windows, per-thread message queues.
// Internal to coredll. One lock guards all of it; window procedures are
// always called with the lock released.
#pragma once

#include "kernel/Kernel.h"

#include <windows.h>

#include <cairo.h>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace user {

std::mutex& Lock();
using Guard = std::unique_lock<std::mutex>;

struct WindowClass {
    std::u16string name;
    ATOM atom = 0;
    WNDCLASSW wc{};  // lpszClassName points into name; lpszMenuName is not kept
    bool system = false;
    int windows = 0;  // live windows of the class
};

struct MessageQueue;

// A message sent to a window of another thread, waiting to be handled there.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    std::shared_ptr<MessageQueue> sender;  // null for a notification (nobody waits)
};

struct Timer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    kernel::Clock::time_point due;
};

struct MessageQueue {
    DWORD threadId = 0;
    std::condition_variable wake;  // waited on with Lock()
    std::deque<std::shared_ptr<SentMessage>> sent;
    std::deque<MSG> posted;
    bool quit = false;
    int quitCode = 0;
    bool ended = false;    // the thread is gone; nothing is handled any more
    bool waiting = false;  // blocked in GetMessageW/WaitMessage with nothing to do
    HWND active = nullptr;
    HWND focus = nullptr;
    std::vector<Timer> timers;
};

struct Window {
    HWND handle = nullptr;
    DWORD threadId = 0;
    std::weak_ptr<MessageQueue> queue;
    std::shared_ptr<WindowClass> cls;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    DWORD style = 0;
    DWORD exStyle = 0;
    LONG_PTR id = 0;
    HWND parent = nullptr;  // the desktop for top-level windows
    HWND owner = nullptr;
    RECT rect{};  // window rectangle in the parent's client coordinates
    // A vertical scroll bar shown along the right edge, outside the client
    // area: its width, 0 for none.
    int verticalScrollBar = 0;
    std::u16string text;
    LONG_PTR userData = 0;
    std::vector<BYTE> extra;
    std::vector<HWND> children;  // z-order, top first
    bool destroying = false;
    // The update region, as its bounding rectangle in client coordinates.
    bool invalid = false;
    bool erase = false;
    RECT update{};
    cairo_surface_t* surface = nullptr;  // top-level windows: what the window shows
    ~Window();
};

// --- Windows (WindowState.cpp) ---------------------------------------------
// All *Locked functions expect Lock() to be held.
Window* GetLocked(HWND hwnd);
std::shared_ptr<Window> FindLocked(HWND hwnd);
HWND NewHandleLocked(std::shared_ptr<Window> window);
void ForgetHandleLocked(HWND hwnd);
HWND DesktopLocked();
bool IsDesktopLocked(HWND hwnd);
bool IsTopLevelLocked(const Window& w);
Window* TopLevelOfLocked(Window* w);
bool IsDescendantLocked(HWND ancestor, HWND hwnd);
bool IsVisibleLocked(const Window& w);  // itself and every ancestor visible
// Every window, parents before their children, top of z-order first.
void ForEachWindowLocked(const std::function<void(Window&)>& fn);
// The calling thread's queue, made on first use.
std::shared_ptr<MessageQueue> CurrentQueueLocked();
std::shared_ptr<MessageQueue> QueueOfLocked(const Window& w);
// The queue of a thread, if it has made one and is still running.
std::shared_ptr<MessageQueue> QueueOfThreadLocked(DWORD threadId);
DWORD CurrentThreadId();
// Fails the call with ERROR_INVALID_WINDOW_HANDLE when hwnd is not a live window.
Window* CheckWindowLocked(HWND hwnd);

// --- Classes (WindowClass.cpp) ------------------------------------------------
// A class by name (case-insensitive) or by atom (MAKEINTATOM): the one the
// module registered, else any of that name.
std::shared_ptr<WindowClass> FindClassLocked(LPCWSTR name, HINSTANCE instance);
// Registers, or replaces, a class of the platform itself (its controls and
// the dialog manager's "Dialog"); such classes cannot be unregistered.
bool RegisterSystemClass(const WNDCLASSW& wc);

// --- Geometry (WindowGeometry.cpp) -----------------------------------------
// The client area in the window's own coordinates (origin at its top-left).
RECT ClientAreaLocked(const Window& w);
// Origin of the client area on the screen.
POINT ClientOriginLocked(const Window& w);
// Shows (width > 0) or hides the window's vertical scroll bar; the client
// area narrows or widens by its width, the window hears WM_SIZE and is
// painted again.
void SetVerticalScrollBar(HWND hwnd, int width);
// The scroll bar's place in the window's own coordinates (empty for none).
RECT VerticalScrollBarRect(HWND hwnd);
// Window rectangle on the screen.
RECT ScreenRectLocked(const Window& w);

// --- Z-order (ZOrder.cpp) --------------------------------------------------------
void LinkWindowLocked(Window& w);
void UnlinkWindowLocked(Window& w);
void BringToTopLocked(Window& w);
void MoveToBottomLocked(Window& w);
// Just below after, kept within the window's band.
void PlaceAfterLocked(Window& w, HWND after);

// --- Messages (SendMessage.cpp, MessageQueue.cpp) --------------------------------
LRESULT CallWindowProcOf(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// What the system itself tells a window: called at once on the window's
// own thread, otherwise queued as a notification without waiting for it.
void Notify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// Handles one message sent to this thread, if there is one.
bool HandleOneSentLocked(Guard& lock, MessageQueue& q);
void PostLocked(MessageQueue& q, const MSG& msg, bool front = false);
void RemoveTimersOfLocked(HWND hwnd);

// --- Focus and activation (Focus.cpp) ----------------------------------------------
// Makes the top-level window the active window of its thread and the
// foreground window; sends WM_ACTIVATE as the platform does.
void Activate(HWND top);
// After hwnd stopped being able to hold the foreground (hidden, destroyed):
// activates the next window.
void ActivateOtherIfNeeded(HWND leaving);
void ForgetFocusLocked(HWND hwnd);
HWND ForegroundLocked();

// --- Hotkeys (HotKeys.cpp) -------------------------------------------------
void RemoveHotKeysOfLocked(HWND hwnd);
// The registration a key event fires, if any (WM_HOTKEY goes to the top of
// the holder's queue); and whether a registration holds the combination.
bool FireHotKeyLocked(BYTE vk, UINT modifiers, bool up);
bool HotKeyHoldsLocked(BYTE vk, UINT modifiers);
// A key event as the keyboard driver reports it: hotkeys first, else the
// focus window of the foreground thread.
void KeyEvent(BYTE vk, bool up);

// --- Painting (WindowPaint.cpp) ----------------------------------------------
void InvalidateLocked(Window& w, const RECT* clientRect, bool erase);
// The first window of the queue's thread that needs WM_PAINT.
HWND PaintPendingLocked(const MessageQueue& q, HWND filter);
void ResizeSurfaceLocked(Window& w);
// The surface of a top-level window, made on first use.
cairo_surface_t* WindowSurfaceLocked(Window& top);

// --- System metrics (SystemMetrics.cpp) --------------------------------------
// Forgets a work area set by SystemParametersInfo, after the screen turned.
void ResetWorkAreaLocked();

// --- The screen (ScreenComposition.cpp) -------------------------------------
// The visible windows composed in z-order onto the screen (black while the
// display sleeps when asleep is given); a new reference, or null.
cairo_surface_t* ComposeScreen(bool* asleep);
// Tells the screen's observers that what it shows may have changed.
void ScreenChanged();

// --- Window destruction without messages, for ended threads (Window.cpp) -----
// The handles taken out are added to removed, for ForgetDestroyedDialogs
// once the lock is let go.
void DestroyThreadWindowsLocked(DWORD threadId, std::vector<HWND>* removed);
void ForgetDestroyedDialogs(const std::vector<HWND>& removed);

// Whether the queue has nothing left to handle now (MessageQueue.cpp).
bool QueueIdleLocked(const MessageQueue& q);

}  // namespace user
