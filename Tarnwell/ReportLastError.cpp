#include "ReportLastError.h"

void ReportLastError(HWND owner, LPCWSTR caption) {
    DWORD error = GetLastError();
    LPWSTR text = nullptr;
    DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, error, 0,
        reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    // Without a text for the code the box still tells the user something failed.
    MessageBoxW(owner, length && text ? text : TEXT(""), caption, MB_ICONERROR);
    if (text) LocalFree(text);
}
