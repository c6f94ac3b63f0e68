// Character classes and case mapping of WCHARs: Unicode's classes and
// simple case mapping over the whole BMP, not only ASCII.
#include <coredll_host.h>
#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(CharClass, DigitsAreTheDecimalDigitsOfEveryScript) {
    struct Digit {
        WCHAR c;
        int value;
    };
    const Digit digits[] = {
        {u'0', 0},   {u'9', 9},   {0x0660, 0},  // Arabic-Indic
        {0x0667, 7}, {0x06F4, 4},               // extended Arabic-Indic
        {0x0966, 0}, {0x096F, 9},               // Devanagari
        {0x09E8, 2}, {0x0E53, 3},               // Bengali, Thai
        {0xFF10, 0}, {0xFF19, 9},               // fullwidth
    };
    for (const Digit& d : digits) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<int>(d.c));
        EXPECT_TRUE(iswdigit(d.c));
        EXPECT_TRUE(iswctype(d.c, _DIGIT));
        EXPECT_FALSE(iswalpha(d.c));
        EXPECT_EQ(host::DigitValue(d.c), d.value);
    }
    // Numbers that are not decimal digits: fractions, superscripts, Roman
    // numerals, circled digits; and letters, signs and surrogates.
    const WCHAR notDigits[] = {0x00BD, 0x00B2, 0x2167, 0x2460, u'a', u'Z', 0x0417, u'+', u'(', u' ', 0xD835, 0xDFCE};
    for (WCHAR c : notDigits) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<int>(c));
        EXPECT_FALSE(iswdigit(c));
        EXPECT_EQ(host::DigitValue(c), -1);
    }
}

TEST(CharClass, DigitClassAndDigitValueAgreeOverTheWholeBmp) {
    int digits = 0;
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        WCHAR w = static_cast<WCHAR>(c);
        int value = host::DigitValue(w);
        ASSERT_EQ(iswdigit(w) != 0, value >= 0) << std::hex << c;
        if (value < 0) continue;
        ++digits;
        // Digits come in runs of ten from zero, so a digit's successor in its run is value + 1.
        if (value < 9) {
            ASSERT_EQ(host::DigitValue(static_cast<WCHAR>(c + 1)), value + 1) << std::hex << c;
        }
    }
    EXPECT_GT(digits, 300);  // some thirty scripts have their own digits
    EXPECT_EQ(digits % 10, 0);
}

TEST(CharClass, CaseMappingCoversCyrillicGreekArmenianAndFullwidth) {
    struct Pair {
        WCHAR upper, lower;
    };
    const Pair pairs[] = {
        {u'A', u'a'},     {u'Z', u'z'},     {0x00C9, 0x00E9},  // É é
        {0x0178, 0x00FF}, {0x0100, 0x0101},                    // Ÿ ÿ, Ā ā
        {0x0401, 0x0451}, {0x042F, 0x044F}, {0x0416, 0x0436},  // Ё ё, Я я, Ж ж
        {0x0490, 0x0491}, {0x0391, 0x03B1}, {0x03A3, 0x03C3},  // Ґ ґ, Α α, Σ σ
        {0x0531, 0x0561}, {0xFF21, 0xFF41}, {0x10A0, 0x2D00},  // Armenian, fullwidth, Georgian
    };
    for (const Pair& p : pairs) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << static_cast<int>(p.upper));
        EXPECT_EQ(towlower(p.upper), p.lower);
        EXPECT_EQ(towupper(p.lower), p.upper);
        EXPECT_EQ(towlower(p.lower), p.lower);
        EXPECT_EQ(towupper(p.upper), p.upper);
        EXPECT_TRUE(iswupper(p.upper));
        EXPECT_TRUE(iswlower(p.lower));
        EXPECT_FALSE(iswlower(p.upper));
        EXPECT_TRUE(iswalpha(p.upper) && iswalpha(p.lower));
    }
    // Simple mapping: one character to one character, or none.
    EXPECT_EQ(towupper(WCHAR(0x03C2)), 0x03A3);  // final sigma
    EXPECT_EQ(towlower(WCHAR(0x0130)), u'i');    // İ
    EXPECT_EQ(towupper(WCHAR(0x00DF)), 0x00DF);  // ß has no single-character uppercase
    EXPECT_EQ(towupper(WCHAR(0x0131)), u'I');    // dotless ı
    const WCHAR unchanged[] = {u'5', u'-', 0x0660, 0x4E2D, 0xD800, 0xDC00, 0xFFFF, 0};
    for (WCHAR c : unchanged) {
        EXPECT_EQ(towlower(c), c);
        EXPECT_EQ(towupper(c), c);
    }
}

TEST(CharClass, SpacesBlanksPunctuationControlsAndHexDigits) {
    for (WCHAR c : {u' ', u'\t', u'\n', u'\r', u'\v', u'\f', WCHAR(0x00A0), WCHAR(0x2028), WCHAR(0x3000)}) {
        EXPECT_TRUE(iswspace(c)) << std::hex << static_cast<int>(c);
        EXPECT_FALSE(iswalpha(c));
    }
    for (WCHAR c : {u'a', u'0', u'_', WCHAR(0x200B), WCHAR(0)})
        EXPECT_FALSE(iswspace(c)) << std::hex << static_cast<int>(c);

    EXPECT_TRUE(iswctype(u' ', _BLANK));
    EXPECT_TRUE(iswctype(u'\t', _BLANK));
    EXPECT_FALSE(iswctype(u'\n', _BLANK));

    for (WCHAR c : {u'!', u',', u'(', u'+', u'$', WCHAR(0x00AB), WCHAR(0x2014), WCHAR(0x3002)})
        EXPECT_TRUE(iswctype(c, _PUNCT)) << std::hex << static_cast<int>(c);
    EXPECT_FALSE(iswctype(u'a', _PUNCT));

    EXPECT_TRUE(iswctype(WCHAR(0x01), _CONTROL));
    EXPECT_TRUE(iswctype(WCHAR(0x7F), _CONTROL));
    EXPECT_FALSE(iswctype(u'a', _CONTROL));

    for (WCHAR c : {u'0', u'9', u'a', u'f', u'A', u'F'}) EXPECT_TRUE(iswctype(c, _HEX));
    for (WCHAR c : {u'g', u'G', u'x', WCHAR(0x0660)}) EXPECT_FALSE(iswctype(c, _HEX));

    // Letters of every script; surrogate code units are nothing at all.
    for (WCHAR c : {u'q', WCHAR(0x05D0), WCHAR(0x0905), WCHAR(0x4E2D), WCHAR(0xAC00)})
        EXPECT_TRUE(iswalpha(c)) << std::hex << static_cast<int>(c);
    for (WCHAR c : {WCHAR(0xD800), WCHAR(0xDBFF), WCHAR(0xDC00), WCHAR(0xDFFF)})
        EXPECT_EQ(iswctype(c, 0xFFFF), 0) << std::hex << static_cast<int>(c);
}

}  // namespace
