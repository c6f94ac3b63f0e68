#include "CustomText.h"

#include <string.h>

WString FormatCustomText(const WString& customText, LPCWSTR name) {
    LPCWSTR text = customText.Text() ? customText.Text() : TEXT("");
    int length = customText.Length();
    int at = customText.Find(TEXT('@'), 0);
    if (at < 0 || at + 1 >= length || text[at + 1] != TEXT('s')) return WString::FromText(text);

    size_t nameLength = name ? wcslen(name) : 0;
    LONGLONG total = static_cast<LONGLONG>(length) - 2 + static_cast<LONGLONG>(nameLength);
    if (total == 0) return WString::FromText(TEXT(""));
    WString result;
    if (total > 0x7FFFFFFE) return result;
    LPWSTR out = result.GetBuffer(static_cast<int>(total));
    if (!out) return result;
    memcpy(out, text, at * sizeof(WCHAR));
    if (nameLength) memcpy(out + at, name, nameLength * sizeof(WCHAR));
    memcpy(out + at + nameLength, text + at + 2, (length - at - 2) * sizeof(WCHAR));
    out[total] = 0;
    return result;
}
