// A module whose process attach fails, so that loading it must fail.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HANDLE, DWORD reason, LPVOID) { return reason == DLL_PROCESS_ATTACH ? FALSE : TRUE; }
