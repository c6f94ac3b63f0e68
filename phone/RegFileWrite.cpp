// Writing .reg text.
#include "RegFile.h"

#include "Cli.h"

#include <coredll_host.h>

#include <cstdio>
#include <cstring>

namespace phone {

namespace {

// Hex data is wrapped as the platform's registry editor wraps it: lines of
// about 80 columns, each but the last ending in ",\".
constexpr size_t kLineWidth = 80;

// Whether a .reg line can hold the text and give it back unchanged: no
// line break, no NUL, and no half of a surrogate pair (UTF-8 has no form
// for one).
bool FitsOnALine(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n' || c == 0) return false;
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

std::string Quote(const std::u16string& text) {
    std::string out = "\"";
    for (char c : host::ToUtf8(text)) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// The text of a REG_SZ that "text" reproduces byte for byte: whole UTF-16
// units ending in one NUL, with none before it.
bool TextForm(const RegValue& value, std::u16string* text) {
    const std::vector<uint8_t>& d = value.data;
    if (value.type != REG_SZ || d.size() < 2 || d.size() % 2) return false;
    std::u16string units(d.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(d[2 * i] | (d[2 * i + 1] << 8));
    if (units.back() != 0) return false;
    units.pop_back();
    if (!FitsOnALine(units)) return false;
    *text = std::move(units);
    return true;
}

std::string HexLines(std::string line, const std::vector<uint8_t>& data) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < data.size(); ++i) {
        std::string piece{kDigits[data[i] >> 4], kDigits[data[i] & 15]};
        if (i + 1 < data.size()) piece += ',';
        if (i > 0 && line.size() + piece.size() > kLineWidth - 3) {
            out += line + "\\\n";
            line = "  ";
        }
        line += piece;
    }
    return out + line + "\n";
}

}  // namespace

std::string RegFileHeader() { return "Windows Registry Editor Version 5.00\n\n"; }

std::string FormatKeyLine(const KeyPath& key) {
    if (std::string problem = KeyNameProblem(key); !problem.empty())
        throw CommandError("cannot export the key " + key.rootName + "\\" + ShownName(key.subkey) + ": " + problem +
                           ", which a .reg line cannot hold (phone reg delete removes it)");
    return "[" + key.FullName() + "]\n";
}

std::string FormatValueLines(const RegValue& value, const KeyPath& key) {
    if (std::string problem = NameProblem(value.name); !problem.empty())
        throw CommandError("cannot export the value " + ShownName(value.name) + " of " + key.FullName() +
                           ": it holds " + problem + ", which a .reg line cannot hold (phone reg delete removes it)");
    std::string line = value.name.empty() ? "@=" : Quote(value.name) + "=";
    std::u16string text;
    if (TextForm(value, &text)) return line + Quote(text) + "\n";
    char prefix[32];
    if (value.type == REG_DWORD && value.data.size() == 4) {
        DWORD number;
        std::memcpy(&number, value.data.data(), 4);
        std::snprintf(prefix, sizeof prefix, "dword:%08x", number);
        return line + prefix + "\n";
    }
    if (value.type == REG_BINARY) return HexLines(line + "hex:", value.data);
    std::snprintf(prefix, sizeof prefix, "hex(%x):", value.type);
    return HexLines(line + prefix, value.data);
}

}  // namespace phone
