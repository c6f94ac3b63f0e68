#include "AboutDialog.h"

#include "resource.h"

#define VERSION_TEXT TEXT("1.0")

BOOL AboutDialog::OnInit() {
    if (CreateSoftKeys(IDR_ABOUT_MENU)) SetDlgItemTextW(Window(), IDC_ABOUT_VERSION, VERSION_TEXT);
    return TRUE;
}

BOOL AboutDialog::OnCommand(WPARAM command, LPARAM) {
    if (LOWORD(command) != IDM_DONE) return FALSE;
    EndDialog(Window(), 0);
    return TRUE;
}

// The re-layout gives the version item its template text back.
BOOL AboutDialog::OnResize(WPARAM kind, LPARAM size) {
    BOOL result = ModalDialog::OnResize(kind, size);
    SetDlgItemTextW(Window(), IDC_ABOUT_VERSION, VERSION_TEXT);
    return result;
}
