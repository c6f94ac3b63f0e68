// The settings program: one settings dialog at a time.
#include "ReportLastError.h"
#include "SettingsDialog.h"
#include "resource.h"

#include <commctrl.h>

// The settings dialog's caption, which the start-up check looks for.
#define SETTINGS_TITLE TEXT("Настройки")

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    InitCommonControls();
    INITCOMMONCONTROLSEX classes = {};
    classes.dwSize = sizeof classes;
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_DATE_CLASSES;
    if (!InitCommonControlsEx(&classes)) {
        ReportLastError(nullptr, TEXT("Error"));
        return 1;
    }

    HWND running = FindWindowW(TEXT("Dialog"), SETTINGS_TITLE);
    if (running) {
        // The low bit brings the dialog forward with its owned windows: an
        // About box it has open stays in front and keeps the keys.
        SetForegroundWindow(reinterpret_cast<HWND>(reinterpret_cast<ULONG_PTR>(running) | 0x1));
        return 0;
    }

    SettingsDialog dialog(nullptr, instance);
    dialog.RunModal(IDD_SETTINGS, IDD_SETTINGS_WIDE);
    return 0;
}
