// Moving the focus in a dialog: the tab order (GetNextDlgTabItem), and
// IsDialogMessageW, which gives the phone's Up and Down keys to the dialog
// to move between its enabled, visible tab stops unless the focus control
// wants the arrows itself (WM_GETDLGCODE).
#include "user/Dialog.h"

#include <vector>

namespace dialog {

namespace {

std::vector<HWND> Controls(HWND dlg) {
    std::vector<HWND> controls;
    for (HWND c = GetWindow(dlg, GW_CHILD); c && controls.size() < 65536; c = GetWindow(c, GW_HWNDNEXT))
        controls.push_back(c);
    return controls;
}

// By the control's own style: the dialog itself may not be shown yet.
bool IsTabStop(HWND control) {
    LONG style = GetWindowLongW(control, GWL_STYLE);
    return (style & WS_TABSTOP) && (style & WS_VISIBLE) && !(style & WS_DISABLED);
}

// The dialog's own control that is, or holds, hwnd.
HWND ControlHolding(HWND dlg, HWND hwnd) {
    int guard = 0;
    while (hwnd && GetParent(hwnd) != dlg && guard++ < 64) hwnd = GetParent(hwnd);
    return hwnd && GetParent(hwnd) == dlg ? hwnd : nullptr;
}

}  // namespace

void FocusControl(HWND dlg, HWND control) {
    if (!control) return;
    if (std::shared_ptr<State> state = StateOf(dlg)) state->lastFocus = control;
    SetFocus(control);
    ScrollIntoView(dlg, control);
}

HWND FirstTabStop(HWND dlg) { return GetNextDlgTabItem(dlg, nullptr, FALSE); }

}  // namespace dialog

using namespace dialog;

extern "C" HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious) {
    if (!IsWindow(hDlg)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::vector<HWND> controls = Controls(hDlg);
    if (controls.empty()) return nullptr;
    size_t n = controls.size();
    // Without a control the search starts beyond the end it moves away
    // from: the first tab stop going forward, the last going back.
    size_t start = bPrevious ? 0 : n - 1;
    HWND from = hCtl ? ControlHolding(hDlg, hCtl) : nullptr;
    if (from) {
        for (size_t i = 0; i < n; ++i)
            if (controls[i] == from) start = i;
    }
    for (size_t step = 1; step <= n; ++step) {
        size_t i = bPrevious ? (start + n - step % n) % n : (start + step) % n;
        if (controls[i] == from) break;
        if (IsTabStop(controls[i])) return controls[i];
    }
    return from && IsTabStop(from) ? from : nullptr;
}

extern "C" BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg) {
    if (!lpMsg || !hDlg || !IsWindow(hDlg)) return FALSE;
    if (lpMsg->hwnd != hDlg && !IsChild(hDlg, lpMsg->hwnd)) return FALSE;
    if (lpMsg->message == WM_KEYDOWN) {
        WPARAM vk = lpMsg->wParam;
        LRESULT code = SendMessageW(lpMsg->hwnd, WM_GETDLGCODE, vk, reinterpret_cast<LPARAM>(lpMsg));
        if (!(code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE))) {
            bool previous = false, move = false;
            if ((vk == VK_UP || vk == VK_DOWN) && !(code & DLGC_WANTARROWS)) {
                move = true;
                previous = vk == VK_UP;
            } else if (vk == VK_TAB && !(code & DLGC_WANTTAB)) {
                move = true;
                previous = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
            }
            if (move) {
                HWND focus = GetFocus();
                HWND next = GetNextDlgTabItem(hDlg, focus && IsChild(hDlg, focus) ? focus : nullptr, previous);
                if (next) FocusControl(hDlg, next);
                return TRUE;
            }
        }
    }
    TranslateMessage(lpMsg);
    DispatchMessageW(lpMsg);
    return TRUE;
}
