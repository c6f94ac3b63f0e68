// Random texts over the characters that matter to the finder: every number
// found lies inside its text, both passes end, and the links are those of
// the documented pass (which re-searches its own growing text) with the
// text around them escaped.
#include "ContactLookup.h"
#include "ContactStoreFixture.h"
#include "DisplayName.h"
#include "NumberFinder.h"
#include "PhoneLinks.h"

#include <random>
#include <string>
#include <vector>

namespace {

const LONG kLengths[] = {-5, 0, 1, 2, 7, 1000, 0x7FFFFFFF};

std::u16string RandomText(std::mt19937& random) {
    static const std::u16string kAlphabet[] = {
        u"0123456789",  // digits, the most common
        u"0123456789",
        u" ()+-",               // separators
        u"abcxyz",              // letters
        u"\u0436\u043E\u043A",  // Cyrillic
        u"@%<&>\"'",            // what a format or markup would take
        u"\t\u00A0\u0663",      // other white space, another script's digit
    };
    std::uniform_int_distribution<int> lengthOf(0, 60);
    std::uniform_int_distribution<int> classOf(0, int(std::size(kAlphabet)) - 1);
    std::u16string text;
    for (int n = lengthOf(random); n > 0; --n) {
        const std::u16string& chars = kAlphabet[classOf(random)];
        text += chars[std::uniform_int_distribution<size_t>(0, chars.size() - 1)(random)];
    }
    return text;
}

std::u16string Escaped(const std::u16string& text) {
    std::u16string out;
    for (char16_t c : text) {
        switch (c) {
            case u'&':
                out += u"&amp;";
                break;
            case u'<':
                out += u"&lt;";
                break;
            case u'>':
                out += u"&gt;";
                break;
            case u'"':
                out += u"&quot;";
                break;
            case u'\'':
                out += u"&#39;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::u16string Anchor(const std::u16string& number, int index) {
    std::u16string name;
    for (char c : std::to_string(index)) name += char16_t(c);
    return u"<a href='tel:" + number + u"' name='tel" + name + u"'>" + number + u"</a>";
}

// The documented pass, literally: insert each anchor into the text and
// search on from behind it in the new text. Returns the expected HTML
// (the text around the anchors escaped), or "<unchanged>".
std::u16string ExpectedLinks(const std::u16string& original, LONG m) {
    std::u16string text = original;
    std::u16string html;
    size_t consumed = 0;  // characters of the original already in html
    int shift = 0;        // anchors' length beyond the numbers they replaced
    int links = 0;
    NumberSpan span;
    int from = 0;
    while (FindNextNumber(text.c_str(), int(text.size()), m, from, &span)) {
        std::u16string number = text.substr(span.start, span.end - span.start + 1);
        std::u16string anchor = Anchor(number, ++links);
        size_t originalStart = size_t(span.start - shift);
        html += Escaped(original.substr(consumed, originalStart - consumed)) + anchor;
        consumed = originalStart + number.size();
        text = text.substr(0, span.start) + anchor + text.substr(span.end + 1);
        shift += int(anchor.size() - number.size());
        from = span.start + int(anchor.size());
    }
    html += Escaped(original.substr(consumed));
    return links == 0 && html == original ? u"<unchanged>" : html;
}

std::u16string Linked(const std::u16string& text, LONG m) {
    Settings settings;
    settings.PhoneNumLen = m;
    LPWSTR linked = nullptr;
    if (!LinkPhoneNumbers(text.c_str(), settings, &linked)) return u"<unchanged>";
    std::u16string result = linked;
    LocalFree(linked);
    return result;
}

TEST(FinderFuzz, SpansLieInsideTheTextAndLinksMatchTheDocumentedPass) {
    std::mt19937 random(20240601);
    int numbers = 0;
    for (int round = 0; round < 4000; ++round) {
        std::u16string text = RandomText(random);
        const int n = int(text.size());
        for (LONG m : kLengths) {
            NumberSpan span;
            int from = 0, found = 0;
            while (FindNextNumber(text.c_str(), n, m, from, &span)) {
                ASSERT_LE(from, span.start) << "m=" << m;
                ASSERT_LE(span.start, span.lookupStart);
                ASSERT_LE(span.lookupStart, span.end);
                ASSERT_LT(span.end, n);
                for (int i = span.start; i <= span.end; ++i) ASSERT_TRUE(IsNumberChar(text[i]));
                from = span.end + 1;
                ASSERT_LE(++found, n);
            }
            numbers += found;
            ASSERT_EQ(Linked(text, m), ExpectedLinks(text, m)) << "m=" << m << " round " << round;
        }
    }
    // The corpus must actually exercise the finder.
    EXPECT_GT(numbers, 1000);
}

class ReplacementFuzz : public ContactStoreTest {};

TEST_F(ReplacementFuzz, ThePassEndsAndGivesWholeTexts) {
    // Contacts whose numbers turn up in random digit runs, and a name that
    // itself holds digits and markup.
    AddContact(u"Ann", u"Lee", PIMPR_MOBILE_TELEPHONE_NUMBER, u"12");
    AddContact(u"", u"", PIMPR_HOME_TELEPHONE_NUMBER, u"7", u"Home (7) <&> 99");
    AddContact(u"\u0416\u043E", u"", PIMPR_PAGER_NUMBER, u"0000000");
    std::mt19937 random(7);
    int rewritten = 0;
    for (int round = 0; round < 300; ++round) {
        std::u16string text = RandomText(random);
        for (LONG m : kLengths) {
            Settings settings;
            settings.PhoneNumLen = m;
            settings.UseCustomText = round % 3 == 0;
            settings.CustomText = WString::FromText(u"%s @s %n");
            std::u16string result = Replace(text, settings, round % 2);
            if (result == u"<unchanged>") continue;
            ++rewritten;
            EXPECT_NE(result, text);
            // The pass changes numbers only: nothing of the text before its first number is lost.
            NumberSpan span;
            ASSERT_TRUE(FindNextNumber(text.c_str(), int(text.size()), m, 0, &span));
            if (!(settings.UseCustomText && round % 2)) {
                EXPECT_EQ(result.substr(0, span.start), text.substr(0, span.start));
            }
        }
    }
    EXPECT_GT(rewritten, 50);
}

// The documented pass, literally: splice each name into the text and search
// on from behind the name in the new text. "<unchanged>" when nothing was.
std::u16string DocumentedReplacement(const std::u16string& original, const Settings& settings) {
    ContactStoreConnection connection;
    EXPECT_EQ(connection.Open(), S_OK);
    std::u16string text = original;
    bool replaced = false;
    NumberSpan span;
    int from = 0;
    while (FindNextNumber(text.c_str(), int(text.size()), settings.PhoneNumLen, from, &span)) {
        from = span.end + 1;
        LPWSTR key = BuildLookupKey(text.c_str(), span);
        ContactMatch match;
        if (key && FindContactByNumber(connection, key, &match)) {
            TextBuffer name;
            EXPECT_TRUE(BuildDisplayName(match.contact.Get(), match.propId, text.c_str() + span.start,
                                         span.end - span.start + 1, settings, name));
            if (name.Length() > 0) {
                text = text.substr(0, span.start) + std::u16string(name.Text(), name.Length()) +
                       text.substr(span.end + 1);
                from = span.start + name.Length();
                replaced = true;
            }
        }
        LocalFree(key);
    }
    return replaced ? text : u"<unchanged>";
}

TEST_F(ReplacementFuzz, TheRewrittenTextIsThatOfTheDocumentedPass) {
    // Names that end in what the finder looks at before a search start (an
    // opening bracket), that hold numbers, and that are empty.
    AddContact(u"Ann", u"Lee", PIMPR_MOBILE_TELEPHONE_NUMBER, u"12");
    AddContact(u"", u"", PIMPR_HOME_TELEPHONE_NUMBER, u"7", u"Home (");
    AddContact(u"", u"", PIMPR_CAR_TELEPHONE_NUMBER, u"35", u"(8 916) 35");
    AddContact(u"", u"", PIMPR_PAGER_NUMBER, u"0000000");
    AddContact(u"Bo", u"", PIMPR_MOBILE_TELEPHONE_NUMBER, u"17");
    // A number that starts right at the search start behind a name, in
    // brackets: whether the name ends in one decides what is found.
    const std::u16string kFixed[] = {u"17((12)", u"x 17((12) y", u"7((12)", u"7((12)(35)"};
    std::mt19937 random(11);
    int rewritten = 0;
    for (int round = 0; round < 600; ++round) {
        std::u16string text = round < int(std::size(kFixed)) ? kFixed[round] : RandomText(random);
        for (LONG m : {LONG(1), LONG(2), LONG(3), LONG(7)}) {
            Settings settings;
            settings.PhoneNumLen = m;
            settings.ShowNumber = round % 2;
            settings.AppendNumberType = round % 3 == 0;
            std::u16string expected = DocumentedReplacement(text, settings);
            ASSERT_EQ(Replace(text, settings), expected) << "m=" << m << " round " << round;
            rewritten += expected != u"<unchanged>";
        }
    }
    EXPECT_GT(rewritten, 100);
}

}  // namespace
