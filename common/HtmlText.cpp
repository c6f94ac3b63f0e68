#include "HtmlText.h"

LPCWSTR HtmlEntityOf(WCHAR c) {
    switch (c) {
        case TEXT('&'):
            return TEXT("&amp;");
        case TEXT('<'):
            return TEXT("&lt;");
        case TEXT('>'):
            return TEXT("&gt;");
        case TEXT('"'):
            return TEXT("&quot;");
        case TEXT('\''):
            return TEXT("&#39;");
        default:
            return nullptr;
    }
}

WString EscapeHtml(LPCWSTR text) {
    if (!text) return WString::FromText(TEXT(""));
    // Sized first, so that the result is written once into a buffer that fits.
    LONGLONG length = 0;
    for (LPCWSTR p = text; *p; ++p) {
        LPCWSTR entity = HtmlEntityOf(*p);
        length += entity ? static_cast<LONGLONG>(wcslen(entity)) : 1;
    }
    if (length > 0x3FFFFFFF) return WString::FromText(TEXT(""));
    WString out;
    LPWSTR buffer = out.GetBuffer(static_cast<int>(length));
    if (!buffer) return WString::FromText(TEXT(""));
    LPWSTR at = buffer;
    for (LPCWSTR p = text; *p; ++p) {
        if (LPCWSTR entity = HtmlEntityOf(*p)) {
            for (LPCWSTR e = entity; *e; ++e) *at++ = *e;
        } else {
            *at++ = *p;
        }
    }
    *at = 0;
    out.SyncLength();
    return out;
}
