// Host-side controls of the phone's shell (the home screen, the status bar,
// the soft-key bar and the shell window), for the emulator and the tests.
#pragma once

#include <string>

namespace host {

// Starts the shell on a thread of its own and returns once its windows
// exist and it holds the End and Home keys; false when it could not start.
// Starting a running shell does nothing.
bool StartShell();
// Closes the shell's windows and waits for its thread to end.
void StopShell();

// The number of unread text messages the home screen shows: the Inbox's
// unread count, which it follows through the message store's notifications.
int UnreadCount();

// The labels of the home screen's own soft-key bar.
void ShellSoftKeyLabels(std::u16string* left, std::u16string* right);
// Waits until the home screen has heard of the store's changes so far (its
// count is the Inbox's), so that a screenshot or state shows them; true at
// once when it does not watch a store, false after timeoutMs.
bool WaitForHomeScreen(unsigned timeoutMs = 1000);

}  // namespace host
