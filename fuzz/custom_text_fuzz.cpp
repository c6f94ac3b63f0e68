// The delivered report's custom text, made from the input, with a
// contact's name put in. The text is the user's, never a format: the
// result is exactly the text with its first "@" and the "s" behind it
// replaced by the name, or the text unchanged, whatever "%" or "@" it
// holds. Names that look like formats, an empty and a null name.
#include "CustomText.h"
#include "FuzzCheck.h"
#include "FuzzText.h"

#include <string>

namespace {

std::u16string Expected(const std::u16string& text, const char16_t* name) {
    size_t at = text.find(u'@');
    if (at == std::u16string::npos || at + 1 >= text.size() || text[at + 1] != u's') return text;
    return text.substr(0, at) + (name ? name : u"") + text.substr(at + 2);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string whole = fuzz::TextOf(data, size);
    // A custom text is read from the registry up to its first NUL.
    const std::u16string text = whole.substr(0, whole.find(u'\0'));
    const fuzz::ExactText exact(text, true);
    const WString custom = WString::FromText(exact.get());
    static const char16_t* const kNames[] = {u"Dovanne Mirela,m (89161234567)", u"%s%d%n%%", u"@s", u"", nullptr};
    for (const char16_t* name : kNames) {
        WString result = FormatCustomText(custom, name);
        FUZZ_CHECK(result.Text() != nullptr);
        FUZZ_CHECK(std::u16string(result.Text(), result.Length()) == Expected(text, name));
        FUZZ_CHECK(result.Text()[result.Length()] == 0);
    }
    FUZZ_CHECK(std::u16string(custom.Text(), custom.Length()) == text);
    return 0;
}
