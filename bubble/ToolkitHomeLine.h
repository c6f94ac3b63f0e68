// The zero-based line of the Home key's entry in the outside soft-key
// utility's hotkey list (HKEY_CURRENT_USER\Software\e-Natives\SmartToolkit,
// text value "hotkey"); 0 without the key.
#pragma once

#include <windows.h>

LONG ToolkitHomeLine();

// The walk over a hotkey text itself, for a text already read.
LONG HomeLineOf(LPCWSTR text, int length);
