// The shell's layout from the screen's profile.
#include "ShellLayout.h"

#include <screen_host.h>

namespace shell {

int ScaleY(int v) {
    int dpi = host::GetScreenProfile().dpi;
    int magnitude = ((v < 0 ? -v : v) * dpi + 48) / 96;
    return v < 0 ? -magnitude : magnitude;
}

Layout CurrentLayout() {
    host::ScreenProfile p = host::GetScreenProfile();
    int bar = ScaleY(26);
    Layout l;
    l.statusBar = RECT{0, 0, p.width, bar};
    l.home = RECT{0, bar, p.width, p.height - bar};
    l.softKeys = RECT{0, p.height - bar, p.width, p.height};
    return l;
}

}  // namespace shell
