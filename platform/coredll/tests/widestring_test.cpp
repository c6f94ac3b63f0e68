// The C library's wide-string functions on WCHAR text.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>

namespace {

TEST(WideString, CopyConcatenateAndMeasure) {
    WCHAR buf[16];
    EXPECT_EQ(wcscpy(buf, u"Да"), buf);
    EXPECT_EQ(wcscat(buf, u", нет"), buf);
    EXPECT_EQ(std::u16string(buf), u"Да, нет");
    EXPECT_EQ(wcslen(buf), 7u);
    EXPECT_EQ(wcslen(u""), 0u);
}

TEST(WideString, WcsncpyPadsWithNulsAndMayLeaveTextUnterminated) {
    WCHAR buf[8];
    std::fill(std::begin(buf), std::end(buf), u'x');
    EXPECT_EQ(wcsncpy(buf, u"ab", 5), buf);
    EXPECT_EQ(std::u16string(buf, 6), std::u16string(u"ab\0\0\0x", 6));

    std::fill(std::begin(buf), std::end(buf), u'x');
    wcsncpy(buf, u"abcdef", 3);
    EXPECT_EQ(std::u16string(buf, 4), u"abcx");
}

TEST(WideString, CompareOrdersByCodeUnit) {
    EXPECT_EQ(wcscmp(u"abc", u"abc"), 0);
    EXPECT_LT(wcscmp(u"ab", u"abc"), 0);
    EXPECT_GT(wcscmp(u"abd", u"abc"), 0);
    // Code units compare unsigned: a high character sorts after ASCII.
    EXPECT_GT(wcscmp(u"\xFF10", u"a"), 0);
    EXPECT_EQ(wcsncmp(u"abcX", u"abcY", 3), 0);
    EXPECT_NE(wcsncmp(u"abcX", u"abcY", 4), 0);
    EXPECT_EQ(wcsncmp(u"ab", u"ab", 10), 0);
}

TEST(WideString, CaseInsensitiveCompareFoldsCyrillicAndLatin) {
    EXPECT_EQ(_wcsicmp(u"Ёлка", u"ёЛКА"), 0);
    EXPECT_EQ(_wcsicmp(u"МОСКВА, Яуза", u"москва, яУЗА"), 0);
    EXPECT_EQ(_wcsicmp(u"Hello", u"hELLO"), 0);
    EXPECT_LT(_wcsicmp(u"abc", u"ABD"), 0);
    EXPECT_GT(_wcsicmp(u"Б", u"а"), 0);
    EXPECT_LT(_wcsicmp(u"Ab", u"aBc"), 0);
    EXPECT_EQ(_wcsnicmp(u"ЖУК-1", u"жук-2", 4), 0);
    EXPECT_NE(_wcsnicmp(u"ЖУК-1", u"жук-2", 5), 0);
}

TEST(WideString, SearchFunctions) {
    const WCHAR* text = u"+7 (495) 123-45-67";
    EXPECT_EQ(wcschr(text, u'('), text + 3);
    EXPECT_EQ(wcschr(text, u'x'), nullptr);
    EXPECT_EQ(wcschr(text, 0), text + wcslen(text));  // the terminator is part of the string
    EXPECT_EQ(wcsrchr(text, u'-'), text + 15);
    EXPECT_EQ(wcsrchr(text, 0), text + wcslen(text));
    EXPECT_EQ(wcsrchr(text, u'x'), nullptr);

    EXPECT_EQ(wcsstr(text, u""), text);
    EXPECT_EQ(wcsstr(text, u"123"), text + 9);
    const WCHAR* overlapping = u"aaab";
    EXPECT_EQ(wcsstr(overlapping, u"aab"), overlapping + 1);
    EXPECT_EQ(wcsstr(u"ab", u"abc"), nullptr);
    EXPECT_EQ(wcsstr(u"", u"a"), nullptr);
}

TEST(WideString, WcstolParsesLikeTheCLibrary) {
    WCHAR* end = nullptr;
    const WCHAR* s = u"  -123abc";
    EXPECT_EQ(wcstol(s, &end, 10), -123);
    EXPECT_EQ(end, s + 6);

    EXPECT_EQ(wcstol(u"0x1F", nullptr, 16), 31);
    EXPECT_EQ(wcstol(u"0x1F", nullptr, 0), 31);
    EXPECT_EQ(wcstol(u"017", nullptr, 0), 15);
    EXPECT_EQ(wcstol(u"+z", nullptr, 36), 35);

    // "0x" without a hex digit is the number 0 followed by "x".
    s = u"0xg";
    EXPECT_EQ(wcstol(s, &end, 16), 0);
    EXPECT_EQ(end, s + 1);

    // No number at all: the end is the start of the text, spaces included.
    s = u"  -";
    EXPECT_EQ(wcstol(s, &end, 10), 0);
    EXPECT_EQ(end, s);

    // The phone's long is 32 bits: out of range saturates there.
    errno = 0;
    EXPECT_EQ(wcstol(u"2147483647", nullptr, 10), 2147483647L);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wcstol(u"-2147483648", nullptr, 10), -2147483647L - 1);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wcstol(u"2147483648", nullptr, 10), 2147483647L);
    EXPECT_EQ(errno, ERANGE);
    errno = 0;
    s = u"-99999999999999999999999 rest";
    EXPECT_EQ(wcstol(s, &end, 10), -2147483647L - 1);
    EXPECT_EQ(errno, ERANGE);
    EXPECT_EQ(end, s + 24);
}

TEST(WideString, WcstoulAndWtoi) {
    errno = 0;
    EXPECT_EQ(wcstoul(u"4294967295", nullptr, 10), 4294967295UL);
    EXPECT_EQ(errno, 0);
    EXPECT_EQ(wcstoul(u"4294967296", nullptr, 10), 4294967295UL);
    EXPECT_EQ(errno, ERANGE);
    // A minus sign negates in the 32-bit unsigned type.
    EXPECT_EQ(wcstoul(u"-1", nullptr, 10), 4294967295UL);
    EXPECT_EQ(wcstoul(u"ffff", nullptr, 16), 65535UL);

    EXPECT_EQ(_wtoi(u"42"), 42);
    EXPECT_EQ(_wtoi(u" \t-17 apples"), -17);
    EXPECT_EQ(_wtoi(u"apples"), 0);
    EXPECT_EQ(_wtoi(u""), 0);
}

}  // namespace
