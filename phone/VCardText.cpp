#include "VCardText.h"

#include <windows.h>

namespace phone {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;  // writers differ in case
    return -1;
}

// Splits at unescaped ';' when split is true; otherwise one component.
std::vector<std::u16string> Components(std::u16string_view value, bool version3, bool split) {
    std::vector<std::u16string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        char16_t c = value[i];
        if (c == u'\\' && i + 1 < value.size()) {
            char16_t next = value[i + 1];
            if (next == u';' || (version3 && (next == u'\\' || next == u','))) {
                parts.back() += next;
                ++i;
                continue;
            }
            if (version3 && (next == u'n' || next == u'N')) {
                parts.back() += u'\n';
                ++i;
                continue;
            }
        }
        if (c == u';' && split) {
            parts.emplace_back();
            continue;
        }
        parts.back() += c;
    }
    return parts;
}

}  // namespace

bool DecodeQuotedPrintable(std::string_view text, std::string* bytes) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size()) return false;
        int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0) return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    *bytes = std::move(out);
    return true;
}

unsigned CodePageOfCharset(const std::string& charset) {
    if (charset.empty() || charset == "UTF-8" || charset == "UTF8" || charset == "US-ASCII") return CP_UTF8;
    if (charset == "WINDOWS-1251" || charset == "CP1251") return 1251;
    // Latin-1 differs from 1252 only in the C1 controls, which no name holds.
    if (charset == "WINDOWS-1252" || charset == "CP1252" || charset == "ISO-8859-1") return 1252;
    return 0;
}

bool DecodeCharset(std::string_view bytes, unsigned codePage, std::u16string* text) {
    text->clear();
    if (bytes.empty()) return true;
    int size = static_cast<int>(bytes.size());
    int units = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (units <= 0) return false;
    text->resize(units);
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text->data(), units) == units;
}

std::vector<std::u16string> SplitComponents(std::u16string_view value, bool version3) {
    return Components(value, version3, true);
}

std::u16string Unescape(std::u16string_view value, bool version3) { return Components(value, version3, false).front(); }

}  // namespace phone
