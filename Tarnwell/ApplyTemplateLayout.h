// Moves and re-labels a dialog's existing controls after another template
// of the same controls, matched by id. Check states, list contents and
// selections, edit texts and the focus stay as they are.
#pragma once

#include <windows.h>

// False when the template cannot be found or loaded, is malformed (the
// controls read up to that point are still moved), or holds two or more
// items with the id -1.
bool ApplyTemplateLayout(HINSTANCE instance, HWND dialog, int templateId);
