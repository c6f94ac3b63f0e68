// Code-page conversion.
#pragma once

#include <windef.h>

#define CP_ACP   0
#define CP_OEMCP 1
#define CP_UTF8  65001

#define MB_PRECOMPOSED       0x00000001
#define MB_ERR_INVALID_CHARS 0x00000008

#ifdef __cplusplus
extern "C" {
#endif

// Code pages known: CP_UTF8, 1251 (Cyrillic, also CP_ACP and CP_OEMCP of
// the Russian phone) and 1252 (Western).
int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                               LPWSTR lpWideCharStr, int cchWideChar);
int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                               LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar, LPBOOL lpUsedDefaultChar);

#ifdef __cplusplus
}
#endif
