// The phone's C-library wide-string functions, for WCHAR (UTF-16) text.
// The host C library's wcs* functions work on 32-bit wchar_t; these are
// the 16-bit ones the phone has, declared for WCHAR.
#pragma once

#include <windef.h>
#include <stdarg.h>
#ifdef __cplusplus
// The C++ library takes the addresses of the host's wcs* functions; they are
// settled in namespace std before the WCHAR overloads below appear.
#include <cwchar>
#endif

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

// printf-style formatting as the platform documents it: %s (WCHAR text),
// %S (narrow text), %c, %C, %d, %i, %u, %x, %X, %p, %%, with the flags "-",
// "0", "#", a width and a precision ("*" takes them from the arguments),
// and the size prefixes h, l and I64. wsprintfW and wvsprintfW write at
// most 1024 characters including the terminating NUL; _snwprintf and
// _vsnwprintf write at most count characters and return -1 when the text
// did not fit (then without a terminating NUL, as the platform does).
int wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...);
int wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist);
int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list argptr);

#define wsprintf wsprintfW
#define wvsprintf wvsprintfW
