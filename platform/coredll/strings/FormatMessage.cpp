// FormatMessageW for the system's message table, the use the platform's
// programs make of it: the text of an error code for a message box.
#include "strings/SystemMessages.h"

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

constexpr DWORD kLangNeutral = 0x00;
constexpr DWORD kLangEnglish = 0x09;

DWORD Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

bool HasInserts(const std::u16string& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] == u'%' && text[i + 1] >= u'1' && text[i + 1] <= u'9') return true;
    }
    return false;
}

}  // namespace

extern "C" DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                                       LPWSTR lpBuffer, DWORD nSize, va_list* Arguments) {
    (void)lpSource;  // a module's message table would come first; ours have none
    const bool allocate = dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER;
    if (allocate && lpBuffer) *reinterpret_cast<LPWSTR*>(lpBuffer) = nullptr;

    if (dwFlags & FORMAT_MESSAGE_FROM_STRING) {
        return Fail(dwFlags & (FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_FROM_HMODULE) ? ERROR_INVALID_PARAMETER
                                                                                         : ERROR_CALL_NOT_IMPLEMENTED);
    }
    if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)) {
        return Fail(dwFlags & FORMAT_MESSAGE_FROM_HMODULE ? ERROR_RESOURCE_TYPE_NOT_FOUND : ERROR_INVALID_PARAMETER);
    }
    if (!lpBuffer) return Fail(ERROR_INVALID_PARAMETER);

    // The system's texts are English; language 0 lets the system choose.
    DWORD primaryLanguage = dwLanguageId & 0x3FF;
    if (primaryLanguage != kLangNeutral && primaryLanguage != kLangEnglish) return Fail(ERROR_RESOURCE_LANG_NOT_FOUND);

    const WCHAR* found = coredll::SystemMessageText(dwMessageId);
    if (!found) return Fail(ERROR_MR_MID_NOT_FOUND);
    std::u16string text(found);

    // Inserts are only ever left as they stand: filling them would read
    // arguments that a caller of a system text does not know it must pass.
    if (!(dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS) && HasInserts(text)) return Fail(ERROR_INVALID_PARAMETER);
    (void)Arguments;

    // The maximum width asks for the text on one line: its line breaks
    // become spaces.
    if ((dwFlags & FORMAT_MESSAGE_MAX_WIDTH_MASK) == FORMAT_MESSAGE_MAX_WIDTH_MASK) {
        std::u16string oneLine;
        for (size_t i = 0; i < text.size(); ++i) {
            bool lineBreak = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n';
            oneLine += lineBreak ? u' ' : text[i];
            if (lineBreak) ++i;
        }
        text.swap(oneLine);
    }

    const DWORD length = static_cast<DWORD>(text.size());
    LPWSTR out = lpBuffer;
    if (allocate) {
        DWORD chars = nSize > length + 1 ? nSize : length + 1;
        if (chars > UINT32_MAX / sizeof(WCHAR)) return Fail(ERROR_NOT_ENOUGH_MEMORY);
        out = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, chars * sizeof(WCHAR)));
        if (!out) return 0;  // LocalAlloc has set the error
        *reinterpret_cast<LPWSTR*>(lpBuffer) = out;
    } else if (nSize < length + 1) {
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    }
    std::memcpy(out, text.c_str(), (length + 1) * sizeof(WCHAR));
    return length;
}
