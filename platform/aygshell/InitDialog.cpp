// SHInitDialog: a dialog sized to the screen, less the status bar above
// (outside the work area) and the menu bar below.
#include "MenuBar.h"

#include <aygshell.h>

extern "C" BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi) {
    if (!pshidi || !pshidi->hDlg || !IsWindow(pshidi->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!(pshidi->dwMask & SHIDIM_FLAGS)) return TRUE;
    DWORD flags = pshidi->dwFlags;
    if (!(flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR))) return TRUE;
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    if (!(flags & SHIDIF_FULLSCREENNOMENUBAR)) area.bottom -= menubar::BarHeight();
    return SetWindowPos(pshidi->hDlg, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                        SWP_NOZORDER | SWP_NOACTIVATE);
}
