// The emulator's view of the menu bars (aygshell_host.h).
#include "MenuBar.h"

#include <aygshell_host.h>

namespace host {

HWND ActiveMenuBar() { return menubar::ActiveBar(); }

bool DescribeMenuBar(HWND bar, MenuBarView* view) {
    if (!view || !menubar::IsBar(bar)) return false;
    // The bar's state is its thread's: the question is sent there.
    return SendMessageW(bar, menubar::WM_DESCRIBEBAR, 0, reinterpret_cast<LPARAM>(view)) != 0;
}

}  // namespace host
