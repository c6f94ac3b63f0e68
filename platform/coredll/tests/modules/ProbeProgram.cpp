// A program for the program-start tests ("ProbeProgram.exe"): WinMain keeps
// what it was given in HKLM\ProbeProgram and returns 100 plus the length of
// its command line; a command line "wait" makes it wait for the event
// "ProbeProgramGo" first; "window" makes it take its time, then show a
// window titled "ProbeProgram" and run a message loop until WM_QUIT.
#include <windows.h>

namespace {

int RunWindow(HINSTANCE instance) {
    Sleep(50);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = TEXT("ProbeProgramWindow");
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, TEXT("ProbeProgram"), WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                instance, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    DestroyWindow(hwnd);
    UnregisterClassW(wc.lpszClassName, instance);
    return 0;
}

}  // namespace

extern "C" int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show) {
    if (commandLine && wcscmp(commandLine, TEXT("window")) == 0) return RunWindow(instance);
    if (commandLine && wcscmp(commandLine, TEXT("wait")) == 0) {
        HANDLE go = CreateEventW(nullptr, TRUE, FALSE, TEXT("ProbeProgramGo"));
        WaitForSingleObject(go, 10000);
        CloseHandle(go);
    }
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("ProbeProgram"), 0, nullptr, 0, 0, nullptr, &key, nullptr) == 0) {
        LPCWSTR text = commandLine ? commandLine : TEXT("");
        RegSetValueExW(key, TEXT("CommandLine"), 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                       static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR)));
        DWORD values[] = {static_cast<DWORD>(show), instance == GetModuleHandleW(TEXT("ProbeProgram.exe")) ? 1u : 0u,
                          previous ? 1u : 0u};
        RegSetValueExW(key, TEXT("Show"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[0]), sizeof(DWORD));
        RegSetValueExW(key, TEXT("OwnInstance"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[1]),
                       sizeof(DWORD));
        RegSetValueExW(key, TEXT("Previous"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&values[2]), sizeof(DWORD));
        RegCloseKey(key);
    }
    return 100 + static_cast<int>(commandLine ? wcslen(commandLine) : 0);
}
