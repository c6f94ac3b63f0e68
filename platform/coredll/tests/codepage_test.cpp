// MultiByteToWideChar and WideCharToMultiByte for the phone's code pages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// "Привет" in windows-1251.
const char kPrivet1251[] = "\xCF\xF0\xE8\xE2\xE5\xF2";
// "Привет" in UTF-8.
const char kPrivetUtf8[] = "\xD0\x9F\xD1\x80\xD0\xB8\xD0\xB2\xD0\xB5\xD1\x82";

std::u16string ToWide(UINT cp, const std::string& bytes, DWORD flags = 0) {
    WCHAR buf[256];
    int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), buf, 256);
    return std::u16string(buf, n);
}

std::string ToBytes(UINT cp, const std::u16string& text, BOOL* usedDefault = nullptr,
                    const char* defaultChar = nullptr) {
    char buf[256];
    int n = WideCharToMultiByte(cp, 0, text.data(), static_cast<int>(text.size()), buf, 256, defaultChar, usedDefault);
    return std::string(buf, n);
}

TEST(CodePages, Windows1251IsTheRussianPhonesAnsiAndOemPage) {
    EXPECT_EQ(ToWide(1251, kPrivet1251), u"Привет");
    EXPECT_EQ(ToWide(CP_ACP, kPrivet1251), u"Привет");
    EXPECT_EQ(ToWide(CP_OEMCP, kPrivet1251), u"Привет");
    EXPECT_EQ(ToWide(1251, "\xA8\xB8\xB9 \x88"), u"Ёё№ €");
    EXPECT_EQ(ToBytes(1251, u"Ёжик №5"),
              "\xA8\xE6\xE8\xEA \xB9"
              "5");
    EXPECT_EQ(ToBytes(CP_ACP, u"Привет"), kPrivet1251);
}

TEST(CodePages, SizeQueriesAndTerminators) {
    // -1: the text is NUL-terminated and the count includes the NUL.
    EXPECT_EQ(MultiByteToWideChar(1251, 0, kPrivet1251, -1, nullptr, 0), 7);
    EXPECT_EQ(MultiByteToWideChar(1251, 0, kPrivet1251, 6, nullptr, 0), 6);
    WCHAR buf[8];
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(MultiByteToWideChar(1251, 0, kPrivet1251, -1, buf, 7), 7);
    EXPECT_EQ(std::u16string(buf), u"Привет");
    std::fill(std::begin(buf), std::end(buf), u'#');
    EXPECT_EQ(MultiByteToWideChar(1251, 0, kPrivet1251, 6, buf, 8), 6);
    EXPECT_EQ(buf[6], u'#');  // no NUL unless the input has one

    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(1251, 0, kPrivet1251, -1, buf, 6), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"Привет", -1, nullptr, 0, nullptr, nullptr), 13);
    EXPECT_EQ(WideCharToMultiByte(1251, 0, u"Привет", -1, nullptr, 0, nullptr, nullptr), 7);
    char bytes[16];
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"Привет", -1, bytes, 13, nullptr, nullptr), 13);
    EXPECT_STREQ(bytes, kPrivetUtf8);
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"Привет", -1, bytes, 12, nullptr, nullptr), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(CodePages, Utf8WithInvalidInput) {
    EXPECT_EQ(ToWide(CP_UTF8, kPrivetUtf8), u"Привет");
    EXPECT_EQ(ToWide(CP_UTF8, "\xF0\x9F\x98\x80"), u"\U0001F600");  // a surrogate pair
    EXPECT_EQ(ToBytes(CP_UTF8, u"\U0001F600"), "\xF0\x9F\x98\x80");

    // Invalid bytes become U+FFFD, or fail the call when asked.
    EXPECT_EQ(ToWide(CP_UTF8,
                     "a\xFF"
                     "b"),
              u"a\xFFFD"
              "b");
    const char* invalid[] = {"a\xFF", "\xC0\xAF", "\xED\xA0\x80", "\xD0", "\xF4\x90\x80\x80"};
    for (const char* bytes : invalid) {
        SetLastError(0);
        EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes, -1, nullptr, 0), 0) << bytes;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
    }
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, kPrivetUtf8, -1, nullptr, 0), 7);
    // A lone surrogate has no UTF-8 form.
    EXPECT_EQ(ToBytes(CP_UTF8, u"a\xD800"), "a\xEF\xBF\xBD");
}

