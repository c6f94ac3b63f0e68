#include "ModalDialog.h"

#include "ApplyTemplateLayout.h"
#include "ReportLastError.h"
#include "ScreenShape.h"

#include <aygshell.h>

ModalDialog::ModalDialog(HWND owner, HINSTANCE instance)
    : owner_(owner), window_(nullptr), instance_(instance), portraitId_(0), landscapeId_(-1) {}

INT_PTR ModalDialog::RunModal(int portraitId, int landscapeId) {
    portraitId_ = portraitId;
    landscapeId_ = landscapeId;
    // Always created from the portrait template; a wide screen takes the
    // landscape layout at the first size change.
    INT_PTR result = -1;
    HRSRC found = FindResourceW(instance_, MAKEINTRESOURCE(portraitId), RT_DIALOG);
    HGLOBAL loaded = found ? LoadResource(instance_, found) : nullptr;
    if (loaded) {
        result = DialogBoxIndirectParamW(instance_, static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)), owner_,
                                         DialogProc, reinterpret_cast<LPARAM>(this));
    }
    if (result == -1) {
        // A dialog that ended itself is gone: its box goes to the owner.
        DWORD error = GetLastError();
        HWND owner = window_ && IsWindow(window_) ? window_ : owner_;
        SetLastError(error);
        ReportLastError(owner, TEXT("Error"));
    }
    return result;
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The pointer-sized forms: an object address does not fit a LONG here.
    if (message == WM_INITDIALOG) SetWindowLongPtrW(window, GWL_USERDATA, lParam);
    ModalDialog* dialog = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(window, GWL_USERDATA));
    if (!dialog) return FALSE;
    return dialog->HandleMessage(window, message, wParam, lParam);
}

BOOL ModalDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            OnResize(wParam, lParam);
            return TRUE;
        case WM_INITDIALOG: {
            if (!SetUpWindow(window)) return TRUE;
            BOOL result = OnInit();
            OverrideBackKey();
            return result;
        }
        case WM_COMMAND:
            return OnCommand(wParam, lParam);
        case WM_HOTKEY:
            if (HIWORD(lParam) == VK_ESCAPE) SHSendBackToFocusWindow(message, wParam, lParam);
            return TRUE;
    }
    return FALSE;
}

bool ModalDialog::SetUpWindow(HWND window) {
    window_ = window;
    SHINITDLGINFO info = {};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = window;
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
    if (SHInitDialog(&info)) return true;
    MessageBoxW(window, TEXT("Init dialog failed"), TEXT("Error"), MB_ICONERROR);
    EndDialog(window, -1);
    return false;
}

// The soft-key bar leaves the Back key to the dialog, which hands it to the
// focused control: in a text field Back erases the character before the caret.
void ModalDialog::OverrideBackKey() {
    HWND bar = SHFindMenuBar(window_);
    if (!bar) return;
    SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_ESCAPE,
                 MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
}

bool ModalDialog::CreateSoftKeys(UINT menuId) {
    SHMENUBARINFO info = {};
    info.cbSize = sizeof info;
    info.hwndParent = window_;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = menuId;
    info.hInstRes = instance_;
    if (SHCreateMenuBar(&info)) return true;
    MessageBoxW(window_, TEXT("Cannot create menu bar"), TEXT("Error"), MB_ICONERROR);
    EndDialog(window_, -1);
    return false;
}

BOOL ModalDialog::OnResize(WPARAM, LPARAM) {
    if (landscapeId_ == -1) return FALSE;
    int id = GetScreenShape() == Wide ? landscapeId_ : portraitId_;
    ApplyTemplateLayout(instance_, window_, id);
    return FALSE;
}
