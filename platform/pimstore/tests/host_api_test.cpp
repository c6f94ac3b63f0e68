// The host API of the contact store: batches, the sender-name lookup of the
// inbox service, and the store following the open device. (Listing is
// checked through `phone contacts list`.)
#include "PimTest.h"

#include <vector>

namespace pimtest {
namespace {

using HostApiTest = PimTest;

host::ContactRecord Record(const std::u16string& first, const std::u16string& last, const std::u16string& mobile) {
    host::ContactRecord r;
    r.firstName = first;
    r.lastName = last;
    r.phones[0] = mobile;
    return r;
}

TEST_F(HostApiTest, ABatchIsStoredWholeOrNotAtAll) {
    ASSERT_TRUE(host::BeginContactBatch());
    EXPECT_NE(0, host::AddContact(Record(u"A", u"", u"1111111")));
    EXPECT_NE(0, host::AddContact(Record(u"B", u"", u"2222222")));
    host::RollbackContactBatch();
    std::vector<host::ContactRecord> all;
    ASSERT_TRUE(host::ListContacts(&all));
    EXPECT_TRUE(all.empty());
    EXPECT_EQ(u"", host::ContactNameForNumber(u"1111111"));

    ASSERT_TRUE(host::BeginContactBatch());
    for (int i = 0; i < 50; ++i)
        EXPECT_NE(0, host::AddContact(Record(u"C", u"", u"+7 916 000 00 " + std::u16string(1, u'0' + i % 10))));
    EXPECT_TRUE(host::CommitContactBatch());
    ASSERT_TRUE(host::ListContacts(&all));
    EXPECT_EQ(50u, all.size());
    EXPECT_FALSE(host::CommitContactBatch());  // none open
}

TEST_F(HostApiTest, SenderNameIsTheFileAsOfTheMatchingContact) {
    host::AddContact(Record(u"Ivan", u"Petrov", u"+7 916 123-45-67"));
    host::ContactRecord company;
    company.companyName = u"Orvane";
    company.phones[8] = u"0611";
    host::AddContact(company);
    EXPECT_EQ(u"Petrov, Ivan", host::ContactNameForNumber(u"89161234567"));
    EXPECT_EQ(u"", host::ContactNameForNumber(u"0611"));  // no names: no FileAs
    EXPECT_EQ(u"", host::ContactNameForNumber(u"+79160000000"));
    EXPECT_EQ(u"", host::ContactNameForNumber(u""));

    host::CloseDevice();
    EXPECT_EQ(u"", host::ContactNameForNumber(u"89161234567"));
    EXPECT_EQ(0, host::AddContact(Record(u"X", u"", u"1")));
}

TEST_F(HostApiTest, EachDeviceHasItsOwnContacts) {
    host::AddContact(Record(u"Ivan", u"Petrov", u"+79161234567"));
    testing_support::TempFolder other;
    ASSERT_TRUE(host::OpenDevice(other.path()));
    EXPECT_EQ(u"", host::ContactNameForNumber(u"89161234567"));
    host::AddContact(Record(u"Olga", u"", u"+79161234567"));
    EXPECT_EQ(u"Olga", host::ContactNameForNumber(u"89161234567"));
    ASSERT_TRUE(host::OpenDevice(device_.folder()));
    EXPECT_EQ(u"Petrov, Ivan", host::ContactNameForNumber(u"89161234567"));
}

}  // namespace
}  // namespace pimtest
