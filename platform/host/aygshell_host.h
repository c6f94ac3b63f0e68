// What the soft-key menu bars show, for the emulator's state report and the
// tests: the two labels of a bar and the items of its open popup menu.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace host {

struct MenuBarView {
    std::u16string left, right;         // the labels over the soft keys ("" for none)
    bool popupOpen = false;             // a popup menu of the bar is open
    std::vector<std::u16string> popup;  // its items as drawn, separators left out
};

// The bar the soft keys act on now (that of the window in front), or null.
HWND ActiveMenuBar();
// What bar shows; false when bar is no menu bar. Asked of the bar's own
// thread, so it may be called from any thread.
bool DescribeMenuBar(HWND bar, MenuBarView* view);

}  // namespace host
