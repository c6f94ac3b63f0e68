// Reading vCard files: physical lines are joined into logical ones (folded
// lines, quoted-printable soft breaks), each logical line is a property of
// the current card, and the properties the contact store keeps are decoded.
// Properties it does not keep (addresses, e-mail, photos, notes, ...) are
// skipped unread, so that a value the phone would never show cannot make a
// whole file unreadable.
#include "VCard.h"

#include "VCardText.h"

#include <pimstore_host.h>
#include <windows.h>

#include <optional>

namespace phone {

namespace {

struct Line {
    int number = 0;
    std::string text;
};

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

template <typename Text>
Text Trim(const Text& text) {
    size_t start = 0, end = text.size();
    while (start < end && (text[start] == ' ' || text[start] == '\t')) ++start;
    while (end > start && (text[end - 1] == ' ' || text[end - 1] == '\t')) --end;
    return text.substr(start, end - start);
}

// Parameter values may be double-quoted (and hold ':' or ';' then).
size_t FindOutsideQuotes(std::string_view text, char wanted) {
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '"')
            quoted = !quoted;
        else if (text[i] == wanted && !quoted)
            return i;
    }
    return std::string_view::npos;
}

std::vector<std::string> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string> parts;
    while (true) {
        size_t at = FindOutsideQuotes(text, separator);
        parts.emplace_back(text.substr(0, at));
        if (at == std::string_view::npos) return parts;
        text.remove_prefix(at + 1);
    }
}

bool IsQuotedPrintable(std::string_view line) {
    size_t colon = FindOutsideQuotes(line, ':');
    if (colon == std::string_view::npos) return false;
    std::vector<std::string> parts = SplitOutsideQuotes(line.substr(0, colon), ';');
    for (size_t i = 1; i < parts.size(); ++i) {
        std::string p = Upper(Trim(parts[i]));
        if (p == "QUOTED-PRINTABLE" || p == "ENCODING=QUOTED-PRINTABLE") return true;
    }
    return false;
}

// A quoted-printable value ending in "=" goes on in the next physical line.
bool EndsWithSoftBreak(const std::string& line) {
    return !line.empty() && line.back() == '=' && IsQuotedPrintable(line);
}

class Parser {
public:
    explicit Parser(const std::string& fileName) : fileName_(fileName) {}

    // vCard 2.1 folds before a blank that belongs to the value; later
    // versions insert the blank, and unfolding removes it.
    bool KeepsFoldingBlank() const { return version_ == "2.1"; }

    void Feed(const Line& line);
    std::vector<VCard> Finish();

private:
    [[noreturn]] void Fail(int line, const std::string& what) const {
        throw VCardError(fileName_ + ":" + std::to_string(line) + ": " + what);
    }
    void Property(const Line& line, const std::string& name, const std::vector<std::string>& params,
                  std::string_view value);

    const std::string& fileName_;
    std::vector<VCard> cards_;
    std::optional<VCard> card_;
    std::string version_ = "2.1";
};

