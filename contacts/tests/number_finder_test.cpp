// The finder's rules, on the texts that show them.
#include "NumberFinder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Found {
    bool found;
    std::u16string number;  // start to end
    std::u16string lookup;  // lookup start to end
};

Found Find(const std::u16string& text, LONG m = 7, int from = 0) {
    NumberSpan span{-1, -1, -1};
    if (!FindNextNumber(text.c_str(), static_cast<int>(text.size()), m, from, &span)) return {false, u"", u""};
    EXPECT_LE(0, span.start);
    EXPECT_LE(span.start, span.lookupStart);
    EXPECT_LE(span.lookupStart, span.end);
    EXPECT_LT(span.end, static_cast<int>(text.size()));
    return {true, text.substr(span.start, span.end - span.start + 1),
            text.substr(span.lookupStart, span.end - span.lookupStart + 1)};
}

std::u16string Number(const std::u16string& text, LONG m = 7, int from = 0) {
    Found f = Find(text, m, from);
    return f.found ? f.number : u"<none>";
}

TEST(NumberFinder, NumberCharactersAreDigitsOfAnyScriptAndFiveSeparators) {
    for (WCHAR c : std::u16string(u"0123456789 ()+-\u0660\u0969\uFF15")) EXPECT_TRUE(IsNumberChar(c)) << int(c);
    for (WCHAR c : std::u16string(u"\t\n\u00A0./,xЖ@#[]\u2212\u00B2")) EXPECT_FALSE(IsNumberChar(c)) << int(c);
    // The finder classifies some characters by itself: every one of them as
    // the platform does, and a digit found in a probe is found in a number.
    for (unsigned c = 0; c <= 0xFFFF; ++c) {
        const WCHAR w = static_cast<WCHAR>(c);
        const bool separator = w == u' ' || w == u'(' || w == u')' || w == u'+' || w == u'-';
        ASSERT_EQ(IsNumberChar(w) != FALSE, separator || iswctype(w, _DIGIT) != 0) << c;
        if (iswctype(w, _DIGIT)) {
            std::u16string text = u"tel ";
            text.append(7, w);
            EXPECT_EQ(Number(text), text.substr(4)) << c;
        }
    }
}

TEST(NumberFinder, MinimumLengthCountsFromTheSearchStart) {
    // At the search start a number needs m + 1 characters.
    EXPECT_EQ(Number(u"1234567"), u"<none>");
    EXPECT_EQ(Number(u"abc 1234567"), u"1234567");
    EXPECT_EQ(Number(u"12345678"), u"12345678");
    EXPECT_EQ(Number(u"12345", 5), u"<none>");
    EXPECT_EQ(Number(u"x12345", 5), u"12345");
    EXPECT_EQ(Number(u"abc 1234567", 7, 4), u"<none>");
    EXPECT_EQ(Number(u"abc 1234567", 7, 3), u"1234567");
    // The separator before the digits counts, then goes as an edge space.
    EXPECT_EQ(Number(u"ab 123456"), u"123456");
    EXPECT_EQ(Number(u"ab 12345"), u"<none>");
    // A run too short at the start does not hide a later number.
    EXPECT_EQ(Number(u"1234567 and 12345678"), u"12345678");
}

TEST(NumberFinder, ProbesEveryMMinusOneCharactersAndSkipsSeparators) {
    EXPECT_EQ(Number(u"x 123-456 y"), u"123-456");
    // The second probe lands on "-": the number stays unfound.
    EXPECT_EQ(Number(u"x 1234-56 y"), u"<none>");
    // The only probe inside the run lands on "-"; one letter more in front
    // and it lands on a digit.
    EXPECT_EQ(Number(u"ab 1-2-3-4 x"), u"<none>");
    EXPECT_EQ(Number(u"abc 1-2-3-4 x"), u"1-2-3-4");
    // A probe that lands on letters moves on to the next position.
    EXPECT_EQ(Number(u"letters then 555-0199 here"), u"555-0199");
    EXPECT_EQ(Number(u"abcdefghijklmnopqrstuvwxyz"), u"<none>");
    EXPECT_EQ(Number(u""), u"<none>");
}

