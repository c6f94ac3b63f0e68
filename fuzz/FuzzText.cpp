#include "FuzzText.h"

#include <coredll_host.h>

#include <string_view>

namespace fuzz {

std::u16string TextOf(const uint8_t* data, size_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) {
        std::u16string text;
        for (size_t i = 2; i + 1 < size; i += 2) text += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        return text;
    }
    return host::FromUtf8(std::string_view(reinterpret_cast<const char*>(data), size));
}

ExactText::ExactText(const std::u16string& text, bool terminated)
    : chars_(new WCHAR[text.size() + (terminated ? 1 : 0)]), length_(static_cast<int>(text.size())) {
    text.copy(chars_.get(), text.size());
    if (terminated) chars_[text.size()] = 0;
}

}  // namespace fuzz
