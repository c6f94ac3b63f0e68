// The system's message table: the English texts FormatMessageW gives for
// Win32 error codes and HRESULTs. Internal to coredll.
#pragma once

#include <windows.h>

namespace coredll {

// The text of a system message, ending in "\r\n" as the platform's do, or
// nullptr when the system has none. A failure HRESULT of FACILITY_WIN32 has
// the text of its Win32 code.
const WCHAR* SystemMessageText(DWORD id);

}  // namespace coredll
