// Reading .reg files. The whole file is parsed before anything is applied,
// so that a malformed line changes nothing.
#include "RegFile.h"

#include "Cli.h"

#include <coredll_host.h>

namespace phone {

namespace {

constexpr size_t kMaxValueName = 255;

struct Line {
    int number;
    std::u16string text;
};

[[noreturn]] void Malformed(const std::string& file, int line, const std::string& why) {
    throw CommandError(file + ":" + std::to_string(line) + ": " + why);
}

std::vector<Line> SplitLines(const std::string& bytes, const std::string& file) {
    std::vector<Line> lines;
    auto add = [&](std::u16string text) {
        if (!text.empty() && text.back() == u'\r') text.pop_back();
        lines.push_back(Line{static_cast<int>(lines.size()) + 1, std::move(text)});
    };
    // A .reg file begins with its ASCII header: a NUL beside its first
    // letter tells a UTF-16 file that the reader cannot take.
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFE && static_cast<uint8_t>(bytes[1]) == 0xFF)
        Malformed(file, 1, "the file is UTF-16 big-endian text; save it as UTF-16 little-endian or UTF-8");
    if (bytes.size() >= 2 && bytes[0] != 0 && bytes[1] == 0)
        Malformed(file, 1,
                  "the file is UTF-16 little-endian text without a byte order mark; save it with one, or as UTF-8");
    if (bytes.size() >= 2 && bytes[0] == 0 && bytes[1] != 0)
        Malformed(file, 1,
                  "the file is UTF-16 big-endian text without a byte order mark; save it as UTF-16 little-endian "
                  "(with its byte order mark) or UTF-8");
    if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF && static_cast<uint8_t>(bytes[1]) == 0xFE) {
        std::u16string text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
        size_t start = 0, end;
        while ((end = text.find(u'\n', start)) != std::u16string::npos) {
            add(text.substr(start, end - start));
            start = end + 1;
        }
        add(text.substr(start));
        if (bytes.size() % 2)
            Malformed(file, static_cast<int>(lines.size()), "the UTF-16 text ends in half a character");
        return lines;
    }
    size_t start = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (;;) {
        size_t end = bytes.find('\n', start);
        std::string_view raw(bytes.data() + start, (end == std::string::npos ? bytes.size() : end) - start);
        bool ok = true;
        add(host::FromUtf8(raw, &ok));
        if (!ok) Malformed(file, static_cast<int>(lines.size()), "the line is not valid UTF-8");
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Trim(const std::u16string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin])) ++begin;
    while (end > begin && IsBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool StartsWithNoCase(const std::u16string& text, const char* prefix) {
    for (size_t i = 0; prefix[i]; ++i) {
        if (i >= text.size()) return false;
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != static_cast<unsigned char>(prefix[i])) return false;
    }
    return true;
}

int HexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

// 1 to maxDigits hex digits and nothing else.
bool ParseHex(const std::u16string& text, size_t maxDigits, uint32_t* value) {
    if (text.empty() || text.size() > maxDigits) return false;
    uint32_t v = 0;
    for (char16_t c : text) {
        int d = HexDigit(c);
        if (d < 0) return false;
        v = v * 16 + static_cast<uint32_t>(d);
    }
    *value = v;
    return true;
}

// A quoted string starting at text[pos], with \\ and \" escapes; any other
// backslash stands for itself. Returns false when the closing quote is
// missing; pos ends behind it.
bool ReadQuoted(const std::u16string& text, size_t& pos, std::u16string* out) {
    ++pos;
    while (pos < text.size()) {
        char16_t c = text[pos++];
        if (c == u'"') return true;
        if (c == u'\\' && pos < text.size() && (text[pos] == u'\\' || text[pos] == u'"')) c = text[pos++];
        *out += c;
    }
    return false;
}

class Parser {
public:
    explicit Parser(const std::string& file) : file_(file) {}

    std::vector<RegFileKey> Parse(const std::vector<Line>& lines) {
        size_t i = 0;
        while (i < lines.size() && Trim(lines[i].text).empty()) ++i;
        std::u16string header = i < lines.size() ? Trim(lines[i].text) : std::u16string();
        if (header != u"Windows Registry Editor Version 5.00" && header != u"REGEDIT4")
            Malformed(file_, i < lines.size() ? lines[i].number : 1,
                      "not a .reg file (the first line must be \"Windows Registry Editor Version 5.00\")");
        for (++i; i < lines.size(); ++i) {
            line_ = lines[i].number;
            std::u16string text = Trim(lines[i].text);
            if (text.empty() || text[0] == u';') continue;
            if (text[0] == u'[') {
                KeyLine(text);
            } else if (text[0] == u'"' || text[0] == u'@') {
                // Long data go on over lines that end in a backslash.
                pieces_.assign(1, Piece{0, line_});
                while (!text.empty() && text.back() == u'\\' && i + 1 < lines.size()) {
                    text.pop_back();
                    pieces_.push_back(Piece{text.size(), lines[i + 1].number});
                    text += Trim(lines[++i].text);
                }
                ValueLine(text);
            } else {
                Fail("malformed line (expected [KEY], \"name\"=... or @=...)");
            }
        }
        return std::move(keys_);
    }

private:
    // Where each physical line of a continued value begins in the joined text.
    struct Piece {
        size_t offset;
        int line;
    };

