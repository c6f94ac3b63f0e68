// Kernel services of coredll: heap, last error, threads, events, waits,
// critical sections, interlocked operations, time, modules and messages.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <stdarg.h>
#ifdef __cplusplus
// The C++ library takes the addresses of the host's wcs* functions; they are
// settled in namespace std before the WCHAR overloads below appear.
#include <cwchar>
#endif

#ifdef __cplusplus
extern "C" {
#endif

// Heap
#define LMEM_FIXED    0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_ZEROINIT 0x0040
#define LPTR          (LMEM_FIXED | LMEM_ZEROINIT)
#define LHND          (LMEM_MOVEABLE | LMEM_ZEROINIT)

HLOCAL WINAPI LocalAlloc(UINT uFlags, UINT uBytes);
HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, UINT uBytes, UINT uFlags);
HLOCAL WINAPI LocalFree(HLOCAL hMem);
UINT WINAPI LocalSize(HLOCAL hMem);

// Last error
DWORD WINAPI GetLastError(void);
void WINAPI SetLastError(DWORD dwErrCode);

// Messages of the system
#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS  0x00000200
#define FORMAT_MESSAGE_FROM_STRING     0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE    0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM     0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY  0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK  0x000000FF

DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPWSTR lpBuffer,
                            DWORD nSize, va_list* Arguments);

// Threads
#define STILL_ACTIVE                      259
#define STACK_SIZE_PARAM_IS_A_RESERVATION 0x00010000
#define THREAD_PRIORITY_NORMAL            3

typedef DWORD(WINAPI* PTHREAD_START_ROUTINE)(LPVOID lpThreadParameter);
typedef PTHREAD_START_ROUTINE LPTHREAD_START_ROUTINE;

HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES lpsa, DWORD cbStack, LPTHREAD_START_ROUTINE lpStartAddr,
                           LPVOID lpvThreadParam, DWORD fdwCreate, LPDWORD lpIDThread);
void WINAPI ExitThread(DWORD dwExitCode);
// The forced end. On this host it cannot stop a thread at an arbitrary
// instruction: the thread's handle is signalled with dwExitCode at once, and
// the thread itself is stopped for good when it next enters a platform wait
// (WaitForSingleObject, Sleep, GetMessageW, SendMessageW, ...), without
// running its destructors or handlers, as the platform does; its windows are
// destroyed then. A thread that never calls into the platform again runs on.
BOOL WINAPI TerminateThread(HANDLE hThread, DWORD dwExitCode);
BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode);
DWORD WINAPI GetCurrentThreadId(void);
HANDLE WINAPI GetCurrentThread(void);
DWORD WINAPI GetCurrentProcessId(void);
void WINAPI Sleep(DWORD dwMilliseconds);
DWORD WINAPI GetTickCount(void);
BOOL WINAPI CloseHandle(HANDLE hObject);

// Waits and events
#define INFINITE             0xFFFFFFFF
#define WAIT_OBJECT_0        0x00000000L
#define WAIT_ABANDONED       0x00000080L
#define WAIT_TIMEOUT         258L
#define WAIT_FAILED          ((DWORD)0xFFFFFFFF)
#define INVALID_HANDLE_VALUE ((HANDLE)(LONG_PTR)-1)

HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState,
                           LPCWSTR lpName);
BOOL WINAPI SetEvent(HANDLE hEvent);
BOOL WINAPI ResetEvent(HANDLE hEvent);
DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);

// Critical sections
typedef struct CRITICAL_SECTION {
    unsigned int LockCount;
    HANDLE OwnerThread;
    HANDLE hCrit;  // the host lock behind the section
    DWORD needtrap;
    DWORD dwContentions;
} CRITICAL_SECTION, *LPCRITICAL_SECTION;

void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpcs);
void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpcs);
void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpcs);
void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpcs);

