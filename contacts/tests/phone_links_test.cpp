// Telephone links: the anchors as the bubble expects them, and HTML
// escaping of everything else the message contributes.
#include "PhoneLinks.h"

#include <coredll_host.h>
#include <gtest/gtest.h>

#include <string>

namespace {

// The linked text, or "<unchanged>" when the pass gives none.
std::u16string Link(const std::u16string& text, LONG m = 7) {
    Settings settings;
    settings.PhoneNumLen = m;
    LPWSTR linked = reinterpret_cast<LPWSTR>(1);
    BOOL done = LinkPhoneNumbers(text.c_str(), settings, &linked);
    if (!done) {
        EXPECT_EQ(linked, nullptr);
        return u"<unchanged>";
    }
    EXPECT_NE(linked, nullptr);
    std::u16string result = linked ? linked : u"";
    LocalFree(linked);
    return result;
}

std::u16string Anchor(const std::u16string& number, int index) {
    std::u16string name = u"tel";
    for (char c : std::to_string(index)) name += char16_t(c);
    return u"<a href='tel:" + number + u"' name='" + name + u"'>" + number + u"</a>";
}

TEST(PhoneLinks, NumbersBecomeNumberedTelAnchors) {
    EXPECT_EQ(Link(u"Call +7 (916) 1234567 now, or 8-916-765-43-21!"),
              u"Call <a href='tel:+7 (916) 1234567' name='tel1'>+7 (916) 1234567</a> now, or "
              u"<a href='tel:8-916-765-43-21' name='tel2'>8-916-765-43-21</a>!");
    // In a display name only the number inside the brackets is linked.
    EXPECT_EQ(Link(u"Dovanne Mirela,m (89161234567)"), u"Dovanne Mirela,m (" + Anchor(u"89161234567", 1) + u")");
    EXPECT_EQ(Link(u"x 1234567 7654321"), u"x " + Anchor(u"1234567 7654321", 1));
}

TEST(PhoneLinks, TextWithoutNumbersOrMarkupIsLeftToTheCaller) {
    EXPECT_EQ(Link(u""), u"<unchanged>");
    EXPECT_EQ(Link(u"Just text, with 12 digits; 100% plain @ home"), u"<unchanged>");
    EXPECT_EQ(Link(u"abc 1234567", 10), u"<unchanged>");
}

TEST(PhoneLinks, EverythingTheTextContributesIsEscaped) {
    EXPECT_EQ(Link(u"<b>Tom & Jerry</b> say \"hi\" 'n bye"),
              u"&lt;b&gt;Tom &amp; Jerry&lt;/b&gt; say &quot;hi&quot; &#39;n bye");
    EXPECT_EQ(
        Link(u"<script>alert(1)</script> call 89161234567 <a href='x'>"),
        u"&lt;script&gt;alert(1)&lt;/script&gt; call " + Anchor(u"89161234567", 1) + u" &lt;a href=&#39;x&#39;&gt;");
    // Markup characters right against a number end it and are escaped.
    EXPECT_EQ(Link(u"a<1234567>b&7654321\""),
              u"a&lt;" + Anchor(u"1234567", 1) + u"&gt;b&amp;" + Anchor(u"7654321", 2) + u"&quot;");
    EXPECT_EQ(Link(u"&amp;"), u"&amp;amp;");
}

TEST(PhoneLinks, ManyAndLongNumbers) {
    std::u16string text, expected;
    for (int i = 1; i <= 120; ++i) {
        text += u"; 8916123456" + std::u16string(1, char16_t(u'0' + i % 10));
        expected += u"; " + Anchor(u"8916123456" + std::u16string(1, char16_t(u'0' + i % 10)), i);
    }
    EXPECT_EQ(Link(text), expected);
    // Longer than one formatted line of the platform (1024 characters).
    std::u16string digits(3000, u'7');
    EXPECT_EQ(Link(u"x " + digits), u"x " + Anchor(digits, 1));
}

TEST(PhoneLinks, BadArgumentsAndMemoryShortage) {
    Settings settings;
    LPWSTR linked = nullptr;
    EXPECT_FALSE(LinkPhoneNumbers(nullptr, settings, &linked));
    EXPECT_EQ(linked, nullptr);
    EXPECT_FALSE(LinkPhoneNumbers(u"call 89161234567", settings, nullptr));
    // No allocation may leak or leave half a text behind.
    for (int nth = 1; nth <= 4; ++nth) {
        host::FailCall("LocalAlloc", nth, ERROR_NOT_ENOUGH_MEMORY);
        linked = nullptr;
        BOOL done = LinkPhoneNumbers(u"<call> 89161234567 & 89161234568", settings, &linked);
        host::ClearFaults();
        if (done) {
            EXPECT_EQ(std::u16string(linked),
                      u"&lt;call&gt; " + Anchor(u"89161234567", 1) + u" &amp; " + Anchor(u"89161234568", 2));
            LocalFree(linked);
        } else {
            EXPECT_EQ(linked, nullptr);
        }
    }
}

}  // namespace
