// Reading vCard files: what `phone contacts import` makes of the files that
// phones and address books write, and of files it cannot read.
#include "PhoneRunner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace phone_test {
namespace {

class VCardTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, Phone("init").status); }
    Result Phone(const std::string& args) { return RunPhone(device_.path(), args); }
    // The contacts of the device, one JSON object each.
    std::vector<std::string> Contacts() {
        Result r = Phone("contacts list --json");
        EXPECT_EQ(0, r.status) << r.err;
        return Lines(r.out);
    }
    Result Import(const std::string& path) { return Phone("contacts import '" + path + "'"); }

    testing_support::TempFolder device_, files_;
};

TEST_F(VCardTest, PhoneExportIn21WithQuotedPrintableAndWindows1251) {
    Result r = Import(DataFile("phone21.vcf"));
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("imported 3 contacts from " + DataFile("phone21.vcf") + "\n", r.out);
    EXPECT_EQ("phone: " + DataFile("phone21.vcf") +
                  ":8: Иванов, Иван: number +7 495 333-33-33 dropped (a fax number has no property on the phone)\n",
              r.err);

    std::vector<std::string> c = Contacts();
    ASSERT_EQ(3u, c.size());
    EXPECT_EQ("Иван", JsonText(c[0], "first_name"));  // the middle name has no field
    EXPECT_EQ("Иванов", JsonText(c[0], "last_name"));
    EXPECT_EQ("Иванов, Иван", JsonText(c[0], "file_as"));  // not FN
    EXPECT_EQ("+7 916 123-45-67", PhoneText(c[0], "mobile"));
    EXPECT_EQ("+7 495 111-11-11", PhoneText(c[0], "business"));
    EXPECT_EQ("+7 495 222-22-22", PhoneText(c[0], "business2"));
    EXPECT_EQ("8 (495) 444-44-44", PhoneText(c[0], "home"));
    EXPECT_EQ("0611", PhoneText(c[0], "pager"));
    EXPECT_EQ("+7 903 555-55-55", PhoneText(c[0], "car"));

    // A value broken by quoted-printable soft line breaks, raw 1251 bytes.
    EXPECT_EQ("Константинопольская", JsonText(c[1], "last_name"));
    EXPECT_EQ("Пётр", JsonText(c[1], "first_name"));
    EXPECT_EQ("ООО Ромашка", JsonText(c[1], "company_name"));
    // Untyped numbers fill mobile, home, business in file order.
    EXPECT_EQ("+7 916 765-43-21", PhoneText(c[1], "mobile"));
    EXPECT_EQ("+7 916 765-43-22", PhoneText(c[1], "home"));
    EXPECT_EQ("+7 916 765-43-23", PhoneText(c[1], "business"));

    // A company card: FN repeats ORG and names no person.
    EXPECT_EQ("", JsonText(c[2], "first_name"));
    EXPECT_EQ("", JsonText(c[2], "file_as"));
    EXPECT_EQ("Taxi Service", JsonText(c[2], "company_name"));
    EXPECT_EQ("+7 495 999-99-99", PhoneText(c[2], "business"));
}

TEST_F(VCardTest, DesktopExportIn30WithTypeListsFoldingAndEscapes) {
    Result r = Import(DataFile("desktop30.vcf"));
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;  // the fax
    EXPECT_NE(std::string::npos, r.err.find("desktop30.vcf:9: Smith, Anna (work): number +1 206 555 0102")) << r.err;

    std::vector<std::string> c = Contacts();
    ASSERT_EQ(2u, c.size());
    EXPECT_EQ("Smith, Jr.", JsonText(c[0], "last_name"));
    EXPECT_EQ("Anna", JsonText(c[0], "first_name"));
    EXPECT_EQ("Smith, Anna (work)", JsonText(c[0], "file_as"));
    EXPECT_EQ("Orvane; Sons", JsonText(c[0], "company_name"));
    EXPECT_EQ("+1 (206) 555-0100", PhoneText(c[0], "mobile"));
    EXPECT_EQ("+1 206 555 0101", PhoneText(c[0], "business"));
    EXPECT_EQ("+1 206 555 0103", PhoneText(c[0], "home"));
    EXPECT_EQ("+1 206 555 0104", PhoneText(c[0], "assistant"));
    EXPECT_EQ("+1 206 555 0105", PhoneText(c[0], "company"));
    EXPECT_EQ("+1 206 555 0106", PhoneText(c[0], "radio"));
    EXPECT_EQ("+1-206-555-0107", PhoneText(c[0], "home2"));  // a tel: URI, second home number

    // Folded lines lose the one blank or tab that folding inserted.
    EXPECT_EQ("Мария Александровна", JsonText(c[1], "first_name"));
    EXPECT_EQ("+7 916 000-00-01", PhoneText(c[1], "mobile"));
}

