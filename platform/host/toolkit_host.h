// The stand-in of the outside soft-key and hotkey utility, for the emulator
// and the tests: a window of class "ENATIVE_SMARTTOOLKIT" on a thread of its
// own that takes the Home key as the utility does and counts the hotkeys it
// receives.
#pragma once

namespace host {

// Starts it and returns once its window exists and it holds its keys; false
// when it could not start. Starting a running stand-in does nothing.
bool StartToolkit();
// Closes its window, gives the Home key back to the shell window when there
// is one, and waits for its thread to end.
void StopToolkit();

struct ToolkitState {
    bool running = false;
    int hotkeysReceived = 0;  // WM_HOTKEY messages its window got since it started
};
ToolkitState GetToolkitState();

}  // namespace host