TEST(CodePages, UnmappableCharactersTakeTheDefaultCharacter) {
    BOOL used = TRUE;
    EXPECT_EQ(ToBytes(1251, u"Ok Ёж", &used), "Ok \xA8\xE6");
    EXPECT_FALSE(used);
    EXPECT_EQ(ToBytes(1251, u"x日y", &used), "x?y");
    EXPECT_TRUE(used);
    EXPECT_EQ(ToBytes(1251, u"é\U0001F600", &used, "*"), "**");  // a pair is one character
    EXPECT_TRUE(used);
    EXPECT_EQ(ToBytes(1252, u"café €Ж", &used), "caf\xE9 \x80?");
    EXPECT_TRUE(used);

    // UTF-8 reaches everything: a default character is a caller's error.
    char buf[8];
    SetLastError(0);
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"x", 1, buf, 8, nullptr, &used), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST(CodePages, EveryByteOfTheSingleBytePagesRoundTrips) {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    for (UINT cp : {1251u, 1252u}) {
        std::u16string wide = ToWide(cp, all);
        ASSERT_EQ(wide.size(), all.size());
        BOOL used = TRUE;
        EXPECT_EQ(ToBytes(cp, wide, &used), all) << cp;
        EXPECT_FALSE(used);
    }
    EXPECT_EQ(ToWide(1252, "\x80\xE9\x81"), u"€é\x0081");
}

TEST(CodePages, BadArguments) {
    WCHAR wbuf[8];
    char buf[8];
    auto check = [](int result, DWORD error) {
        EXPECT_EQ(result, 0);
        EXPECT_EQ(GetLastError(), error);
        SetLastError(0);
    };
    SetLastError(0);
    check(MultiByteToWideChar(866, 0, "a", 1, wbuf, 8), ERROR_INVALID_PARAMETER);
    check(MultiByteToWideChar(1251, 0, nullptr, 1, wbuf, 8), ERROR_INVALID_PARAMETER);
    check(MultiByteToWideChar(1251, 0, "a", 0, wbuf, 8), ERROR_INVALID_PARAMETER);
    check(MultiByteToWideChar(1251, 0, "a", -2, wbuf, 8), ERROR_INVALID_PARAMETER);
    check(MultiByteToWideChar(1251, 0, "a", 1, nullptr, 8), ERROR_INVALID_PARAMETER);
    check(MultiByteToWideChar(1251, 0, "a", 1, wbuf, -1), ERROR_INVALID_PARAMETER);
    check(MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", 1, wbuf, 8), ERROR_INVALID_FLAGS);
    check(WideCharToMultiByte(1250, 0, u"a", 1, buf, 8, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    check(WideCharToMultiByte(1251, 0, nullptr, 1, buf, 8, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    check(WideCharToMultiByte(1251, 0, u"a", 0, buf, 8, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    check(WideCharToMultiByte(1251, 0, u"a", 1, nullptr, 8, nullptr, nullptr), ERROR_INVALID_PARAMETER);
    check(WideCharToMultiByte(1251, 0x80000000, u"a", 1, buf, 8, nullptr, nullptr), ERROR_INVALID_FLAGS);
    EXPECT_EQ(MultiByteToWideChar(1251, MB_PRECOMPOSED | MB_ERR_INVALID_CHARS, "a", 1, wbuf, 8), 1);
}

}  // namespace
