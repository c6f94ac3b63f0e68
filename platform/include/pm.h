// Power management.
#pragma once

#include <windows.h>

#define POWER_STATE_ON       ((DWORD)0x00010000)
#define POWER_STATE_OFF      ((DWORD)0x00020000)
#define POWER_STATE_CRITICAL ((DWORD)0x00040000)
#define POWER_STATE_BOOT     ((DWORD)0x00080000)
#define POWER_STATE_IDLE     ((DWORD)0x00100000)
#define POWER_STATE_SUSPEND  ((DWORD)0x00200000)
#define POWER_STATE_RESET    ((DWORD)0x00800000)
#define POWER_STATE_USERIDLE ((DWORD)0x01000000)
#define POWER_FORCE          ((DWORD)0x00001000)

#ifdef __cplusplus
extern "C" {
#endif

// Moves the device to a power state: by name, or by the POWER_STATE_* flags
// when the name is NULL. POWER_STATE_USERIDLE puts the display to sleep.
DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD Options);

#ifdef __cplusplus
}
#endif
