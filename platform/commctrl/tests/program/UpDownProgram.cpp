// A program for the loading test ("UpDownProgram.exe"): it initialises the
// common controls, makes an up-down beside an edit field and ends, 0 when
// the up-down took the field as its buddy.
#include <commctrl.h>
#include <windows.h>

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    InitCommonControls();
    HWND parent = CreateWindowExW(0, TEXT("Static"), TEXT("UpDownProgram"), WS_POPUP, 0, 0, 100, 40, nullptr, nullptr,
                                  instance, nullptr);
    HWND edit = CreateWindowExW(0, TEXT("Edit"), TEXT(""), WS_CHILD, 0, 0, 60, 20, parent, nullptr, instance, nullptr);
    HWND updown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD | UDS_AUTOBUDDY | UDS_ALIGNRIGHT, 0, 0, 10, 20,
                                  parent, nullptr, instance, nullptr);
    bool attached = updown && reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)) == edit;
    DestroyWindow(parent);
    return attached ? 0 : 1;
}
