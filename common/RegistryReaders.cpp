#include "RegistryReaders.h"

DWORD ReadRegDword(HKEY key, LPCWSTR name, DWORD def) {
    DWORD value = def;
    DWORD size = sizeof(value);
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size);
    return value;
}

WString ReadRegString(HKEY key, LPCWSTR name) {
    WString text;
    DWORD size = 0;
    if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS || size == 0) return text;
    int n = static_cast<int>(size / sizeof(WCHAR));
    LPWSTR buffer = text.GetBuffer(n + 1);
    if (!buffer) return text;
    // The value may have changed size since the query: read no more than
    // the buffer holds, and keep whatever came.
    DWORD got = size;
    if (RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(buffer), &got) != ERROR_SUCCESS)
        buffer[0] = 0;
    buffer[n] = 0;
    text.SyncLength();
    return text;
}

WString ReadRegStringAt(HKEY root, LPCWSTR subkey, LPCWSTR name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, 0, &key) != ERROR_SUCCESS) return WString();
    WString text = ReadRegString(key, name);
    RegCloseKey(key);
    return text;
}

DWORD ReadRegDwordAt(HKEY root, LPCWSTR subkey, LPCWSTR name) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, subkey, 0, 0, &key) != ERROR_SUCCESS) return 0;
    DWORD value = 0;
    DWORD size = sizeof(value);
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<LPBYTE>(&value), &size);
    RegCloseKey(key);
    return value;
}
