// The decoding steps of a vCard value: quoted-printable, the charset, and
// the backslash escapes and component separators of structured values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace phone {

// Undoes quoted-printable ("=XX" hex pairs; soft line breaks are already
// joined). False for a "=" not followed by two hex digits.
bool DecodeQuotedPrintable(std::string_view text, std::string* bytes);

// The code page of a CHARSET parameter (upper case; empty means UTF-8), or
// 0 for one this phone cannot read.
unsigned CodePageOfCharset(const std::string& charset);

// Bytes in a code page to UTF-16; false when they are not valid in it.
bool DecodeCharset(std::string_view bytes, unsigned codePage, std::u16string* text);

// Splits a structured value (N, ORG) at its unescaped ';' and undoes the
// escapes of each component. vCard 3.0 escapes "\\", "\;", "\," and "\n";
// 2.1 knows only "\;", so other backslashes stay as written.
std::vector<std::u16string> SplitComponents(std::u16string_view value, bool version3);

// Undoes the escapes of a single-text value (FN, TEL, ...).
std::u16string Unescape(std::u16string_view value, bool version3);

}  // namespace phone
