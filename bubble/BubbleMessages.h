// The window messages of the bubble window.
#pragma once

#include <windows.h>

// Dismisses the bubble; no part of the system sends it.
#define WM_BUBBLE_CLOSE (WM_USER + 1)
// Sent by the hand-off: wParam a NotificationItem and lParam 1, or the
// message store and the count of messages to announce (2 or more).
#define WM_BUBBLE_NOTIFY (WM_USER + 2)
// Posted by the read-state watcher, wParam the number of its watch: one of
// an earlier watch is ignored; 0 dismisses whatever is shown.
#define WM_BUBBLE_DISMISS (WM_USER + 3)
// Sent by the helper that shows the bubble once it has shown, raised and
// focused it: a dismissal that came first hides the window only then.
#define WM_BUBBLE_SHOWN (WM_USER + 4)
