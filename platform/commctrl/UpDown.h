// Inside commctrl: the up-down control and the full-screen views it opens.
#pragma once

#include <commctrl.h>

namespace updown {

bool RegisterClasses();

// The buddy's keys: the up-down takes them over by subclassing the buddy
// while it is attached.
void AttachBuddy(HWND updown, HWND buddy);
void DetachBuddy(HWND buddy);

// One step of the up-down (delta +1 or -1) as its buddy shows it.
void Step(HWND updown, int delta);
// Moves the position of an up-down whose buddy is not a list; the new one.
int AdvancePos(HWND updown, int delta);
// Action on an expandable up-down's buddy.
void Expand(HWND updown);

// The full-screen views, each a window of its own over the screen; the
// choice goes back to the buddy when the user makes it.
void OpenExpandedList(HWND list);
void OpenTextEntry(HWND edit);
bool RegisterExpandedClasses();
bool RegisterTextEntryClass();
RECT FullScreenArea();

// What an up-down keeps that the buddy code needs.
DWORD StyleOf(HWND updown);
bool IsListBox(HWND hwnd);
bool IsEdit(HWND hwnd);

}  // namespace updown
