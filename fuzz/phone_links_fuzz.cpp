// Telephone links over a text made from the input; the first byte is
// PhoneNumLen (as a signed byte). The page must be the text and nothing
// else: read back (entities undone, each anchor taken for its number) it
// gives the text, the anchors are the only markup, numbered from 1, and
// FALSE comes only for a text that needs no link and no escape.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "NumberFinder.h"
#include "PhoneLinks.h"

#include <string>
#include <string_view>

namespace {

bool Take(std::u16string_view html, size_t* at, std::u16string_view expected) {
    if (html.substr(*at, expected.size()) != expected) return false;
    *at += expected.size();
    return true;
}

// One anchor at html[*at], its number appended to *text.
bool ReadAnchor(std::u16string_view html, size_t* at, int index, std::u16string* text) {
    if (!Take(html, at, u"<a href='tel:")) return false;
    size_t end = html.find(u'\'', *at);
    if (end == std::u16string_view::npos || end == *at) return false;
    std::u16string_view number = html.substr(*at, end - *at);
    for (char16_t c : number)
        if (!IsNumberChar(c)) return false;
    *at = end;
    std::u16string name = u"' name='tel";
    for (char c : std::to_string(index)) name += static_cast<char16_t>(c);
    if (!Take(html, at, name) || !Take(html, at, u"'>") || !Take(html, at, number) || !Take(html, at, u"</a>"))
        return false;
    *text += number;
    return true;
}

// The text a page shows; false when it holds markup other than the anchors.
bool TextOfPage(std::u16string_view html, std::u16string* text) {
    static const struct {
        std::u16string_view entity;
        char16_t c;
    } kEntities[] = {{u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&#39;", u'\''}};
    int links = 0;
    for (size_t at = 0; at < html.size();) {
        char16_t c = html[at];
        if (c == u'<') {
            if (!ReadAnchor(html, &at, ++links, text)) return false;
        } else if (c == u'&') {
            bool known = false;
            for (const auto& e : kEntities)
                if (Take(html, &at, e.entity)) {
                    *text += e.c;
                    known = true;
                    break;
                }
            if (!known) return false;
        } else if (c == u'>' || c == u'"' || c == u'\'') {
            return false;
        } else {
            *text += c;
            ++at;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    Settings settings;
    settings.PhoneNumLen = static_cast<int8_t>(data[0]);
    std::u16string whole = fuzz::TextOf(data + 1, size - 1);
    // The function reads up to the first NUL, as the message's text ends there.
    const std::u16string text = whole.substr(0, whole.find(u'\0'));
    const fuzz::ExactText exact(text, true);

    LPWSTR page = reinterpret_cast<LPWSTR>(1);
    if (!LinkPhoneNumbers(exact.get(), settings, &page)) {
        FUZZ_CHECK(page == nullptr);
        NumberSpan span;
        FUZZ_CHECK(!FindNextNumber(exact.get(), exact.length(), settings.PhoneNumLen, 0, &span));
        FUZZ_CHECK(text.find_first_of(u"&<>\"'") == std::u16string::npos);
        return 0;
    }
    FUZZ_CHECK(page != nullptr);
    std::u16string shown;
    FUZZ_CHECK(TextOfPage(page, &shown));
    FUZZ_CHECK(shown == text);
    LocalFree(page);
    return 0;
}