    [[noreturn]] void Fail(const std::string& why) { Malformed(file_, line_, why); }
    // A fault at a character of the joined value text, named by its own line.
    [[noreturn]] void FailAt(size_t offset, const std::string& why) {
        int line = line_;
        for (const Piece& piece : pieces_)
            if (piece.offset <= offset) line = piece.line;
        Malformed(file_, line, why);
    }

    void KeyLine(const std::u16string& text) {
        if (text.size() < 2 || text.back() != u']') Fail("a key line must end with ]");
        std::u16string inner = text.substr(1, text.size() - 2);
        RegFileKey key;
        key.line = line_;
        if (!inner.empty() && inner[0] == u'-') {
            key.remove = true;
            inner.erase(0, 1);
        }
        std::string why;
        if (!ParseKeyPath(inner, &key.path, &why)) Fail(why);
        // Refused rather than cut or written: such a name could not be exported again.
        if (std::string problem = KeyNameProblem(key.path); !problem.empty()) Fail(problem);
        if (key.remove && key.path.subkey.empty()) Fail("a root key cannot be deleted");
        keys_.push_back(std::move(key));
    }

    void ValueLine(const std::u16string& text) {
        if (keys_.empty()) Fail("a value comes before any [KEY] line");
        if (keys_.back().remove) Fail("a value under a key that is being deleted");
        RegFileValue entry;
        entry.line = line_;
        size_t pos = 0;
        if (text[0] == u'@') {
            pos = 1;
        } else if (!ReadQuoted(text, pos, &entry.value.name)) {
            Fail("the value name has no closing quote");
        }
        if (entry.value.name.size() > kMaxValueName) Fail("a value name longer than 255 characters");
        if (std::string problem = NameProblem(entry.value.name); !problem.empty())
            Fail("the value name " + ShownName(entry.value.name) + " holds " + problem);
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        if (pos >= text.size() || text[pos] != u'=') Fail("expected = after the value name");
        std::u16string data = Trim(text.substr(pos + 1));
        size_t dataAt = pos + 1;
        while (dataAt < text.size() && IsBlank(text[dataAt])) ++dataAt;
        if (data == u"-") {
            entry.remove = true;
        } else if (!data.empty() && data[0] == u'"') {
            String(data, &entry.value);
        } else if (StartsWithNoCase(data, "dword:")) {
            uint32_t number;
            if (!ParseHex(data.substr(6), 8, &number)) Fail("dword: wants 1 to 8 hex digits");
            entry.value.type = REG_DWORD;
            entry.value.data.resize(4);
            for (int b = 0; b < 4; ++b) entry.value.data[b] = static_cast<uint8_t>(number >> (8 * b));
        } else if (StartsWithNoCase(data, "hex")) {
            Hex(data, dataAt, &entry.value);
        } else {
            Fail("unknown value data (expected \"text\", dword:, hex:, hex(N): or -)");
        }
        keys_.back().values.push_back(std::move(entry));
    }

    void String(const std::u16string& data, RegValue* value) {
        size_t pos = 0;
        std::u16string text;
        if (!ReadQuoted(data, pos, &text)) Fail("the text has no closing quote");
        if (pos != data.size()) Fail("unexpected characters after the closing quote");
        value->type = REG_SZ;
        text.push_back(u'\0');
        for (char16_t c : text) {
            value->data.push_back(static_cast<uint8_t>(c & 0xFF));
            value->data.push_back(static_cast<uint8_t>(c >> 8));
        }
    }

    // data begins at dataAt of the joined value text.
    void Hex(const std::u16string& data, size_t dataAt, RegValue* value) {
        size_t pos = 3;
        value->type = REG_BINARY;
        if (pos < data.size() && data[pos] == u'(') {
            size_t close = data.find(u')', pos);
            uint32_t type;
            if (close == std::u16string::npos || !ParseHex(data.substr(pos + 1, close - pos - 1), 8, &type))
                Fail("hex(N): wants the type N in hex digits");
            value->type = type;
            pos = close + 1;
        }
        if (pos >= data.size() || data[pos] != u':') Fail("expected : after hex");
        size_t listAt = dataAt + pos + 1;
        while (listAt < dataAt + data.size() && IsBlank(data[listAt - dataAt])) ++listAt;
        std::u16string list = Trim(data.substr(pos + 1));
        if (list.empty()) return;
        size_t start = 0;
        for (;;) {
            size_t comma = list.find(u',', start);
            std::u16string raw = list.substr(start,
                                             comma == std::u16string::npos ? std::u16string::npos : comma - start);
            std::u16string item = Trim(raw);
            bool last = comma == std::u16string::npos;
            // A comma may end the list, as a wrapped line leaves it.
            if (item.empty() && last && start > 0) break;
            uint32_t byte;
            if (!ParseHex(item, 2, &byte)) {
                size_t itemAt = listAt + start;
                for (size_t k = 0; k < raw.size() && IsBlank(raw[k]); ++k) ++itemAt;
                FailAt(itemAt, "bad byte \"" + host::ToUtf8(item) + "\" in hex data");
            }
            value->data.push_back(static_cast<uint8_t>(byte));
            if (last) break;
            start = comma + 1;
        }
    }

    std::string file_;
    int line_ = 0;
    std::vector<Piece> pieces_;
    std::vector<RegFileKey> keys_;
};

}  // namespace

std::vector<RegFileKey> ParseRegFile(const std::string& bytes, const std::string& fileName) {
    return Parser(fileName).Parse(SplitLines(bytes, fileName));
}

}  // namespace phone
