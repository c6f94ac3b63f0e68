// A module whose only content is its resources (ResourceProbe.rc).
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HANDLE, DWORD, LPVOID) { return TRUE; }
