// What an HTML view holds, for the emulator's state report and the tests:
// the page last given to it, its zoom level and the link that has the focus.
// Asked of the view's own thread, so any thread may call them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace host {

std::u16string HtmlViewSource(HWND view);
int HtmlViewZoom(HWND view);
// The target of the focused link; false when no link has the focus.
bool HtmlViewFocusedLink(HWND view, std::u16string* target);
// The targets of the page's links, in document order.
std::vector<std::u16string> HtmlViewLinks(HWND view);

}  // namespace host
