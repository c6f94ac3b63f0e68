// System metrics and the work area, from the screen's profile. Lengths are
// the phone's 96-dpi values scaled to the screen's dpi.
#include "user/WindowSystem.h"

#include <screen_host.h>

using namespace user;

namespace {

bool g_workAreaSet = false;
RECT g_workArea{};

int Scale(int v, int dpi) { return (v * dpi + 48) / 96; }

}  // namespace

namespace user {

void ResetWorkAreaLocked() { g_workAreaSet = false; }

}  // namespace user

extern "C" int WINAPI GetSystemMetrics(int nIndex) {
    host::ScreenProfile p = host::GetScreenProfile();
    switch (nIndex) {
        case SM_CXSCREEN:
        case SM_CXFULLSCREEN:
        case SM_CXVIRTUALSCREEN:
            return p.width;
        case SM_CYSCREEN:
        case SM_CYVIRTUALSCREEN:
            return p.height;
        case SM_CYFULLSCREEN:
            return p.height - Scale(26, p.dpi);
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVTHUMB:
        case SM_CXHTHUMB:
            return Scale(13, p.dpi);
        case SM_CYCAPTION:
        case SM_CYMENU:
            return Scale(26, p.dpi);
        case SM_CXBORDER:
        case SM_CYBORDER:
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return 1;
        case SM_CXEDGE:
        case SM_CYEDGE:
            return 2;
        case SM_CXICON:
        case SM_CYICON:
        case SM_CXCURSOR:
        case SM_CYCURSOR:
            return Scale(32, p.dpi);
        case SM_CXSMICON:
        case SM_CYSMICON:
            return Scale(16, p.dpi);
        case SM_CXICONSPACING:
        case SM_CYICONSPACING:
            return Scale(75, p.dpi);
        case SM_CXDOUBLECLK:
        case SM_CYDOUBLECLK:
            return 4;
        case SM_MOUSEPRESENT:
        case SM_DEBUG:
            return 0;
        default:
            return 0;
    }
}

extern "C" BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT, PVOID pvParam, UINT) {
    switch (uiAction) {
        case SPI_GETWORKAREA: {
            if (!pvParam) break;
            Guard lock(Lock());
            host::ScreenProfile p = host::GetScreenProfile();
            *static_cast<RECT*>(pvParam) = g_workAreaSet ? g_workArea : RECT{0, 0, p.width, p.height};
            return TRUE;
        }
        case SPI_SETWORKAREA: {
            if (!pvParam) break;
            Guard lock(Lock());
            g_workArea = *static_cast<const RECT*>(pvParam);
            g_workAreaSet = true;
            return TRUE;
        }
        default:
            break;
    }
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
}
