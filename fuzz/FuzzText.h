// What the fuzz targets make of libFuzzer's bytes when they want text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace fuzz {

// The bytes as UTF-16. Behind a UTF-16LE byte order mark every pair of
// bytes is one code unit, NULs and lone surrogates included; otherwise the
// bytes are UTF-8 (what is not valid becomes U+FFFD), so that the seeds
// stay readable text.
std::u16string TextOf(const uint8_t* data, size_t size);

// A heap block of exactly the text's characters and, when asked, its NUL:
// a read one past the end is then a read outside the block, which the
// address sanitizer reports, where a string's spare capacity would hide it.
class ExactText {
public:
    ExactText(const std::u16string& text, bool terminated);
    LPCWSTR get() const { return chars_.get(); }
    int length() const { return length_; }

private:
    std::unique_ptr<WCHAR[]> chars_;
    int length_;
};

}  // namespace fuzz
