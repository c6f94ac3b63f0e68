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

// Made at process attach; freed at process detach, once the UI thread is
// stopped, so that a module loaded again does not leave the old one behind.
BOOL CreateBubbleThreadState();
void FreeBubbleThreadState();

// The process's state; starts the UI thread on first use.
BubbleThreadState& GetBubbleThread();

// Closes the bubble window and waits (bounded) for the UI thread to end.
void StopBubbleThread();

// The window handle of the bubble, or null while there is none.
HWND BubbleWindowHandle(const BubbleThreadState& state);
