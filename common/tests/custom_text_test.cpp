// The custom report text: the name goes in place of the first "@s", and
// nothing in the text is ever taken for a format.
#include "CustomText.h"

#include <coredll_host.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Of(const WString& s) { return s.Text() ? std::u16string(s.Text(), s.Length()) : u"<no text>"; }

std::u16string Format(const char16_t* custom, const char16_t* name) {
    return Of(FormatCustomText(WString::FromText(custom), name));
}

TEST(CustomText, TheFirstAtSFollowedBySIsTheName) {
    EXPECT_EQ(Format(u"Delivered to @s!", u"Dovanne Mirela,m (89161234567)"),
              u"Delivered to Dovanne Mirela,m (89161234567)!");
    EXPECT_EQ(Format(u"@s", u"Mirela"), u"Mirela");
    EXPECT_EQ(Format(u"@s got it", u"Mirela"), u"Mirela got it");
    // Only the first "@" counts.
    EXPECT_EQ(Format(u"@s and @s", u"N"), u"N and @s");
    EXPECT_EQ(Format(u"a@b, then @s", u"N"), u"a@b, then @s");
    EXPECT_EQ(Format(u"mail me@s.example", u"N"), u"mail meN.example");
}

TEST(CustomText, WithoutAtSTheTextStandsUnchanged) {
    EXPECT_EQ(Format(u"Delivered", u"N"), u"Delivered");
    EXPECT_EQ(Format(u"Delivered @", u"N"), u"Delivered @");
    EXPECT_EQ(Format(u"Delivered @S", u"N"), u"Delivered @S");
    EXPECT_EQ(Format(u"", u"N"), u"");
}

TEST(CustomText, PercentSignsAreCopiedAsTheyStand) {
    EXPECT_EQ(Format(u"%s %d %n %% %.*s @s %x", u"N"), u"%s %d %n %% %.*s N %x");
    EXPECT_EQ(Format(u"@d %s", u"N"), u"@d %s");
    EXPECT_EQ(Format(u"to @s", u"%s%n%%"), u"to %s%n%%");
}

TEST(CustomText, EmptyOrMissingName) {
    EXPECT_EQ(Format(u"to @s!", u""), u"to !");
    EXPECT_EQ(Format(u"to @s!", nullptr), u"to !");
    EXPECT_EQ(Format(u"@s", nullptr), u"");
    EXPECT_EQ(Of(FormatCustomText(WString(), u"N")), u"");
}

TEST(CustomText, LongTextsAndNames) {
    std::u16string name(3000, u'n');
    std::u16string tail(5000, u't');
    std::u16string custom = u"x@s" + tail;
    EXPECT_EQ(Format(custom.c_str(), name.c_str()), u"x" + name + tail);
}

TEST(CustomText, OutOfMemoryGivesNoText) {
    // Whichever allocation fails, the result is whole or has no text.
    for (int nth = 1; nth <= 3; ++nth) {
        WString custom = WString::FromText(u"Delivered to @s!");
        host::FailCall("LocalAlloc", nth, ERROR_NOT_ENOUGH_MEMORY);
        std::u16string result = Of(FormatCustomText(custom, u"N"));
        host::ClearFaults();
        EXPECT_TRUE(result == u"Delivered to N!" || result == u"<no text>") << nth;
    }
}

}  // namespace
