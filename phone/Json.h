// A small JSON writer for the emulator's machine-readable output: one
// object per line, strings escaped, nothing else.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace phone {

class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    // A member name inside an object; the value follows.
    JsonWriter& Key(std::string_view name);
    JsonWriter& String(std::string_view utf8);
    JsonWriter& String(std::u16string_view text);
    JsonWriter& Number(int64_t value);
    JsonWriter& Bool(bool value);
    JsonWriter& Null();
    // Inserts an already written JSON value.
    JsonWriter& Raw(std::string_view json);

    const std::string& str() const { return out_; }

private:
    void BeforeValue();
    std::string out_;
    bool needComma_ = false;
};

// The JSON form of a string, quotes included.
std::string JsonQuote(std::string_view utf8);

}  // namespace phone
