// Windows CE kernel functions that have no desktop counterpart.
#pragma once

#include <winbase.h>

#define EVENT_PULSE 1
#define EVENT_RESET 2
#define EVENT_SET   3

#ifdef __cplusplus
extern "C" {
#endif

BOOL WINAPI EventModify(HANDLE hEvent, DWORD func);

#ifdef __cplusplus
}
#endif
