// The messaging application's windows: the composer, the reader and the SMS
// inbox, each in front on a thread of its own (as the application runs in a
// process of its own on the phone) until End or Back closes it. Internal to
// cemapi.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace cemapi {

struct AppWindow {
    std::u16string title;               // the title strip
    std::vector<std::u16string> lines;  // the body, one entry a paragraph
};

// Shows the window and returns once it is on the screen; false when it
// cannot be made.
bool OpenAppWindow(const AppWindow& content);
// Closes every window of the application and waits for their threads.
void CloseAppWindows();

}  // namespace cemapi
