// SDL wakes a window that waits for events through a second connection to
// the X server. A wakeup sent as the window closes may reach the server after
// the window is gone, and Xlib's default answer to the error that follows
// ends the process before the session is ended. That error is harmless and
// is let pass; every other goes to the handler that was there before (SDL
// keeps the one found at its start and puts it back at its end).
#include "LateWakeups.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>

namespace phone {

namespace {

XErrorHandler g_previous = nullptr;
bool g_installed = false;

int OnXError(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
    return g_previous ? g_previous(display, error) : 0;
}

}  // namespace

void LetLateWakeupsPass() {
    if (g_installed) return;
    g_installed = true;
    g_previous = XSetErrorHandler(OnXError);
}

}  // namespace phone
