// Display names under the user's settings, built from contacts of the real
// contact store.
#include "ContactLookup.h"
#include "ContactStoreFixture.h"
#include "DisplayName.h"

#include <string>

namespace {

class DisplayNames : public ContactStoreTest {
protected:
    // The display name for a number written as written, found through the store.
    std::u16string NameFor(const std::u16string& written, const Settings& settings) {
        ContactStoreConnection connection;
        EXPECT_EQ(connection.Open(), S_OK);
        ContactMatch match;
        if (!FindContactByNumber(connection, written.c_str(), &match)) return u"<no contact>";
        TextBuffer name;
        EXPECT_TRUE(
            BuildDisplayName(match.contact.Get(), match.propId, written.c_str(), int(written.size()), settings, name));
        return std::u16string(name.Text(), name.Length());
    }
};

struct SettingsCase {
    LONG useFileAs, lastNameFirst, appendNumberType, showNumber;
    const char16_t* expected;
};

TEST_F(DisplayNames, EveryCombinationOfTheFourSettings) {
    AddContact(u"Mirela", u"Dovanne", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89161234567", u"Mira at work");
    const SettingsCase cases[] = {
        {0, 0, 0, 0, u"Mirela Dovanne"},   {0, 0, 0, 1, u"Mirela Dovanne (8 916 123 45 67)"},
        {0, 0, 1, 0, u"Mirela Dovanne,m"}, {0, 0, 1, 1, u"Mirela Dovanne,m (8 916 123 45 67)"},
        {0, 1, 0, 0, u"Dovanne Mirela"},   {0, 1, 0, 1, u"Dovanne Mirela (8 916 123 45 67)"},
        {0, 1, 1, 0, u"Dovanne Mirela,m"}, {0, 1, 1, 1, u"Dovanne Mirela,m (8 916 123 45 67)"},
        {1, 0, 0, 0, u"Mira at work"},     {1, 0, 0, 1, u"Mira at work (8 916 123 45 67)"},
        {1, 0, 1, 0, u"Mira at work,m"},   {1, 0, 1, 1, u"Mira at work,m (8 916 123 45 67)"},
        {1, 1, 0, 0, u"Mira at work"},     {1, 1, 0, 1, u"Mira at work (8 916 123 45 67)"},
        {1, 1, 1, 0, u"Mira at work,m"},   {1, 1, 1, 1, u"Mira at work,m (8 916 123 45 67)"},
    };
    for (const SettingsCase& c : cases) {
        Settings settings;
        settings.UseFileAs = c.useFileAs;
        settings.LastNameFirst = c.lastNameFirst;
        settings.AppendNumberType = c.appendNumberType;
        settings.ShowNumber = c.showNumber;
        EXPECT_EQ(NameFor(u"8 916 123 45 67", settings), c.expected)
            << c.useFileAs << c.lastNameFirst << c.appendNumberType << c.showNumber;
    }
}

TEST_F(DisplayNames, EachPhoneKindHasItsSuffix) {
    const struct {
        CEPROPID kind;
        const char16_t* number;
        const char16_t* expected;
    } kinds[] = {
        {PIMPR_MOBILE_TELEPHONE_NUMBER, u"89160000001", u"Kind,m"},
        {PIMPR_BUSINESS_TELEPHONE_NUMBER, u"89160000002", u"Kind,b"},
        {PIMPR_BUSINESS2_TELEPHONE_NUMBER, u"89160000003", u"Kind,b2"},
        {PIMPR_HOME_TELEPHONE_NUMBER, u"89160000004", u"Kind,h"},
        {PIMPR_HOME2_TELEPHONE_NUMBER, u"89160000005", u"Kind,h2"},
        {PIMPR_PAGER_NUMBER, u"89160000006", u"Kind,p"},
        {PIMPR_CAR_TELEPHONE_NUMBER, u"89160000007", u"Kind,c"},
        {PIMPR_RADIO_TELEPHONE_NUMBER, u"89160000008", u"Kind,r"},
        {PIMPR_COMPANY_TELEPHONE_NUMBER, u"89160000009", u"Kind,co"},
        {PIMPR_ASSISTANT_TELEPHONE_NUMBER, u"89160000010", u"Kind,a"},
    };
    host::ContactRecord record;
    record.fileAs = u"Kind";
    for (size_t i = 0; i < host::kContactPhoneKinds.size(); ++i)
        for (const auto& k : kinds)
            if (k.kind == host::kContactPhoneKinds[i].propid) record.phones[i] = k.number;
    ASSERT_NE(host::AddContact(record), 0);

    Settings settings;
    settings.ShowNumber = 0;
    for (const auto& k : kinds) EXPECT_EQ(NameFor(k.number, settings), k.expected);

    // Any other property gets no suffix, whatever AppendNumberType says.
    EXPECT_EQ(NumberTypeSuffix(0), nullptr);
    EXPECT_EQ(NumberTypeSuffix(0x009B001F), nullptr);
    EXPECT_EQ(NumberTypeSuffix(PIMPR_MOBILE_TELEPHONE_NUMBER & 0xFFFF0000), nullptr);
}

TEST_F(DisplayNames, MissingNameParts) {
    AddContact(u"", u"Dovanne", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89160000001");
    AddContact(u"Mirela", u"", PIMPR_MOBILE_TELEPHONE_NUMBER, u"89160000002");
    AddContact(u"", u"", PIMPR_BUSINESS_TELEPHONE_NUMBER, u"89160000003", u"", u"Orvane Ltd");
    AddContact(u"", u"", PIMPR_BUSINESS_TELEPHONE_NUMBER, u"89160000004");

    Settings names;
    names.UseFileAs = 0;
    names.AppendNumberType = 0;
    names.ShowNumber = 0;
    // One part alone, with no space beside it.
    EXPECT_EQ(NameFor(u"89160000001", names), u"Dovanne");
    EXPECT_EQ(NameFor(u"89160000002", names), u"Mirela");
    names.LastNameFirst = 0;
    EXPECT_EQ(NameFor(u"89160000001", names), u"Dovanne");
    // No first or last name: the company name stands in.
    EXPECT_EQ(NameFor(u"89160000003", names), u"Orvane Ltd");
    EXPECT_EQ(NameFor(u"89160000004", names), u"");

    // An empty FileAs gives an empty name part.
    Settings fileAs;
    fileAs.AppendNumberType = 0;
    EXPECT_EQ(NameFor(u"89160000003", fileAs), u" (89160000003)");
    fileAs.ShowNumber = 0;
    EXPECT_EQ(NameFor(u"89160000003", fileAs), u"");
    // Nor does the kind's suffix make a name by itself.
    fileAs.AppendNumberType = 1;
    EXPECT_EQ(NameFor(u"89160000003", fileAs), u"");
    names.AppendNumberType = 1;
    EXPECT_EQ(NameFor(u"89160000004", names), u"");
    EXPECT_EQ(NameFor(u"89160000003", names), u"Orvane Ltd,b");
}

TEST_F(DisplayNames, ANullContactGivesAnEmptyName) {
    Settings settings;
    TextBuffer name;
    EXPECT_TRUE(BuildDisplayName(nullptr, PIMPR_HOME_TELEPHONE_NUMBER, u"123", 3, settings, name));
    EXPECT_EQ(std::u16string(name.Text()), u",h (123)");
}

}  // namespace
