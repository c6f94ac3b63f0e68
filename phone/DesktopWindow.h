// The desktop window of phone window, seen from the emulator: the window
// and its toolkit live in a module of their own (phone_window.so beside the
// executable), loaded only by the command that opens a window, so that every
// other command starts without the desktop's libraries.
#pragma once

#include "Session.h"

#include <memory>
#include <string>

namespace phone {

class DesktopWindow {
public:
    virtual ~DesktopWindow() = default;

    // Opens the window on the desktop; false with *error when it cannot.
    virtual bool Open(std::string* error) = 0;
    // Shows the device until the window is closed, by the person or by
    // RequestClose. Runs on the thread that opened the window.
    virtual void Run() = 0;
    // Makes Run return; from any thread.
    virtual void RequestClose() = 0;
    // Gives the desktop window back; keys still held are released first.
    virtual void Close() = 0;
    // What the window has shown so far; from any thread.
    virtual WindowReport Report() const = 0;
};

// The window module's one entry: a window not yet open.
using CreateDesktopWindowProc = DesktopWindow* (*)(int scale, const char* title);
#define PHONE_CREATE_DESKTOP_WINDOW "CreateDesktopWindow"

// Loads the window module and makes a window of it; null with *error when
// the module or its entry is missing.
std::unique_ptr<DesktopWindow> MakeDesktopWindow(int scale, const std::string& title, std::string* error);

}  // namespace phone
