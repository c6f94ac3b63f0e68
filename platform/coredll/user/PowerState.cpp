// Power states: the display sleeps in the user-idle state and wakes when
// the device is switched on again.
#include <pm.h>
#include <screen_host.h>

extern "C" DWORD WINAPI SetSystemPowerState(LPCWSTR pwsSystemState, DWORD StateFlags, DWORD) {
    if (pwsSystemState) {
        // Named states are not kept on this device; only the flags are.
        return ERROR_INVALID_PARAMETER;
    }
    if (StateFlags & (POWER_STATE_USERIDLE | POWER_STATE_IDLE | POWER_STATE_SUSPEND | POWER_STATE_OFF)) {
        host::SetScreenOn(false);
        return ERROR_SUCCESS;
    }
    if (StateFlags & POWER_STATE_ON) {
        host::SetScreenOn(true);
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}
