// Numbers replaced by contact names through the real contact store, and
// the delivered report's custom text.
#include "ContactLookup.h"
#include "ContactStoreFixture.h"

#include <string>
#include <vector>

namespace {

const char16_t kReport[] = u"Message you sent to 89161234567 has been delivered";

class NumberReplacement : public ContactStoreTest {
protected:
    void AddMirela() { AddContact(u"Mirela", u"Dovanne", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89161234567"); }
};

std::u16string KeyOf(const std::u16string& text) {
    NumberSpan span;
    if (!FindNextNumber(text.c_str(), int(text.size()), 7, 0, &span)) return u"<none>";
    LPWSTR key = BuildLookupKey(text.c_str(), span);
    std::u16string result = key ? key : u"<null>";
    LocalFree(key);
    return result;
}

TEST(LookupKey, SpacesAndALeadingPlusAreLeftOut) {
    EXPECT_EQ(KeyOf(u"tel +7 916 123-45-67"), u"7916123-45-67");
    EXPECT_EQ(KeyOf(u"tel (495) 123 4567"), u"(495)1234567");
    EXPECT_EQ(KeyOf(u"tel 8 916 1234567"), u"89161234567");
    EXPECT_EQ(KeyOf(u"tel 8+916+1234567"), u"8+916+1234567");
}

TEST_F(NumberReplacement, TheDocumentedSettingsExamples) {
    AddMirela();
    Settings settings;
    settings.UseFileAs = 0;
    EXPECT_EQ(Replace(kReport, settings), u"Message you sent to Dovanne Mirela,m (89161234567) has been delivered");
    settings.ShowNumber = 0;
    EXPECT_EQ(Replace(kReport, settings), u"Message you sent to Dovanne Mirela,m has been delivered");
    settings.ShowNumber = 1;
    settings.LastNameFirst = 0;
    settings.AppendNumberType = 0;
    EXPECT_EQ(Replace(kReport, settings), u"Message you sent to Mirela Dovanne (89161234567) has been delivered");
}

TEST_F(NumberReplacement, ATextWithoutNumbersNeverReachesTheStore) {
    AddMirela();
    host::ClearFaults();
    Settings settings;
    EXPECT_EQ(Replace(u"See you at 10:30, room 12", settings), u"<unchanged>");
    EXPECT_EQ(Replace(u"", settings), u"<unchanged>");
    EXPECT_EQ(host::CallCount("CoCreateInstance"), 0);
    EXPECT_EQ(host::CallCount("FindMatchingContact"), 0);
    // Numbers of nobody: one connection, one lookup per number, no change.
    EXPECT_EQ(Replace(u"a 2345678 b 7654321", settings), u"<unchanged>");
    EXPECT_EQ(host::CallCount("CoCreateInstance"), 1);
    EXPECT_EQ(host::CallCount("FindMatchingContact"), 2);
}

TEST_F(NumberReplacement, OnlyNumbersOfContactsAreReplaced) {
    AddMirela();
    Settings settings;
    settings.UseFileAs = 0;
    EXPECT_EQ(Replace(u"From 7654321 to 89161234567.", settings), u"From 7654321 to Dovanne Mirela,m (89161234567).");
    EXPECT_EQ(Replace(u"x +7 916 123-45-67, 89161234567", settings),
              u"x Dovanne Mirela,m (+7 916 123-45-67), Dovanne Mirela,m (89161234567)");
}

TEST_F(NumberReplacement, TheInsertedNameIsNotSearchedAgain) {
    // A name that itself reads as a number of the same contact.
    AddContact(u"", u"", PIMPR_HOME_TELEPHONE_NUMBER, u"89161234567", u"Home 8 916 123 45 67");
    Settings settings;
    host::ClearFaults();
    EXPECT_EQ(Replace(u"call 89161234567 now", settings), u"call Home 8 916 123 45 67,h (89161234567) now");
    EXPECT_EQ(host::CallCount("FindMatchingContact"), 1);
}

TEST_F(NumberReplacement, TheDeliveredReportsCustomText) {
    AddMirela();
    Settings settings;
    settings.UseFileAs = 0;
    settings.UseCustomText = 1;
    settings.CustomText = WString::FromText(u"Delivered to @s!");
    EXPECT_EQ(Replace(kReport, settings, TRUE), u"Delivered to Dovanne Mirela,m (89161234567)!");
    // The record keeps its custom text for the next message.
    EXPECT_EQ(std::u16string(settings.CustomText.Text()), u"Delivered to @s!");
    // Failed reports and ordinary messages get the replacement in place.
    EXPECT_EQ(Replace(kReport, settings, FALSE),
              u"Message you sent to Dovanne Mirela,m (89161234567) has been delivered");
    // No number of a contact: the custom text is not used.
    EXPECT_EQ(Replace(u"Message you sent to 7654321 has been delivered", settings, TRUE), u"<unchanged>");
    // The first contact's name ends the pass: nothing in the custom text is searched.
    settings.CustomText = WString::FromText(u"@s and 89161234567");
    EXPECT_EQ(Replace(u"to 7654321, 89161234567 and 89161234567", settings, TRUE),
              u"Dovanne Mirela,m (89161234567) and 89161234567");
}

TEST_F(NumberReplacement, CustomTextIsNeverAFormat) {
    AddMirela();
    Settings settings;
    settings.UseCustomText = 1;
    settings.ShowNumber = 0;
    settings.CustomText = WString::FromText(u"%s%n%d%x @s %ls %%");
    EXPECT_EQ(Replace(kReport, settings, TRUE), u"%s%n%d%x Dovanne, Mirela,m %ls %%");
    settings.CustomText = WString::FromText(u"@d %s");
    EXPECT_EQ(Replace(kReport, settings, TRUE), u"@d %s");
    // An empty custom text counts as none: the number is replaced in place.
    settings.CustomText = WString();
    EXPECT_EQ(Replace(kReport, settings, TRUE), u"Message you sent to Dovanne, Mirela,m has been delivered");
}

TEST_F(NumberReplacement, AContactWithNothingToShowKeepsItsNumber) {
    AddContact(u"", u"", PIMPR_BUSINESS_TELEPHONE_NUMBER, u"89161234567", u"", u"Orvane Ltd");
    Settings settings;  // UseFileAs, and this contact's file-as name is empty
    settings.ShowNumber = 0;
    settings.AppendNumberType = 0;
    EXPECT_EQ(Replace(kReport, settings), u"<unchanged>");
    settings.UseCustomText = 1;
    settings.CustomText = WString::FromText(u"Delivered to @s!");
    EXPECT_EQ(Replace(kReport, settings, TRUE), u"<unchanged>");
    settings.UseFileAs = 0;
    EXPECT_EQ(Replace(kReport, settings, TRUE), u"Delivered to Orvane Ltd!");
}

TEST_F(NumberReplacement, ANamelessContactsNumberNeverBecomesItsSuffix) {
    AddContact(u"", u"", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89163332200");
    Settings settings;
    settings.ShowNumber = 0;
    settings.AppendNumberType = 1;
    for (LONG useFileAs : {0, 1}) {
        settings.UseFileAs = useFileAs;
        EXPECT_EQ(Replace(u"call 89163332200 please", settings), u"<unchanged>") << useFileAs;
        settings.UseCustomText = 1;
        settings.CustomText = WString::FromText(u"Delivered to @s!");
        EXPECT_EQ(Replace(u"to 89163332200 delivered", settings, TRUE), u"<unchanged>") << useFileAs;
        settings.UseCustomText = 0;
    }
    // With ShowNumber on the display name carries the number.
    settings.ShowNumber = 1;
    EXPECT_EQ(Replace(u"call 89163332200 please", settings), u"call ,m (89163332200) please");
}

TEST_F(NumberReplacement, AMessageGrowsByAtMost65536Characters) {
    const std::u16string name(30000, u'N');
    AddContact(u"", u"", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89161234567", name);
    Settings settings;
    settings.ShowNumber = 0;
    settings.AppendNumberType = 0;
    // Two names fit; the third would take the text past the bound, so it and
    // every number after it stay as written.
    EXPECT_EQ(Replace(u"89161234567, 89161234567, 89161234567, 89161234567", settings),
              name + u", " + name + u", 89161234567, 89161234567");
    // The custom text is bounded alike.
    settings.UseCustomText = 1;
    const std::u16string tail(40000, u'x');
    settings.CustomText = WString::FromText((u"@s" + tail).c_str());
    EXPECT_EQ(Replace(u"to 89161234567 delivered", settings, TRUE), u"<unchanged>");
    settings.CustomText = WString::FromText(u"@s!");
    EXPECT_EQ(Replace(u"to 89161234567 delivered", settings, TRUE), name + u"!");
}

TEST_F(NumberReplacement, AStoreThatCannotBeReachedLeavesTheText) {
    AddMirela();
    Settings settings;
    host::FailCall("CoCreateInstance", 1, REGDB_E_CLASSNOTREG);
    EXPECT_EQ(Replace(kReport, settings), u"<unchanged>");
    host::FailCall("IPOutlookApp::Logon", 1, E_FAIL);
    EXPECT_EQ(Replace(kReport, settings), u"<unchanged>");
    // Both answered once, and the next pass finds the contact again.
    EXPECT_EQ(Replace(kReport, settings), u"Message you sent to Dovanne, Mirela,m (89161234567) has been delivered");
}

TEST_F(NumberReplacement, AStoreThatWasNeverRegistered) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, u"CLSID", 0, 0, &key), ERROR_SUCCESS);
    // Without the class key CoCreateInstance fails as on a phone without the store.
    ASSERT_EQ(RegDeleteKeyW(key, u"{05058F23-20BE-11D2-8F18-0000F87A4335}\\InprocServer32"), ERROR_SUCCESS);
    RegCloseKey(key);
    Settings settings;
    EXPECT_EQ(Replace(kReport, settings), u"<unchanged>");
}

TEST_F(NumberReplacement, LookupsThatFindNoContact) {
    AddMirela();
    Settings settings;
    const std::u16string text = u"89161234567 or 8 916 123 45 67";
    const std::u16string second = u"89161234567 or Dovanne, Mirela,m (8 916 123 45 67)";
    // S_FALSE, S_OK without an item, a failure, an item that is no contact:
    // each leaves its number as written and the pass goes on.
    host::FailCall("FindMatchingContact", 1, S_FALSE);
    EXPECT_EQ(Replace(text, settings), second);
    host::FailCall("FindMatchingContact", 1, S_OK);
    EXPECT_EQ(Replace(text, settings), second);
    host::FailCall("FindMatchingContact", 1, E_OUTOFMEMORY);
    EXPECT_EQ(Replace(text, settings), second);
    host::FailCall("IItem::QueryInterface(IContact)", 1, E_NOINTERFACE);
    EXPECT_EQ(Replace(text, settings), second);
    host::FailCall("FindMatchingContact", 1, S_FALSE, 2);
    EXPECT_EQ(Replace(text, settings), u"<unchanged>");
}

TEST_F(NumberReplacement, MemoryShortageLosesNothing) {
    AddMirela();
    Settings settings;
    // Each number stays as written, or is replaced by its display name, or,
    // when the name could not be read, by what is left of the display name.
    auto forms = [](const std::u16string& number) {
        return std::vector<std::u16string>{number, u"Dovanne, Mirela,m (" + number + u")", u",m (" + number + u")"};
    };
    for (int nth = 1; nth <= 16; ++nth) {
        host::FailCall("LocalAlloc", nth, ERROR_NOT_ENOUGH_MEMORY);
        std::u16string result = Replace(u"<1> 89161234567 & 8 916 123 45 67", settings);
        host::ClearFaults();
        bool whole = result == u"<unchanged>";
        for (const auto& a : forms(u"89161234567"))
            for (const auto& b : forms(u"8 916 123 45 67")) whole = whole || result == u"<1> " + a + u" & " + b;
        EXPECT_TRUE(whole) << nth;
    }
}

TEST_F(NumberReplacement, BadArguments) {
    Settings settings;
    LPWSTR rewritten = nullptr;
    EXPECT_FALSE(ReplaceNumbersWithNames(nullptr, settings, &rewritten, FALSE));
    EXPECT_EQ(rewritten, nullptr);
    EXPECT_FALSE(ReplaceNumbersWithNames(kReport, settings, nullptr, FALSE));
}

}  // namespace
