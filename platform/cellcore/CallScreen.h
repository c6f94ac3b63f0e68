// The phone's call screen: "Calling" and the number, in front of everything
// until End is pressed. It runs on a thread of its own, as the phone's call
// manager runs in a process of its own. Internal to cellcore.
#pragma once

#include <windows.h>

#include <string>

namespace cellcore {

// Shows the screen for number (a screen already up shows the new number).
bool ShowCallScreen(const std::u16string& number);
// Closes it and waits for its thread (when the library is unloaded).
void CloseCallScreen();

}  // namespace cellcore