TEST(NumberFinder, LeadingPlusIsLeftOutOfTheLookupOnly) {
    Found f = Find(u"tel +7 (916) 123 45 67.");
    ASSERT_TRUE(f.found);
    EXPECT_EQ(f.number, u"+7 (916) 123 45 67");
    EXPECT_EQ(f.lookup, u"7 (916) 123 45 67");
    f = Find(u"call 8 916 1234567");
    EXPECT_EQ(f.number, f.lookup);
}

TEST(NumberFinder, Brackets) {
    EXPECT_EQ(Number(u"(+79161234567)"), u"+79161234567");
    // The opening bracket stays when the number does not end in ")".
    EXPECT_EQ(Number(u"x (495) 1234567"), u"(495) 1234567");
    // A closing bracket at the end goes even when the opening one stays:
    // a doubled opening bracket keeps the inner one.
    EXPECT_EQ(Number(u"a((1234567)) b"), u"(1234567");
    EXPECT_EQ(Number(u"call (8 916 123 45 67)!"), u"8 916 123 45 67");
}

TEST(NumberFinder, RepeatedSeparatorsAndEdgeSpaces) {
    EXPECT_EQ(Number(u"123  4567890"), u"4567890");
    EXPECT_EQ(Number(u"12--34567890"), u"-34567890");
    EXPECT_EQ(Number(u"a 1234567 b"), u"1234567");
    // The repeated-separator test does not apply to the text's last
    // character, and only one edge space goes.
    EXPECT_EQ(Number(u"ends 1234567  "), u"1234567 ");
    EXPECT_EQ(Number(u"ends 1234567 "), u"1234567");
    // Other white space ends a number.
    EXPECT_EQ(Number(u"x 123\t4567890"), u"4567890");
    EXPECT_EQ(Number(u"x 123\u00A04567890"), u"4567890");
}

TEST(NumberFinder, SuccessiveSearches) {
    std::u16string text = u"a 1234567 b 7654321";
    NumberSpan span;
    ASSERT_TRUE(FindNextNumber(text.c_str(), int(text.size()), 7, 0, &span));
    EXPECT_EQ(text.substr(span.start, span.end - span.start + 1), u"1234567");
    ASSERT_TRUE(FindNextNumber(text.c_str(), int(text.size()), 7, span.end + 1, &span));
    EXPECT_EQ(text.substr(span.start, span.end - span.start + 1), u"7654321");
    EXPECT_FALSE(FindNextNumber(text.c_str(), int(text.size()), 7, span.end + 1, &span));
    // Single spaces are part of a number.
    EXPECT_EQ(Number(u"x 1234567 7654321"), u"1234567 7654321");
    // A search start at or beyond the end finds nothing; a negative one counts as 0.
    EXPECT_FALSE(FindNextNumber(text.c_str(), int(text.size()), 7, int(text.size()), &span));
    EXPECT_EQ(Number(u"abc 1234567", 7, -3), u"1234567");
}

TEST(NumberFinder, DigitsOfOtherScriptsAndCyrillicText) {
    EXPECT_EQ(Number(u"рус \u0661\u0662\u0663\u0664\u0665\u0666\u0667 текст"),
              u"\u0661\u0662\u0663\u0664\u0665\u0666\u0667");
    EXPECT_EQ(Number(u"Позвони 8-916-123-45-67 вечером"), u"8-916-123-45-67");
}

