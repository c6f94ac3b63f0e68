// LoadStringW: strings of a module's string table, sixteen to a block, each
// a count of characters and the characters without a terminator.
#include "resources/Resources.h"

#include <cstring>

extern "C" int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int nBufferMax) {
    if (!lpBuffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const resources::Entry* block = resources::FindIn(hInstance, RT_STRING,
                                                      MAKEINTRESOURCE(static_cast<WORD>((uID >> 4) + 1)));
    if (!block) return 0;
    size_t at = 0;
    WORD length = 0;
    for (UINT index = 0;; ++index) {
        if (at + 2 > block->size) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        std::memcpy(&length, block->data + at, 2);
        at += 2;
        if (at + length * 2u > block->size) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        if (index == (uID & 15)) break;
        at += length * 2u;
    }
    if (length == 0) {
        // An empty slot: no string of that id.
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        if (nBufferMax > 0) lpBuffer[0] = 0;
        return 0;
    }
    const WCHAR* text = reinterpret_cast<const WCHAR*>(block->data + at);
    if (nBufferMax == 0) {
        // The string itself, read-only and not terminated.
        *reinterpret_cast<const WCHAR**>(lpBuffer) = text;
        return length;
    }
    if (nBufferMax < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    int copied = length < nBufferMax ? length : nBufferMax - 1;
    std::memcpy(lpBuffer, text, copied * sizeof(WCHAR));
    lpBuffer[copied] = 0;
    return copied;
}