TEST_F(VCardTest, NumbersBeyondTheTenPropertiesAreDroppedAndReported) {
    std::string file = WriteBytes(files_, "many.vcf",
                                  "BEGIN:VCARD\nVERSION:3.0\nN:Many;Numbers\n"
                                  "TEL;TYPE=CELL:101\nTEL:102\nTEL;TYPE=VOICE:103\nTEL;TYPE=CELL:104\n"
                                  "TEL:105\nTEL:106\nTEL;TYPE=PREF:107\nEND:VCARD\n");
    Result r = Import(file);
    ASSERT_EQ(0, r.status) << r.err;
    EXPECT_EQ("phone: " + file +
                  ":9: Many, Numbers: number 106 dropped (no free phone property left)\n"
                  "phone: " +
                  file + ":10: Many, Numbers: number 107 dropped (no free phone property left)\n",
              r.err);
    std::vector<std::string> c = Contacts();
    ASSERT_EQ(1u, c.size());
    // The second CELL number finds mobile taken and goes where untyped ones go.
    EXPECT_EQ("101", PhoneText(c[0], "mobile"));
    EXPECT_EQ("102", PhoneText(c[0], "home"));
    EXPECT_EQ("103", PhoneText(c[0], "business"));
    EXPECT_EQ("104", PhoneText(c[0], "home2"));
    EXPECT_EQ("105", PhoneText(c[0], "business2"));
}

TEST_F(VCardTest, AFileThatCannotBeReadIsReportedWithItsLineAndStoresNothing) {
    Result broken = Import(DataFile("broken.vcf"));
    EXPECT_EQ(1, broken.status);
    EXPECT_EQ("phone: " + DataFile("broken.vcf") + ":6: the card begun here has no END:VCARD\n", broken.err);
    EXPECT_TRUE(Contacts().empty());

    const std::string good = "BEGIN:VCARD\nVERSION:2.1\nN:Good;Card\nTEL;CELL:+79161111111\nEND:VCARD\n";
    struct Bad {
        std::string text;
        std::string where;  // ":LINE: what"
    };
    const Bad kBad[] = {
        {good + "BEGIN:VCARD\nN:Bad;Card\nthis line has no colon\nEND:VCARD\n", ":8: not a vCard line (no ':')"},
        {good + "BEGIN:VCARD\nN;ENCODING=UUENCODE:xyz\nEND:VCARD\n", ":7: unknown encoding UUENCODE of N"},
        {good + "BEGIN:VCARD\nN;ENCODING=QUOTED-PRINTABLE:=D0=ZZ\nEND:VCARD\n", ":7: bad quoted-printable in N"},
        {good + "BEGIN:VCARD\nFN;QUOTED-PRINTABLE:ends in =4\nEND:VCARD\n", ":7: bad quoted-printable in FN"},
        {good + "BEGIN:VCARD\nN;CHARSET=UTF-8:\xC3\x28;x\nEND:VCARD\n", ":7: N is not valid UTF-8"},
        {good + "BEGIN:VCARD\nVERSION:3.0\nTEL:\xFF\xFE\nEND:VCARD\n",
         ":8: TEL is not valid UTF-8 (and names no CHARSET)"},
        {good + "BEGIN:VCARD\nN;CHARSET=KOI8-R:abc\nEND:VCARD\n", ":7: unknown charset KOI8-R of N"},
        {good + "BEGIN:VCARD\nN;ENCODING=QUOTED-PRINTABLE:Mi=00rela;Dovanne\nEND:VCARD\n",
         ":7: N holds a NUL character (=00)"},
        {good + "BEGIN:VCARD\nN:" + std::string(32735, 'n') + ";First\nEND:VCARD\n",
         ":7: N holds a text of 32735 characters; a contact property holds at most 32734"},
        {good + "BEGIN:VCARD\nORG:" + std::string(5000000, 'o') + "\nEND:VCARD\n",
         ":7: ORG holds a text of 5000000 characters; a contact property holds at most 32734"},
        {good + "BEGIN:VCARD\nVERSION:3.0\nORG;ENCODING=QUOTED-PRINTABLE:Orvane=\n=00Ltd\nEND:VCARD\n",
         ":8: ORG holds a NUL character (=00)"},
        {good + "BEGIN:VCARD\nBEGIN:VCARD\nEND:VCARD\n", ":7: BEGIN:VCARD inside the card begun at line 6"},
        {good + "N:Stray;Line\n", ":6: text outside BEGIN:VCARD ... END:VCARD"},
        {good + "BEGIN:VCARD\nVERSION:5.0\nEND:VCARD\n", ":7: unsupported vCard version 5.0"},
        {"BEGIN:VCALENDAR\nEND:VCALENDAR\n", ":1: BEGIN:VCALENDAR is not a vCard"},
        {std::string("\xFF\xFE"
                     "B\0E\0",
                     6),
         ":1: the file is UTF-16 text"},
    };
    for (const Bad& bad : kBad) {
        std::string file = WriteBytes(files_, "bad.vcf", bad.text);
        Result r = Import(file);
        EXPECT_EQ(1, r.status) << bad.text;
        EXPECT_EQ(0u, r.err.find("phone: " + file + bad.where)) << r.err;
        EXPECT_EQ(1, std::count(r.err.begin(), r.err.end(), '\n')) << r.err;
    }
    Result empty = Import(WriteBytes(files_, "empty.vcf", "\n\n"));
    EXPECT_EQ(1, empty.status);
    EXPECT_NE(std::string::npos, empty.err.find("no vCard in the file")) << empty.err;
    EXPECT_TRUE(Contacts().empty());
}

}  // namespace
}  // namespace phone_test