// Interlocked operations
LONG WINAPI InterlockedIncrement(LONG volatile* lpAddend);
LONG WINAPI InterlockedDecrement(LONG volatile* lpAddend);
LONG WINAPI InterlockedExchange(LONG volatile* Target, LONG Value);
LONG WINAPI InterlockedCompareExchange(LONG volatile* Destination, LONG Exchange, LONG Comperand);

// Time
void WINAPI GetLocalTime(LPSYSTEMTIME lpSystemTime);
void WINAPI GetSystemTime(LPSYSTEMTIME lpSystemTime);
BOOL WINAPI SystemTimeToFileTime(const SYSTEMTIME* lpSystemTime, LPFILETIME lpFileTime);

// Modules
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH  2
#define DLL_THREAD_DETACH  3
#define DLL_PROCESS_DETACH 0

typedef BOOL(WINAPI* PDLL_ENTRY)(HANDLE hinstDLL, DWORD fdwReason, LPVOID lpvReserved);

HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
BOOL WINAPI FreeLibrary(HMODULE hLibModule);
FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName);
HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
// "\Windows\Name.dll" (or .exe for the program); the characters copied,
// cut to nSize - 1 and NUL-terminated; 0 for an unknown module.
DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);

#define LoadLibrary       LoadLibraryW
#define GetProcAddress    GetProcAddressW
#define GetModuleHandle   GetModuleHandleW
#define GetModuleFileName GetModuleFileNameW
#define CreateEvent       CreateEventW
#define FormatMessage     FormatMessageW

// --- Resources of a module (compiled from its .rc file) -------------------------
// A module's resources. hModule NULL is the program's own module. Names and
// types are ordinals (MAKEINTRESOURCE) or strings, which compare without
// case; "#123" is ordinal 123. FindResourceW takes the first language the
// module holds for the name.
HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage);
HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
LPVOID WINAPI LockResource(HGLOBAL hResData);
DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);

#define FindResource   FindResourceW
#define FindResourceEx FindResourceExW

#ifdef __cplusplus
}
#endif

// The phone's C library for WCHAR (UTF-16) text. The phone declares these in
// its C library's headers, whose names the host's own headers take here; the
// host's wcs* functions work on 32-bit wchar_t, these are the 16-bit ones.
// C++ linkage: they overload the host's functions rather than replace them.
// Character classes for iswctype, as the phone's ctype.h numbers them.
#define _UPPER   0x0001
#define _LOWER   0x0002
#define _DIGIT   0x0004
#define _SPACE   0x0008
#define _PUNCT   0x0010
#define _CONTROL 0x0020
#define _BLANK   0x0040
#define _HEX     0x0080
#define _ALPHA   (0x0100 | _UPPER | _LOWER)

size_t wcslen(const WCHAR* s);
WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t count);
WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t count);
int _wcsicmp(const WCHAR* a, const WCHAR* b);
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t count);
WCHAR* wcschr(const WCHAR* s, WCHAR c);
WCHAR* wcsrchr(const WCHAR* s, WCHAR c);
WCHAR* wcsstr(const WCHAR* s, const WCHAR* sub);
long wcstol(const WCHAR* s, WCHAR** end, int base);
unsigned long wcstoul(const WCHAR* s, WCHAR** end, int base);
int _wtoi(const WCHAR* s);

// Classification: the digit class is Unicode's decimal digits (Nd) of
// every script; case mapping is Unicode's simple mapping.
int iswctype(WCHAR c, WORD desc);
int iswdigit(WCHAR c);
int iswspace(WCHAR c);
int iswalpha(WCHAR c);
int iswupper(WCHAR c);
int iswlower(WCHAR c);
WCHAR towlower(WCHAR c);
WCHAR towupper(WCHAR c);

// printf-style formatting into WCHAR buffers, with the conversions of
// wsprintfW (winuser.h). _snwprintf and _vsnwprintf write at most count
// characters and return -1 when the text did not fit (then without a
// terminating NUL, as the platform does).
int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list argptr);
