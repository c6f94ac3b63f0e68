// phone contacts import/list and phone init --contacts, end to end through
// the emulator's command line.
#include "PhoneRunner.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace phone_test {
namespace {

class ContactsCommandTest : public ::testing::Test {
protected:
    Result Phone(const std::string& args) { return RunPhone(device_.path(), args); }

    testing_support::TempFolder device_, files_;
};

TEST_F(ContactsCommandTest, ListShowsEachContactOnOneLine) {
    ASSERT_EQ(0, Phone("init").status);
    Result empty = Phone("contacts list");
    EXPECT_EQ(0, empty.status);
    EXPECT_EQ("", empty.out);

    std::string file = WriteBytes(files_, "c.vcf",
                                  "BEGIN:VCARD\nVERSION:3.0\nN:O\"Brien\\\\;Tab\\nNewline\nORG:Orvane\n"
                                  "TEL;TYPE=HOME:+353 1 555 0100\nTEL;TYPE=CELL:+353 87 555 0101\nEND:VCARD\n"
                                  "BEGIN:VCARD\nVERSION:3.0\nORG:Taxi\nTEL;TYPE=MAIN:0611\nEND:VCARD\n"
                                  "BEGIN:VCARD\nVERSION:3.0\nNOTE:nothing the phone keeps\nEND:VCARD\n");
    Result imported = Phone("contacts import '" + file + "'");
    ASSERT_EQ(0, imported.status) << imported.err;
    EXPECT_EQ("imported 3 contacts from " + file + "\n", imported.out);

    Result text = Phone("contacts list");
    ASSERT_EQ(0, text.status) << text.err;
    EXPECT_EQ(
        "O\"Brien\\, Tab Newline\tmobile: +353 87 555 0101\thome: +353 1 555 0100\n"
        "Taxi\tcompany: 0611\n"
        "(no name)\n",
        text.out);

    Result json = Phone("contacts list --json");
    ASSERT_EQ(0, json.status) << json.err;
    std::vector<std::string> lines = Lines(json.out);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(
        "{\"oid\":1,\"file_as\":\"O\\\"Brien\\\\, Tab\\nNewline\",\"first_name\":\"Tab\\nNewline\","
        "\"last_name\":\"O\\\"Brien\\\\\",\"company_name\":\"Orvane\",\"phones\":{\"mobile\":\"+353 87 555 0101\","
        "\"business\":\"\",\"business2\":\"\",\"home\":\"+353 1 555 0100\",\"home2\":\"\",\"pager\":\"\","
        "\"car\":\"\",\"radio\":\"\",\"company\":\"\",\"assistant\":\"\"}}",
        lines[0]);
    EXPECT_EQ("0611", PhoneText(lines[1], "company"));
    EXPECT_EQ("Taxi", JsonText(lines[1], "company_name"));

    // Importing again adds the cards again: an import does not merge.
    ASSERT_EQ(0, Phone("contacts import '" + file + "'").status);
    EXPECT_EQ(6u, Lines(Phone("contacts list").out).size());
}

TEST_F(ContactsCommandTest, UsageAndMissingThings) {
    EXPECT_EQ(2, Phone("contacts").status);
    EXPECT_EQ(2, Phone("contacts merge x.vcf").status);
    EXPECT_EQ(2, Phone("contacts import").status);
    EXPECT_EQ(2, Phone("contacts import a.vcf b.vcf").status);
    EXPECT_EQ(2, Phone("contacts list --xml").status);
    EXPECT_EQ(2, Phone("contacts list extra").status);

    Result noDevice = Phone("contacts list");
    EXPECT_EQ(1, noDevice.status);
    EXPECT_NE(std::string::npos, noDevice.err.find("no device")) << noDevice.err;
    EXPECT_FALSE(std::filesystem::exists(device_.path() + "/contacts.db"));

    ASSERT_EQ(0, Phone("init").status);
    Result missing = Phone("contacts import '" + files_.path() + "/missing.vcf'");
    EXPECT_EQ(1, missing.status);
    EXPECT_EQ("phone: cannot read " + files_.path() + "/missing.vcf: no such file\n", missing.err);
    Result folder = Phone("contacts import '" + files_.path() + "'");
    EXPECT_EQ(1, folder.status);

    Result help = Phone("contacts --help");
    EXPECT_EQ(0, help.status);
    EXPECT_NE(std::string::npos, help.out.find("dropped")) << help.out;
}

TEST_F(ContactsCommandTest, InitTakesAContactsFileAndRegistersTheStore) {
    Result made = Phone("init --contacts '" + DataFile("phone21.vcf") + "'");
    ASSERT_EQ(0, made.status) << made.err;
    EXPECT_NE(std::string::npos, made.out.find("imported 3 contacts")) << made.out;
    EXPECT_EQ(3u, Lines(Phone("contacts list").out).size());
    Result reg = Phone("reg get 'HKCR\\CLSID\\{05058F23-20BE-11D2-8F18-0000F87A4335}\\InprocServer32' @");
    EXPECT_EQ(0, reg.status) << reg.err;
    EXPECT_NE(std::string::npos, reg.out.find("pimstore.dll")) << reg.out;

    // A file that cannot be read leaves the device as it was, --force or not.
    Result refused = Phone("init --force --contacts '" + DataFile("broken.vcf") + "'");
    EXPECT_EQ(1, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find("broken.vcf:6:")) << refused.err;
    EXPECT_EQ(3u, Lines(Phone("contacts list").out).size());

    testing_support::TempFolder fresh;
    Result none = RunPhone(fresh.path() + "/dev", "init --contacts '" + DataFile("broken.vcf") + "'");
    EXPECT_EQ(1, none.status);
    EXPECT_FALSE(std::filesystem::exists(fresh.path() + "/dev"));
}

}  // namespace
}  // namespace phone_test
