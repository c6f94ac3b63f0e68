// The bubble's UI thread: started on the first message that needs a bubble,
// running until the module is unloaded.
#pragma once

#include <windows.h>

class BubbleWindow;

// One per process, made (zero-filled) when the module is loaded, never freed.
struct BubbleThreadState {
    BubbleWindow* window;  // owned by the UI thread; null before it made the window and after it ended
    HANDLE thread;         // null until GetBubbleThread started it; never reset
    HANDLE readyEvent;     // set by the UI thread once the window exists
};

// Made at process attach with the module's instance, which the UI thread
// registers its class and the HTML view with; freed at process detach, once
// the UI thread is stopped, so that a module loaded again does not leave
// the old one behind.
BOOL CreateBubbleThreadState(HINSTANCE instance);
void FreeBubbleThreadState();

// The process's state; starts the UI thread on first use and waits for its
// window (at most 3 x 10 s). Two threads calling it at once start one UI
// thread: the second waits for the first.
BubbleThreadState& GetBubbleThread();

// The UI thread's body.
DWORD WINAPI BubbleThreadMain(LPVOID state);

// Closes the bubble window and waits (3 x 10 s) for the UI thread to end,
// then ends it forcibly. Nothing happens without a bubble window.
void StopBubbleThread();

// The short-lived threads that show and raise the bubble: kept until they
// end, and waited for (bounded) when the UI thread is stopped, since their
// code goes with the module.
void KeepHelperThread(HANDLE thread);

// The window handle of the bubble, or null while there is none.
HWND BubbleWindowHandle(const BubbleThreadState& state);