TEST(NumberFinder, MinimumLengthOutOfRange) {
    // Below 2 counts as 2: the probe interval must advance.
    for (LONG m : {-5L, 0L, 1L, 2L}) {
        EXPECT_EQ(Number(u"x12", m), u"12") << m;
        EXPECT_EQ(Number(u"12", m), u"<none>") << m;
    }
    EXPECT_EQ(Number(u"a 1-2", 2), u"1-2");
    // Huge values find nothing and end at once: no index wraps.
    std::u16string digits(5000, u'5');
    EXPECT_EQ(Number(u"x " + digits, 1000), digits);
    EXPECT_EQ(Number(u"x " + digits, 0x7FFFFFFF), u"<none>");
    EXPECT_EQ(Number(u"x " + digits, 0x7FFFFFFF, 0x7FFFFFF0), u"<none>");
}

TEST(NumberFinder, RejectsMissingArguments) {
    NumberSpan span;
    EXPECT_FALSE(FindNextNumber(nullptr, 10, 7, 0, &span));
    EXPECT_FALSE(FindNextNumber(u"abc 1234567", 11, 7, 0, nullptr));
    EXPECT_FALSE(FindNextNumber(u"abc 1234567", -1, 7, 0, &span));
}

// The finder skips the probes that land in a run an earlier probe already
// failed on. Against a finder that tries every probe (the rules written out
// once more, plainly), it must find exactly the same spans, from every start,
// in texts dense with runs, doubled separators, brackets and edge spaces.
bool EveryProbe(const std::u16string& text, LONG minLength, int from, NumberSpan* span) {
    const int n = static_cast<int>(text.size());
    const long long m = minLength < 2 ? 2 : minLength, f = from < 0 ? 0 : from;
    auto digit = [](char16_t c) {
        return IsNumberChar(c) && c != u' ' && c != u'(' && c != u')' && c != u'+' && c != u'-';
    };
    for (long long d = f; d < n; d += m - 1) {
        if (!digit(text[d])) continue;
        long long end = ScanNumberRun(text.c_str(), static_cast<int>(d), n - 1, +1);
        long long k = end - m;
        if (k < f || !IsNumberChar(text[k + 1])) continue;
        long long start = ScanNumberRun(text.c_str(), static_cast<int>(k), static_cast<int>(f), -1);
        if (text[start] == u'(' && text[end] == u')' && (start == 0 || text[start - 1] != u'(')) ++start;
        if (text[end] == u')') --end;
        if (start > end) continue;
        bool all = true;
        for (long long i = start; i <= end && all; ++i) all = IsNumberChar(text[i]);
        if (!all) continue;
        *span = NumberSpan{static_cast<int>(start), static_cast<int>(end),
                           static_cast<int>(text[start] == u'+' ? start + 1 : start)};
        return true;
    }
    return false;
}

TEST(NumberFinder, SkippingFailedRunsFindsWhatEveryProbeFinds) {
    const std::u16string alphabet = u"0123456789  ()+-xя\u0661";
    uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    int compared = 0;
    for (int round = 0; round < 4000; ++round) {
        std::u16string text(next() % 60, u' ');
        // Mostly number characters, so that runs are long and probes fail in them.
        for (char16_t& c : text) c = next() % 4 ? alphabet[next() % 16] : alphabet[next() % alphabet.size()];
        const LONG m = static_cast<LONG>(next() % 12);
        for (int from = 0; from <= static_cast<int>(text.size()); from += 1 + static_cast<int>(next() % 5)) {
            NumberSpan fast{}, plain{};
            const bool foundFast = FindNextNumber(text.c_str(), static_cast<int>(text.size()), m, from, &fast);
            const bool foundPlain = EveryProbe(text, m, from, &plain);
            ASSERT_EQ(foundFast, foundPlain) << "m " << m << " from " << from << " round " << round;
            if (foundFast) {
                ASSERT_EQ(fast.start, plain.start) << "round " << round;
                ASSERT_EQ(fast.end, plain.end) << "round " << round;
                ASSERT_EQ(fast.lookupStart, plain.lookupStart);
            }
            ++compared;
        }
    }
    EXPECT_GT(compared, 10000);
}

}  // namespace
