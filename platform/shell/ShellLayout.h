// Where the shell's windows go on the current screen: the status bar at the
// top and the soft-key bar at the bottom, each ScaleY(26) high, the home
// screen between them.
#pragma once

#include <windows.h>

namespace shell {

// v logical units at 96 dpi in pixels of the screen, rounded as the
// platform's users compute it.
int ScaleY(int v);

struct Layout {
    RECT statusBar;
    RECT home;
    RECT softKeys;
};
Layout CurrentLayout();

}  // namespace shell
