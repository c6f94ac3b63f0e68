// The system's text for the calling thread's last error, in a message box.
#pragma once

#include <windows.h>

void ReportLastError(HWND owner, LPCWSTR caption);
