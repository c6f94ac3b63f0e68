// Small readers of registry values that fall back quietly when a key or a
// value is missing.
#pragma once

#include "WString.h"

#include <windows.h>

// The stored DWORD, or def when it cannot be read (missing, longer than 4 bytes).
DWORD ReadRegDword(HKEY key, LPCWSTR name, DWORD def);
// The stored text, empty when the value is missing or empty. The value's
// type is not examined; a terminating NUL may or may not be stored.
WString ReadRegString(HKEY key, LPCWSTR name);
// Both at root\subkey; empty text or 0 when the key or the value is missing.
WString ReadRegStringAt(HKEY root, LPCWSTR subkey, LPCWSTR name);
DWORD ReadRegDwordAt(HKEY root, LPCWSTR subkey, LPCWSTR name);
