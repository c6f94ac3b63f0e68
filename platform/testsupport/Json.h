// A small JSON reader for the emulator's output: tests look members up by
// name instead of matching text in a fixed order. A member or element that
// is not there reads as a "missing" value, so that a chain of lookups never
// throws and a failed expectation names what was missing.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace testing_support {

class JsonValue {
public:
    enum class Kind { Missing, Null, Bool, Number, String, Array, Object };

    JsonValue() = default;

    Kind kind() const { return kind_; }
    bool IsMissing() const { return kind_ == Kind::Missing; }
    bool IsNull() const { return kind_ == Kind::Null; }

    // The value as the type asked for; "<missing>"/"<not a string>", 0 or
    // false when it is of another kind.
    std::string Text() const;
    double Number() const { return kind_ == Kind::Number ? number_ : 0; }
    long long Int() const { return static_cast<long long>(Number()); }
    bool Bool() const { return kind_ == Kind::Bool && bool_; }

    // Members and elements.
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](size_t index) const;
    bool Has(const std::string& key) const { return kind_ == Kind::Object && members_.count(key) > 0; }
    size_t size() const { return kind_ == Kind::Array ? elements_.size() : members_.size(); }
    const std::vector<JsonValue>& Elements() const { return elements_; }

    // The value written back compactly (members in name order), for messages.
    std::string Dump() const;

private:
    friend class JsonParser;
    Kind kind_ = Kind::Missing;
    bool bool_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<JsonValue> elements_;
    std::map<std::string, JsonValue> members_;
};

// Parses one JSON text; a value of kind Missing, with *error set, when the
// text is not JSON (trailing text included).
JsonValue ParseJson(const std::string& text, std::string* error = nullptr);

}  // namespace testing_support
