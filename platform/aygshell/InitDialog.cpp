// SHInitDialog: a dialog sized to the screen, less the status bar above
// (outside the work area) and the menu bar below. A dialog sized so keeps
// its size across the screen's turns: its window procedure is wrapped to
// size it again when the screen's shape changes.
#include "MenuBar.h"

#include <aygshell.h>
#include <coredll_host.h>

#include <map>
#include <mutex>

namespace {

struct Sized {
    WNDPROC next = nullptr;
    DWORD flags = 0;
};

std::mutex g_lock;
std::map<HWND, Sized> g_sized;

bool SizesTheDialog(DWORD flags) {
    return (flags & (SHIDIF_SIZEDLG | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_FULLSCREENNOMENUBAR)) != 0;
}

BOOL SizeToScreen(HWND dlg, DWORD flags) {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0)) {
        area = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }
    if (!(flags & SHIDIF_FULLSCREENNOMENUBAR)) area.bottom -= menubar::BarHeight();
    return SetWindowPos(dlg, nullptr, area.left, area.top, area.right - area.left, area.bottom - area.top,
                        SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK SizedDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Sized sized;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = g_sized.find(hwnd);
        if (it != g_sized.end()) sized = it->second;
    }
    if (msg == WM_SETTINGCHANGE && wParam == SETTINGCHANGE_RESET) SizeToScreen(hwnd, sized.flags);
    LRESULT result = sized.next ? CallWindowProcW(sized.next, hwnd, msg, wParam, lParam)
                                : DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        std::lock_guard<std::mutex> lock(g_lock);
        g_sized.erase(hwnd);
    }
    return result;
}

// Wraps the dialog's procedure once; a second SHInitDialog only changes
// how it is sized.
void KeepSized(HWND dlg, DWORD flags) {
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = g_sized.find(dlg);
        if (it != g_sized.end()) {
            it->second.flags = flags;
            return;
        }
    }
    auto next = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(dlg, GWL_WNDPROC));
    if (!next || next == SizedDialogProc) return;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_sized[dlg] = Sized{next, flags};
    }
    SetWindowLongPtrW(dlg, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SizedDialogProc));
}

}  // namespace

extern "C" BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi) {
    if (!pshidi || !pshidi->hDlg || !IsWindow(pshidi->hDlg)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    long error = ERROR_NOT_ENOUGH_MEMORY;
    if (host::ShouldFail("SHInitDialog", &error)) {
        SetLastError(static_cast<DWORD>(error));
        return FALSE;
    }
    if (!(pshidi->dwMask & SHIDIM_FLAGS)) return TRUE;
    DWORD flags = pshidi->dwFlags;
    if (!SizesTheDialog(flags)) return TRUE;
    if (!SizeToScreen(pshidi->hDlg, flags)) return FALSE;
    KeepSized(pshidi->hDlg, flags);
    return TRUE;
}
