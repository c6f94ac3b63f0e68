// wsprintfW and _snwprintf: the conversions the system formats with, and
// the bounds both keep.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

namespace {

template <typename... Args>
std::u16string Wsprintf(const WCHAR* format, Args... args) {
    WCHAR buf[1024];
    int n = wsprintfW(buf, format, args...);
    EXPECT_EQ(static_cast<size_t>(n), wcslen(buf));
    return std::u16string(buf, n);
}

TEST(WideFormat, Conversions) {
    EXPECT_EQ(Wsprintf(u"%d|%i|%u", -42, 17, 0xFFFFFFFFu), u"-42|17|4294967295");
    EXPECT_EQ(Wsprintf(u"%x|%X|%#x|%#X|%#x", 0xBEEFu, 0xBEEFu, 255u, 255u, 0u), u"beef|BEEF|0xff|0XFF|0");
    EXPECT_EQ(Wsprintf(u"%c%c|%C", u'Ж', u'!', 'z'), u"Ж!|z");
    EXPECT_EQ(Wsprintf(u"%s and %S", u"Вася", "Petya"), u"Вася and Petya");
    EXPECT_EQ(Wsprintf(u"%ls|%hs|%lc|%hc", u"wide", "narrow", u'Ё', 'n'), u"wide|narrow|Ё|n");
    EXPECT_EQ(Wsprintf(u"100%% sure"), u"100% sure");
    EXPECT_EQ(Wsprintf(u"[%s|%S]", static_cast<const WCHAR*>(nullptr), static_cast<const char*>(nullptr)),
              u"[(null)|(null)]");
    // Narrow text is widened byte by byte.
    EXPECT_EQ(Wsprintf(u"%S", "caf\xE9"), u"café");

    int x = 0;
    std::u16string p = Wsprintf(u"%p", &x);
    EXPECT_EQ(p.size(), 2 * sizeof(void*));
    EXPECT_EQ(std::stoull(std::string(p.begin(), p.end()), nullptr, 16), reinterpret_cast<uintptr_t>(&x));
}

TEST(WideFormat, SizePrefixesReadTheirArgumentWidths) {
    LONG l = -5;
    DWORD dw = 4000000000u;
    EXPECT_EQ(Wsprintf(u"%ld %lu %lx", l, dw, dw), u"-5 4000000000 ee6b2800");
    EXPECT_EQ(Wsprintf(u"%hd %hu", 65535, 65537), u"-1 1");
    EXPECT_EQ(Wsprintf(u"%I64d %lld", INT64_MIN, 1234567890123LL), u"-9223372036854775808 1234567890123");
    EXPECT_EQ(Wsprintf(u"%I64x|%I64u", 0x123456789ABCDEFull, UINT64_MAX), u"123456789abcdef|18446744073709551615");
    // 64-bit and 32-bit arguments mixed keep their places.
    EXPECT_EQ(Wsprintf(u"%d %I64d %d %s", 1, -2LL, 3, u"end"), u"1 -2 3 end");
}

TEST(WideFormat, WidthPrecisionAndFlags) {
    EXPECT_EQ(Wsprintf(u"[%5d][%-5d][%05d][%05d]", 42, 42, 42, -42), u"[   42][42   ][00042][-0042]");
    EXPECT_EQ(Wsprintf(u"[%.3d][%8.3d][%-8.3d][%08.3d]", 7, 7, -7, 7), u"[007][     007][-007    ][     007]");
    EXPECT_EQ(Wsprintf(u"[%+d][%+d][% d][% d][%+u]", 5, -5, 5, -5, 5u), u"[+5][-5][ 5][-5][5]");
    EXPECT_EQ(Wsprintf(u"[%.0d][%5.0d][%.0x]", 0, 0, 0u), u"[][     ][]");
    EXPECT_EQ(Wsprintf(u"[%#06x][%-#6x]", 0x1Fu, 0x1Fu), u"[0x001f][0x1f  ]");
    EXPECT_EQ(Wsprintf(u"[%6s][%-6s][%3s]", u"ab", u"ab", u"abcdef"), u"[    ab][ab    ][abcdef]");
    EXPECT_EQ(Wsprintf(u"[%3c][%-3c]", u'x', u'y'), u"[  x][y  ]");
    // "*" takes width and precision from the arguments; a negative width
    // aligns left, a negative precision is none.
    EXPECT_EQ(Wsprintf(u"[%*d][%*d][%.*d][%.*d]", 4, 1, -4, 1, 3, 1, -1, 1), u"[   1][1   ][001][1]");
    EXPECT_EQ(Wsprintf(u"[%*.*s]", 6, 2, u"abcdef"), u"[    ab]");
}

TEST(WideFormat, PrecisionLimitsTheTextTaken) {
    EXPECT_EQ(Wsprintf(u"%.3s|%.0s|%.10s", u"Привет", u"x", u"short"), u"При||short");
    EXPECT_EQ(Wsprintf(u"%.2S", "abc"), u"ab");
    EXPECT_EQ(Wsprintf(u"%.3s", static_cast<const WCHAR*>(nullptr)), u"(nu");
    // With a precision the text need not be terminated: nothing past it is read.
    const WCHAR unterminated[3] = {u'a', u'b', u'c'};
    const char narrow[2] = {'x', 'y'};
    EXPECT_EQ(Wsprintf(u"%.3s-%.2S", unterminated, narrow), u"abc-xy");
}

TEST(WideFormat, UnknownConversionsAndTruncatedFormatsStandAsText) {
    EXPECT_EQ(Wsprintf(u"%q|%-5y|%5", 1), u"%q|%-5y|%5");
    EXPECT_EQ(Wsprintf(u"100%"), u"100%");
    EXPECT_EQ(Wsprintf(u"%I6"), u"%I6");
    // %n is never a write through an argument.
    int target = 7;
    EXPECT_EQ(Wsprintf(u"a%nb", &target), u"a%nb");
    EXPECT_EQ(target, 7);
}

TEST(WideFormat, WsprintfWritesAtMost1024CharactersWithTheNul) {
    std::u16string big(1500, u'ж');
    WCHAR buf[2000];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(wsprintfW(buf, u"%s", big.c_str()), 1023);
    EXPECT_EQ(buf[1022], u'ж');
    EXPECT_EQ(buf[1023], 0);
    EXPECT_EQ(buf[1024], u'#');

    // Padding is cut the same way.
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(wsprintfW(buf, u"%5000d", 1), 1023);
    EXPECT_EQ(buf[1023], 0);
    EXPECT_EQ(buf[1024], u'#');
}

TEST(WideFormat, SnwprintfReportsOverflowWithoutWritingPastCount) {
    WCHAR buf[16];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(_snwprintf(buf, 8, u"%d-%s", 12, u"ab"), 5);
    EXPECT_EQ(std::u16string(buf), u"12-ab");

    // Exactly count characters: all written, no terminator, count returned.
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(_snwprintf(buf, 5, u"%s", u"12345"), 5);
    EXPECT_EQ(std::u16string(buf, 8), u"12345###");

    // More than count: count characters written, no terminator, -1.
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(_snwprintf(buf, 4, u"%s%d", u"Привет", 99), -1);
    EXPECT_EQ(std::u16string(buf, 8), u"Прив####");

    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(_snwprintf(buf, 3, u"%-10s|", u"a"), -1);
    EXPECT_EQ(std::u16string(buf, 8), u"a  #####");

    // Nothing to write and no room: fine; something to write: -1.
    EXPECT_EQ(_snwprintf(nullptr, 0, u""), 0);
    EXPECT_EQ(_snwprintf(nullptr, 0, u"x"), -1);
    EXPECT_EQ(_snwprintf(buf, 0, u"x"), -1);
    EXPECT_EQ(buf[0], u'a');
}

}  // namespace
