// The default dialog procedure, the window procedure of every dialog: it
// calls the dialog's own procedure first and does the default handling when
// that returns FALSE (the focus kept across activation, WM_NEXTDLGCTL, the
// dialog's font, painting the scroll bar of a tall dialog).
#include "user/Dialog.h"

namespace dialog {

namespace {

// The Cancel command, which closing a dialog sends (IDCANCEL).
const int kCancel = 2;

bool IsFocusable(HWND dlg, HWND control) {
    return control && IsChild(dlg, control) && IsWindowVisible(control) && IsWindowEnabled(control);
}

void RestoreFocus(HWND dlg, State& state) {
    HWND focus = GetFocus();
    if (focus && IsChild(dlg, focus)) return;
    HWND target = IsFocusable(dlg, state.lastFocus) ? state.lastFocus : FirstTabStop(dlg);
    if (target) FocusControl(dlg, target);
}

// Messages whose answer is the dialog procedure's return value itself
// rather than DWL_MSGRESULT.
bool ReturnsDirectly(UINT msg) {
    switch (msg) {
        case WM_INITDIALOG:
        case WM_CTLCOLORMSGBOX:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
        case WM_CTLCOLORSCROLLBAR:
        case WM_CTLCOLORSTATIC:
        case WM_COMPAREITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
            return true;
        default:
            return false;
    }
}

LRESULT DefaultHandling(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    std::shared_ptr<State> state = StateOf(hwnd);
    switch (msg) {
        case WM_ACTIVATE:
            if (!state) break;
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(hwnd, focus)) state->lastFocus = focus;
            } else {
                RestoreFocus(hwnd, *state);
            }
            return 0;
        case WM_SETFOCUS:
            if (state) RestoreFocus(hwnd, *state);
            return 0;
        case WM_NEXTDLGCTL: {
            HWND target = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                         : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
            if (target) FocusControl(hwnd, target);
            return 0;
        }
        case WM_SETFONT:
            if (state && reinterpret_cast<HFONT>(wParam) != state->font) {
                if (state->ownsFont && state->font) DeleteObject(state->font);
                state->font = reinterpret_cast<HFONT>(wParam);
                state->ownsFont = false;
            }
            return 0;
        case WM_GETFONT:
            return state ? reinterpret_cast<LRESULT>(state->font) : 0;
        case WM_CLOSE: {
            HWND cancel = GetDlgItem(hwnd, kCancel);
            if (!cancel || IsWindowEnabled(cancel))
                PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(kCancel, 0), reinterpret_cast<LPARAM>(cancel));
            return 0;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (dc) {
                EndPaint(hwnd, &ps);
                PaintScrollBar(hwnd);
            }
            return 0;
        }
        case DM_GETDEFID:
        case DM_SETDEFID:
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

}  // namespace dialog

using namespace dialog;

extern "C" LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    // The controls go back to their unscrolled places before the procedure
    // lays them out for the new size; the focus is brought back in view after.
    if (Msg == WM_SIZE) ScrollTo(hDlg, 0);
    auto proc = reinterpret_cast<DLGPROC>(GetWindowLongPtrW(hDlg, DWL_DLGPROC));
    INT_PTR handled = 0;
    if (proc) {
        SetWindowLongPtrW(hDlg, DWL_MSGRESULT, 0);
        handled = proc(hDlg, Msg, wParam, lParam);
    }
    if (Msg == WM_SIZE && IsWindow(hDlg)) {
        HWND focus = GetFocus();
        ScrollIntoView(hDlg, focus && IsChild(hDlg, focus) ? focus : nullptr);
        InvalidateRect(hDlg, nullptr, TRUE);
    }
    // The window system forgets the dialog's state once this returns.
    if (Msg == WM_NCDESTROY) return DefWindowProcW(hDlg, Msg, wParam, lParam);
    if (handled) {
        if (ReturnsDirectly(Msg)) return handled;
        return IsWindow(hDlg) ? GetWindowLongPtrW(hDlg, DWL_MSGRESULT) : 0;
    }
    if (!IsWindow(hDlg)) return 0;
    return DefaultHandling(hDlg, Msg, wParam, lParam);
}
