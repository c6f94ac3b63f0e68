// Registration of the common controls. The phone's programs ask for the
// classes they use; this library has only the up-down control of its own,
// and answers for the other classes as present.
#include "UpDown.h"

#include <coredll_host.h>

extern "C" void WINAPI InitCommonControls(void) { updown::RegisterClasses(); }

extern "C" BOOL WINAPI InitCommonControlsEx(LPINITCOMMONCONTROLSEX lpInitCtrls) {
    if (!lpInitCtrls || lpInitCtrls->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    long error = ERROR_NOT_ENOUGH_MEMORY;
    if (host::ShouldFail("InitCommonControlsEx", &error)) {
        SetLastError(static_cast<DWORD>(error));
        return FALSE;
    }
    if (!updown::RegisterClasses()) return FALSE;
    return TRUE;
}