void Parser::Feed(const Line& line) {
    if (Trim(line.text).empty()) return;
    size_t colon = FindOutsideQuotes(line.text, ':');
    if (colon == std::string::npos) {
        std::string shown = line.text.size() > 40 ? line.text.substr(0, 40) + "..." : line.text;
        Fail(line.number, "not a vCard line (no ':'): " + shown);
    }
    std::vector<std::string> head = SplitOutsideQuotes(std::string_view(line.text).substr(0, colon), ';');
    std::string name = Upper(Trim(head[0]));
    if (size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(0, dot + 1);  // "item1.TEL"
    if (name.empty()) Fail(line.number, "a property without a name");
    std::string_view value = std::string_view(line.text).substr(colon + 1);

    if (name == "BEGIN") {
        if (Upper(Trim(std::string(value))) != "VCARD")
            Fail(line.number, "BEGIN:" + std::string(value) + " is not a vCard");
        if (card_)
            Fail(line.number, "BEGIN:VCARD inside the card begun at line " + std::to_string(card_->line) +
                                  " (is its END:VCARD missing?)");
        card_.emplace();
        card_->line = line.number;
        version_ = "2.1";
        return;
    }
    if (!card_) Fail(line.number, "text outside BEGIN:VCARD ... END:VCARD");
    if (name == "END") {
        if (Upper(Trim(std::string(value))) != "VCARD")
            Fail(line.number,
                 "END:" + std::string(value) + " does not end the card begun at line " + std::to_string(card_->line));
        cards_.push_back(std::move(*card_));
        card_.reset();
        return;
    }
    if (name == "VERSION") {
        std::string version = Trim(std::string(value));
        if (version != "2.1" && version != "3.0" && version != "4.0")
            Fail(line.number, "unsupported vCard version " + version);
        version_ = version;
        return;
    }
    if (name == "N" || name == "FN" || name == "ORG" || name == "TEL" || name == "X-FILE-AS" ||
        name == "X-EVOLUTION-FILE-AS")
        Property(line, name, head, value);
}

void Parser::Property(const Line& line, const std::string& name, const std::vector<std::string>& params,
                      std::string_view value) {
    std::string encoding, charset;
    std::vector<std::string> types;
    for (size_t i = 1; i < params.size(); ++i) {
        std::string p = Trim(params[i]);
        size_t eq = p.find('=');
        if (eq == std::string::npos) {
            // vCard 2.1 writes bare values: "TEL;CELL;VOICE:", "N;QUOTED-PRINTABLE:".
            std::string bare = Upper(p);
            if (bare == "QUOTED-PRINTABLE" || bare == "BASE64" || bare == "8BIT" || bare == "7BIT")
                encoding = bare;
            else if (!bare.empty())
                types.push_back(bare);
            continue;
        }
        std::string key = Upper(Trim(p.substr(0, eq)));
        std::string val = Trim(p.substr(eq + 1));
        if (val.size() >= 2 && val.front() == '"' && val.back() == '"') val = val.substr(1, val.size() - 2);
        if (key == "TYPE") {
            for (const std::string& t : SplitOutsideQuotes(val, ','))
                if (std::string type = Upper(Trim(t)); !type.empty()) types.push_back(type);
        } else if (key == "ENCODING") {
            encoding = Upper(val);
        } else if (key == "CHARSET") {
            charset = Upper(val);
        }
    }

    std::string bytes;
    if (encoding.empty() || encoding == "8BIT" || encoding == "7BIT") {
        bytes = std::string(value);
    } else if (encoding == "QUOTED-PRINTABLE") {
        if (!DecodeQuotedPrintable(value, &bytes)) Fail(line.number, "bad quoted-printable in " + name);
    } else {
        Fail(line.number, "unknown encoding " + encoding + " of " + name);
    }
    unsigned codePage = CodePageOfCharset(charset);
    if (codePage == 0) Fail(line.number, "unknown charset " + charset + " of " + name);
    std::u16string text;
    if (!DecodeCharset(bytes, codePage, &text)) {
        if (codePage != CP_UTF8) Fail(line.number, name + " is not valid " + charset);
        Fail(line.number, name + " is not valid UTF-8" + (charset.empty() ? " (and names no CHARSET)" : ""));
    }
    // The store's texts end at a NUL: what followed it would be lost.
    if (text.find(u'\0') != std::u16string::npos) Fail(line.number, name + " holds a NUL character (=00)");

    // Refused here rather than by the store, so that the line is named.
    auto fitting = [&](std::u16string field) {
        if (field.size() > host::kMaxContactText)
            Fail(line.number, name + " holds a text of " + std::to_string(field.size()) +
                                  " characters; a contact property holds at most " +
                                  std::to_string(host::kMaxContactText));
        return field;
    };
    const bool version3 = version_ != "2.1";
    VCard& card = *card_;
    // The first of a repeated property counts.
    if (name == "N" && !card.hasName) {
        std::vector<std::u16string> parts = SplitComponents(text, version3);
        card.hasName = true;
        card.lastName = fitting(Trim(parts[0]));
        if (parts.size() > 1) card.firstName = fitting(Trim(parts[1]));
    } else if (name == "FN" && card.formattedName.empty()) {
        card.formattedName = fitting(Trim(Unescape(text, version3)));
    } else if (name == "ORG" && card.organization.empty()) {
        card.organization = fitting(Trim(SplitComponents(text, version3)[0]));
    } else if ((name == "X-FILE-AS" || name == "X-EVOLUTION-FILE-AS") && card.fileAs.empty()) {
        card.fileAs = fitting(Trim(Unescape(text, version3)));
    } else if (name == "TEL") {
        std::u16string number = fitting(Trim(Unescape(text, version3)));
        // vCard 4.0 and some 3.0 writers give a URI.
        if (number.size() >= 4 && (number[0] | 0x20) == u't' && (number[1] | 0x20) == u'e' &&
            (number[2] | 0x20) == u'l' && number[3] == u':')
            number = Trim(number.substr(4));
        if (!number.empty()) card.tels.push_back(VCardTel{line.number, number, types});
    }
}

std::vector<VCard> Parser::Finish() {
    if (card_) Fail(card_->line, "the card begun here has no END:VCARD");
    if (cards_.empty()) throw VCardError(fileName_ + ": no vCard in the file (no BEGIN:VCARD)");
    return std::move(cards_);
}

}  // namespace

std::vector<VCard> ParseVCards(std::string_view bytes, const std::string& fileName) {
    if (bytes.size() >= 2 && ((bytes[0] == '\xFF' && bytes[1] == '\xFE') || (bytes[0] == '\xFE' && bytes[1] == '\xFF')))
        throw VCardError(fileName + ":1: the file is UTF-16 text; save it as UTF-8");
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);

    Parser parser(fileName);
    std::optional<Line> pending;
    int number = 0;
    while (!bytes.empty()) {
        size_t end = bytes.find('\n');
        std::string text(bytes.substr(0, end));
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.find('\0') != std::string::npos)
            throw VCardError(fileName + ":" + std::to_string(number) + ": a NUL byte: not a text file");
        if (pending) {
            if (EndsWithSoftBreak(pending->text)) {
                pending->text.pop_back();
                pending->text += text;
                continue;
            }
            if (!text.empty() && (text[0] == ' ' || text[0] == '\t')) {
                pending->text += parser.KeepsFoldingBlank() ? text : text.substr(1);
                continue;
            }
            parser.Feed(*pending);
        }
        pending = Line{number, std::move(text)};
    }
    if (pending) parser.Feed(*pending);
    return parser.Finish();
}

}  // namespace phone
