// Contacts through IPOutlookApp and IContact: creating, saving, reading
// back, the store's FileAs default, and deleting.
#include "PimTest.h"

#include <sys/wait.h>
#include <unistd.h>

namespace pimtest {
namespace {

using ContactTest = PimTest;

Ref<IContact> NewContact(IPOutlookApp* app) {
    Ref<IDispatch> item;
    EXPECT_EQ(S_OK, app->CreateItem(olContactItem, item.out()));
    Ref<IContact> contact;
    if (item) {
        EXPECT_EQ(S_OK, item->QueryInterface(IID_IContact, contact.outVoid()));
    }
    return Ref<IContact>(contact.release());
}

Ref<IContact> Reload(IPOutlookApp* app, long oid) {
    Ref<IDispatch> item;
    EXPECT_EQ(S_OK, app->GetItemFromOid(oid, item.out()));
    Ref<IContact> contact;
    if (item) {
        EXPECT_EQ(S_OK, item->QueryInterface(IID_IContact, contact.outVoid()));
    }
    return Ref<IContact>(contact.release());
}

std::u16string FileAs(IContact* contact) {
    BSTR text = nullptr;
    EXPECT_EQ(S_OK, contact->get_FileAs(&text));
    return Take(text);
}

// Saves a contact with the given names (null: left unset) and returns the
// FileAs the store gave it, read back from the store.
std::u16string SavedFileAs(IPOutlookApp* app, const char16_t* first, const char16_t* last,
                           const char16_t* fileAs = nullptr) {
    Ref<IContact> contact = NewContact(app);
    if (first) contact->put_FirstName(const_cast<BSTR>(first));
    if (last) contact->put_LastName(const_cast<BSTR>(last));
    if (fileAs) contact->put_FileAs(const_cast<BSTR>(fileAs));
    EXPECT_EQ(S_OK, contact->Save());
    long oid = 0;
    contact->get_Oid(&oid);
    return FileAs(Reload(app, oid).get());
}

TEST_F(ContactTest, EveryFieldIsStoredAndReadBack) {
    Ref<IPOutlookApp> app = LoggedOnApp();
    Ref<IContact> contact = NewContact(app.get());
    long oid = -1;
    EXPECT_EQ(S_OK, contact->get_Oid(&oid));
    EXPECT_EQ(0, oid);  // not saved yet

    BSTR first = SysAllocString(u"Анна");
    EXPECT_EQ(S_OK, contact->put_FirstName(first));
    SysFreeString(first);
    // A plain string where a BSTR is due is taken up to its terminator.
    contact->put_LastName(const_cast<BSTR>(u"Смирнова"));
    const char16_t odd[] = {u'A', 0xD800, u'Z', 0};  // a lone surrogate survives
    contact->put_CompanyName(const_cast<BSTR>(odd));
    contact->put_MobileTelephoneNumber(const_cast<BSTR>(u"+7 916 000-00-01"));
    contact->put_BusinessTelephoneNumber(const_cast<BSTR>(u"02"));
    contact->put_Business2TelephoneNumber(const_cast<BSTR>(u"03"));
    contact->put_HomeTelephoneNumber(const_cast<BSTR>(u"04"));
    contact->put_Home2TelephoneNumber(const_cast<BSTR>(u"05"));
    contact->put_PagerNumber(const_cast<BSTR>(u"06"));
    contact->put_CarTelephoneNumber(const_cast<BSTR>(u"07"));
    contact->put_RadioTelephoneNumber(const_cast<BSTR>(u"08"));
    contact->put_CompanyTelephoneNumber(const_cast<BSTR>(u"09"));
    contact->put_AssistantTelephoneNumber(const_cast<BSTR>(u"10"));
    ASSERT_EQ(S_OK, contact->Save());
    EXPECT_EQ(S_OK, contact->get_Oid(&oid));
    EXPECT_GT(oid, 0);
    EXPECT_EQ(u"Смирнова, Анна", FileAs(contact.get()));

    Ref<IContact> copy = Reload(app.get(), oid);
    ASSERT_TRUE(copy);
    BSTR text = nullptr;
    copy->get_FirstName(&text);
    EXPECT_EQ(u"Анна", Take(text));
    copy->get_LastName(&text);
    EXPECT_EQ(u"Смирнова", Take(text));
    copy->get_CompanyName(&text);
    EXPECT_EQ(std::u16string(odd), Take(text));
    EXPECT_EQ(u"Смирнова, Анна", FileAs(copy.get()));
    // Plain functions rather than pointers to members: the undefined-behaviour
    // sanitizer of the compiler misreads arrays of those.
    using Getter = HRESULT (*)(IContact*, BSTR*);
    const Getter phones[] = {
        [](IContact* c, BSTR* b) { return c->get_MobileTelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_BusinessTelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_Business2TelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_HomeTelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_Home2TelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_PagerNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_CarTelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_RadioTelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_CompanyTelephoneNumber(b); },
        [](IContact* c, BSTR* b) { return c->get_AssistantTelephoneNumber(b); },
    };
    const char16_t* expected[] = {u"+7 916 000-00-01", u"02", u"03", u"04", u"05", u"06", u"07", u"08", u"09", u"10"};
    for (size_t i = 0; i < std::size(phones); ++i) {
        BSTR number = nullptr;
        EXPECT_EQ(S_OK, phones[i](copy.get(), &number));
        EXPECT_EQ(std::u16string(expected[i]), Take(number)) << i;
    }

    // A field never set reads as an empty string, not as NULL.
    Ref<IContact> bare = NewContact(app.get());
    ASSERT_EQ(S_OK, bare->get_PagerNumber(&text));
    ASSERT_NE(nullptr, text);
    EXPECT_EQ(u"", Take(text));
    EXPECT_EQ(E_INVALIDARG, bare->get_FirstName(nullptr));
    EXPECT_EQ(E_INVALIDARG, bare->get_Oid(nullptr));
}

TEST_F(ContactTest, FileAsDefaultsToLastCommaFirstUnlessGiven) {
    Ref<IPOutlookApp> app = LoggedOnApp();
    EXPECT_EQ(u"Petrov, Ivan", SavedFileAs(app.get(), u"Ivan", u"Petrov"));
    EXPECT_EQ(u"Ivan", SavedFileAs(app.get(), u"Ivan", nullptr));
    EXPECT_EQ(u"Petrov", SavedFileAs(app.get(), u"", u"Petrov"));
    EXPECT_EQ(u"", SavedFileAs(app.get(), nullptr, nullptr));
    EXPECT_EQ(u"Boss", SavedFileAs(app.get(), u"Ivan", u"Petrov", u"Boss"));
    // An empty file-as text is no file-as text.
    EXPECT_EQ(u"Petrov, Ivan", SavedFileAs(app.get(), u"Ivan", u"Petrov", u""));

    // A derived FileAs follows the names; a given one stays.
    Ref<IContact> derived = NewContact(app.get());
    derived->put_FirstName(const_cast<BSTR>(u"Ivan"));
    derived->put_LastName(const_cast<BSTR>(u"Petrov"));
    ASSERT_EQ(S_OK, derived->Save());
    derived->put_LastName(const_cast<BSTR>(u"Sidorov"));
    ASSERT_EQ(S_OK, derived->Save());
    EXPECT_EQ(u"Sidorov, Ivan", FileAs(derived.get()));

    Ref<IContact> given = NewContact(app.get());
    given->put_FirstName(const_cast<BSTR>(u"Ivan"));
    given->put_FileAs(const_cast<BSTR>(u"Ivan from work"));
    ASSERT_EQ(S_OK, given->Save());
    long oid = 0;
    given->get_Oid(&oid);
    Ref<IContact> again = Reload(app.get(), oid);
    again->put_LastName(const_cast<BSTR>(u"Petrov"));
    ASSERT_EQ(S_OK, again->Save());
    EXPECT_EQ(u"Ivan from work", FileAs(Reload(app.get(), oid).get()));
}

TEST_F(ContactTest, ATextLongerThanAPropertyHoldsIsRefused) {
    Ref<IPOutlookApp> app = LoggedOnApp();
    const std::u16string longest(host::kMaxContactText, u'a'), tooLong(host::kMaxContactText + 1, u'a');

    // The longest text is stored whole, in every property.
    Ref<IContact> fits = NewContact(app.get());
    fits->put_FirstName(const_cast<BSTR>(longest.c_str()));
    fits->put_CompanyName(const_cast<BSTR>(longest.c_str()));
    fits->put_MobileTelephoneNumber(const_cast<BSTR>(longest.c_str()));
    ASSERT_EQ(S_OK, fits->Save());
    long oid = 0;
    fits->get_Oid(&oid);
    EXPECT_EQ(longest, FileAs(Reload(app.get(), oid).get()));

    // One character more, in any property, and nothing is stored.
    void (*const setters[])(IContact*, BSTR) = {
        [](IContact* c, BSTR t) { c->put_FirstName(t); },
        [](IContact* c, BSTR t) { c->put_LastName(t); },
        [](IContact* c, BSTR t) { c->put_FileAs(t); },
        [](IContact* c, BSTR t) { c->put_CompanyName(t); },
        [](IContact* c, BSTR t) { c->put_HomeTelephoneNumber(t); },
    };
    for (auto set : setters) {
        Ref<IContact> contact = NewContact(app.get());
        set(contact.get(), const_cast<BSTR>(tooLong.c_str()));
        EXPECT_EQ(E_INVALIDARG, contact->Save());
    }
    host::ContactRecord record;
    record.lastName = tooLong;
    EXPECT_EQ(0, host::AddContact(record));
    std::vector<host::ContactRecord> all;
    ASSERT_TRUE(host::ListContacts(&all));
    EXPECT_EQ(1u, all.size());

    // A file-as text the store derives from two long names is cut to fit.
    EXPECT_EQ(longest, SavedFileAs(app.get(), u"b", longest.c_str()));
}

TEST_F(ContactTest, DeletedContactsAndUnknownOidsAreNotFound) {
    Ref<IPOutlookApp> app = LoggedOnApp();
    long oid = Add(u"Ivan", u"Petrov", {{PIMPR_HOME_TELEPHONE_NUMBER, u"+7 495 123-45-67"}});
    Ref<IDispatch> item;
    EXPECT_EQ(E_INVALIDARG, app->GetItemFromOid(0, item.out()));
    EXPECT_EQ(E_INVALIDARG, app->GetItemFromOid(-5, item.out()));
    EXPECT_EQ(E_INVALIDARG, app->GetItemFromOid(oid + 100, item.out()));
    EXPECT_EQ(nullptr, item.get());
    EXPECT_EQ(E_INVALIDARG, app->CreateItem(1, item.out()));  // appointments are not kept here
    EXPECT_EQ(E_INVALIDARG, app->GetItemFromOid(oid, nullptr));

    Ref<IContact> contact = Reload(app.get(), oid);
    ASSERT_TRUE(contact);
    EXPECT_EQ(S_OK, contact->Delete());
    EXPECT_EQ(E_INVALIDARG, app->GetItemFromOid(oid, item.out()));
    IItem* found = nullptr;
    CEPROPID propid = 0;
    EXPECT_EQ(S_FALSE, FindMatchingContact(app.get(), u"84951234567", FMCF_FINDPHONE, &found, &propid));

    // What remains of a deleted item is an unsaved copy; saving stores it anew.
    long after = -1;
    contact->get_Oid(&after);
    EXPECT_EQ(0, after);
    ASSERT_EQ(S_OK, contact->Save());
    contact->get_Oid(&after);
    EXPECT_GT(after, oid);  // oids are never reused
    EXPECT_EQ(S_OK, FindMatchingContact(app.get(), u"84951234567", FMCF_FINDPHONE, &found, &propid));
    if (found) found->Release();
}

TEST_F(ContactTest, AnotherProcessSeesWhatThisOneSavedAndTheReverse) {
    // The child starts before this process opens the store, so that no
    // database connection crosses the fork.
    int go[2];
    ASSERT_EQ(0, pipe(go));
    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        char c;
        if (read(go[0], &c, 1) != 1) _exit(10);
        host::ContactRecord record;
        record.firstName = u"Olga";
        record.phones[0] = u"+7 903 765-43-21";
        if (host::AddContact(record) == 0) _exit(11);
        if (host::ContactNameForNumber(u"89161234567") != u"Petrov, Ivan") _exit(12);
        _exit(0);
    }
    Ref<IPOutlookApp> app = LoggedOnApp();
    Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}});
    IItem* item = nullptr;
    CEPROPID propid = 0;
    EXPECT_EQ(S_FALSE, FindMatchingContact(app.get(), u"89037654321", FMCF_FINDPHONE, &item, &propid));
    ASSERT_EQ(1, write(go[1], "x", 1));
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    // The warm connection of this process sees the other's contact.
    ASSERT_EQ(S_OK, FindMatchingContact(app.get(), u"89037654321", FMCF_FINDPHONE, &item, &propid));
    Ref<IContact> contact;
    ASSERT_EQ(S_OK, item->QueryInterface(IID_IContact, contact.outVoid()));
    item->Release();
    EXPECT_EQ(u"Olga", FileAs(contact.get()));
    close(go[0]);
    close(go[1]);
}

}  // namespace
}  // namespace pimtest
