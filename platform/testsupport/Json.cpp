#include "Json.h"

#include <cstdio>
#include <cstdlib>

namespace testing_support {

namespace {
const JsonValue kMissing;

void AppendUtf8(std::string& out, unsigned code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

void DumpString(std::string& out, const std::string& text) {
    out += '"';
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
            out += buffer;
        } else {
            out += static_cast<char>(c);
        }
    }
    out += '"';
}
}  // namespace

class JsonParser {
public:
    explicit JsonParser(const std::string& text) : text_(text) {}

    bool Parse(JsonValue* out, std::string* error) {
        if (!Value(out, 0)) {
            if (error) *error = error_ + " at offset " + std::to_string(at_);
            return false;
        }
        Space();
        if (at_ != text_.size()) {
            if (error) *error = "trailing text at offset " + std::to_string(at_);
            return false;
        }
        return true;
    }

private:
    bool Fail(const char* what) {
        error_ = what;
        return false;
    }
    void Space() {
        while (at_ < text_.size() &&
               (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\n' || text_[at_] == '\r'))
            ++at_;
    }
    bool Literal(const char* word) {
        size_t n = std::char_traits<char>::length(word);
        if (text_.compare(at_, n, word) != 0) return Fail("unknown literal");
        at_ += n;
        return true;
    }
    bool Hex4(unsigned* code) {
        if (at_ + 4 > text_.size()) return Fail("short \\u escape");
        *code = 0;
        for (int i = 0; i < 4; ++i) {
            char c = text_[at_++];
            *code <<= 4;
            if (c >= '0' && c <= '9')
                *code |= c - '0';
            else if (c >= 'a' && c <= 'f')
                *code |= c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                *code |= c - 'A' + 10;
            else
                return Fail("bad \\u escape");
        }
        return true;
    }
    bool String(std::string* out) {
        ++at_;  // the opening quote
        while (at_ < text_.size()) {
            char c = text_[at_++];
            if (c == '"') return true;
            if (static_cast<unsigned char>(c) < 0x20) return Fail("control character in a string");
            if (c != '\\') {
                *out += c;
                continue;
            }
            if (at_ >= text_.size()) break;
            char e = text_[at_++];
            switch (e) {
                case '"':
                case '\\':
                case '/':
                    *out += e;
                    break;
                case 'b':
                    *out += '\b';
                    break;
                case 'f':
                    *out += '\f';
                    break;
                case 'n':
                    *out += '\n';
                    break;
                case 'r':
                    *out += '\r';
                    break;
                case 't':
                    *out += '\t';
                    break;
                case 'u': {
                    unsigned code = 0;
                    if (!Hex4(&code)) return false;
                    if (code >= 0xD800 && code < 0xDC00 && text_.compare(at_, 2, "\\u") == 0) {
                        size_t back = at_;
                        at_ += 2;
                        unsigned low = 0;
                        if (Hex4(&low) && low >= 0xDC00 && low < 0xE000)
                            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                        else
                            at_ = back;
                    }
                    AppendUtf8(*out, code);
                    break;
                }
                default:
                    return Fail("bad escape");
            }
        }
        return Fail("unterminated string");
    }
    bool Value(JsonValue* out, int depth) {
        if (depth > 256) return Fail("nested too deeply");
        Space();
        if (at_ >= text_.size()) return Fail("no value");
        char c = text_[at_];
        if (c == '{') {
            out->kind_ = JsonValue::Kind::Object;
            ++at_;
            Space();
            if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
            for (;;) {
                Space();
                if (at_ >= text_.size() || text_[at_] != '"') return Fail("member name expected");
                std::string key;
                if (!String(&key)) return false;
                Space();
                if (at_ >= text_.size() || text_[at_] != ':') return Fail("':' expected");
                ++at_;
                if (!Value(&out->members_[key], depth + 1)) return false;
                Space();
                if (at_ < text_.size() && text_[at_] == ',') {
                    ++at_;
                    continue;
                }
                if (at_ < text_.size() && text_[at_] == '}') return ++at_, true;
                return Fail("',' or '}' expected");
            }
        }
        if (c == '[') {
            out->kind_ = JsonValue::Kind::Array;
            ++at_;
            Space();
            if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
            for (;;) {
                out->elements_.emplace_back();
                if (!Value(&out->elements_.back(), depth + 1)) return false;
                Space();
                if (at_ < text_.size() && text_[at_] == ',') {
                    ++at_;
                    continue;
                }
                if (at_ < text_.size() && text_[at_] == ']') return ++at_, true;
                return Fail("',' or ']' expected");
            }
        }
        if (c == '"') {
            out->kind_ = JsonValue::Kind::String;
            return String(&out->text_);
        }
        if (c == 't') {
            out->kind_ = JsonValue::Kind::Bool;
            out->bool_ = true;
            return Literal("true");
        }
        if (c == 'f') {
            out->kind_ = JsonValue::Kind::Bool;
            out->bool_ = false;
            return Literal("false");
        }
        if (c == 'n') {
            out->kind_ = JsonValue::Kind::Null;
            return Literal("null");
        }
        if (c == '-' || (c >= '0' && c <= '9')) {
            const char* start = text_.c_str() + at_;
            char* end = nullptr;
            out->number_ = std::strtod(start, &end);
            if (end == start) return Fail("bad number");
            out->kind_ = JsonValue::Kind::Number;
            at_ += static_cast<size_t>(end - start);
            return true;
        }
        return Fail("unexpected character");
    }

    const std::string& text_;
    size_t at_ = 0;
    std::string error_;
};

std::string JsonValue::Text() const {
    if (kind_ == Kind::String) return text_;
    return kind_ == Kind::Missing ? "<missing>" : "<not a string>";
}

const JsonValue& JsonValue::operator[](const std::string& key) const {
    if (kind_ != Kind::Object) return kMissing;
    auto it = members_.find(key);
    return it == members_.end() ? kMissing : it->second;
}

const JsonValue& JsonValue::operator[](size_t index) const {
    return kind_ == Kind::Array && index < elements_.size() ? elements_[index] : kMissing;
}

std::string JsonValue::Dump() const {
    std::string out;
    switch (kind_) {
        case Kind::Missing:
            return "<missing>";
        case Kind::Null:
            return "null";
        case Kind::Bool:
            return bool_ ? "true" : "false";
        case Kind::Number: {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", number_);
            return buffer;
        }
        case Kind::String:
            DumpString(out, text_);
            return out;
        case Kind::Array:
            out += '[';
            for (size_t i = 0; i < elements_.size(); ++i) out += (i ? "," : "") + elements_[i].Dump();
            return out + ']';
        case Kind::Object: {
            out += '{';
            bool first = true;
            for (const auto& [key, value] : members_) {
                if (!first) out += ',';
                first = false;
                DumpString(out, key);
                out += ':' + value.Dump();
            }
            return out + '}';
        }
    }
    return out;
}

JsonValue ParseJson(const std::string& text, std::string* error) {
    JsonValue value;
    JsonParser parser(text);
    if (!parser.Parse(&value, error)) return JsonValue();
    return value;
}

}  // namespace testing_support
