// Host-side controls of the phone's shell (the home screen, the status bar,
// the soft-key bar and the shell window), for the emulator and the tests.
#pragma once

namespace host {

// Starts the shell on a thread of its own and returns once its windows
// exist and it holds the End and Home keys; false when it could not start.
// Starting a running shell does nothing.
bool StartShell();
// Closes the shell's windows and waits for its thread to end.
void StopShell();
bool ShellIsRunning();

// The number of unread text messages the home screen shows: the Inbox's
// unread count, which it follows through the message store's notifications.
int UnreadCount();

}  // namespace host
