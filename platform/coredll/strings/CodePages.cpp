// Conversions between WCHAR text and the phone's multibyte code pages:
// UTF-8, and the single-byte pages 1251 (Cyrillic, the ANSI and OEM page of
// the Russian phone) and 1252 (Western).
#include <coredll_host.h>
#include <windows.h>

#include <cstring>
#include <string>

namespace {

enum class Page { Utf8, Cp1251, Cp1252, Unknown };

// Bytes 0x80..0xFF of the single-byte pages. The platform's tables give
// the few bytes a page leaves undefined the code point of the same value,
// so that every byte converts and converts back.
constexpr WCHAR kCp1251[128] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0098, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

constexpr WCHAR kCp1252[128] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152,
    0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122,
    0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, 0x00B0, 0x00B1, 0x00B2, 0x00B3,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0,
    0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7, 0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD,
    0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3, 0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA,
    0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF, 0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7,
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4,
    0x00F5, 0x00F6, 0x00F7, 0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

Page PageOf(UINT codePage) {
    switch (codePage) {
        case CP_ACP:
        case CP_OEMCP:
        case 1251:
            return Page::Cp1251;
        case 1252:
            return Page::Cp1252;
        case CP_UTF8:
            return Page::Utf8;
        default:
            return Page::Unknown;
    }
}

const WCHAR* UpperHalf(Page page) { return page == Page::Cp1251 ? kCp1251 : kCp1252; }

// The byte of a code unit in a single-byte page, or -1.
int ByteOf(const WCHAR* upperHalf, WCHAR c) {
    if (c < 0x80) return c;
    for (int i = 0; i < 128; ++i) {
        if (upperHalf[i] == c) return 0x80 + i;
    }
    return -1;
}

bool IsHighSurrogate(WCHAR c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(WCHAR c) { return c >= 0xDC00 && c <= 0xDFFF; }

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

// Hands the converted text to the caller: its size when the caller only
// asks for it, else the text if it fits.
template <typename Char>
int Deliver(const std::basic_string<Char>& text, Char* out, int room) {
    if (room == 0) return static_cast<int>(text.size());
    if (text.size() > static_cast<size_t>(room)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(out, text.data(), text.size() * sizeof(Char));
    return static_cast<int>(text.size());
}

}  // namespace

extern "C" int WINAPI MultiByteToWideChar(UINT CodePage, DWORD dwFlags, LPCSTR lpMultiByteStr, int cbMultiByte,
                                          LPWSTR lpWideCharStr, int cchWideChar) {
    const Page page = PageOf(CodePage);
    if (page == Page::Unknown || !lpMultiByteStr || cbMultiByte == 0 || cbMultiByte < -1 || cchWideChar < 0 ||
        (!lpWideCharStr && cchWideChar) ||
        static_cast<const void*>(lpMultiByteStr) == static_cast<const void*>(lpWideCharStr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const DWORD allowed = page == Page::Utf8 ? MB_ERR_INVALID_CHARS : MB_PRECOMPOSED | MB_ERR_INVALID_CHARS;
    if (dwFlags & ~allowed) return Fail(ERROR_INVALID_FLAGS);

    const size_t length = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    std::u16string wide;
    if (page == Page::Utf8) {
        bool valid = true;
        wide = host::FromUtf8(std::string_view(lpMultiByteStr, length), &valid);
        if (!valid && (dwFlags & MB_ERR_INVALID_CHARS)) return Fail(ERROR_NO_UNICODE_TRANSLATION);
    } else {
        const WCHAR* upper = UpperHalf(page);
        wide.resize(length);
        for (size_t i = 0; i < length; ++i) {
            auto b = static_cast<unsigned char>(lpMultiByteStr[i]);
            wide[i] = b < 0x80 ? b : upper[b - 0x80];
        }
    }
    return Deliver(wide, lpWideCharStr, cchWideChar);
}

extern "C" int WINAPI WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                                          LPSTR lpMultiByteStr, int cbMultiByte, LPCSTR lpDefaultChar,
                                          LPBOOL lpUsedDefaultChar) {
    const Page page = PageOf(CodePage);
    if (page == Page::Unknown || !lpWideCharStr || cchWideChar == 0 || cchWideChar < -1 || cbMultiByte < 0 ||
        (!lpMultiByteStr && cbMultiByte) ||
        static_cast<const void*>(lpWideCharStr) == static_cast<const void*>(lpMultiByteStr)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    // UTF-8 reaches every character, so a default character means nothing there.
    if (page == Page::Utf8 && (lpDefaultChar || lpUsedDefaultChar)) return Fail(ERROR_INVALID_PARAMETER);
    if (dwFlags) return Fail(ERROR_INVALID_FLAGS);

    const size_t length = cchWideChar == -1 ? wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    std::string bytes;
    if (page == Page::Utf8) {
        bytes = host::ToUtf8(std::u16string_view(lpWideCharStr, length));
    } else {
        const WCHAR* upper = UpperHalf(page);
        const char fallback = lpDefaultChar ? *lpDefaultChar : '?';
        bool usedDefault = false;
        bytes.reserve(length);
        for (size_t i = 0; i < length; ++i) {
            int b = ByteOf(upper, lpWideCharStr[i]);
            if (b < 0) {
                // A character beyond the BMP is one character, one default.
                if (IsHighSurrogate(lpWideCharStr[i]) && i + 1 < length && IsLowSurrogate(lpWideCharStr[i + 1])) ++i;
                usedDefault = true;
                bytes += fallback;
            } else {
                bytes += static_cast<char>(b);
            }
        }
        if (lpUsedDefaultChar) *lpUsedDefaultChar = usedDefault;
    }
    if (bytes.size() > static_cast<size_t>(INT32_MAX)) return Fail(ERROR_INSUFFICIENT_BUFFER);
    return Deliver(bytes, lpMultiByteStr, cbMultiByte);
}
