// FindMatchingContact with FMCF_FINDPHONE: the caller-identification rule
// of the store, its answers, and its injected faults.
#include "PimTest.h"

namespace pimtest {
namespace {

class MatchTest : public PimTest {
protected:
    void SetUp() override {
        PimTest::SetUp();
        Ref<IPOutlookApp> app = LoggedOnApp();
        app_ = app.release();
    }
    void TearDown() override {
        if (app_) app_->Release();
        PimTest::TearDown();
    }

    struct Found {
        HRESULT hr;
        long oid = 0;  // 0 when no item came back
        CEPROPID propid = 0xDEAD;
    };
    Found Find(const std::u16string& number) {
        Found f;
        IItem* item = reinterpret_cast<IItem*>(0x1);
        f.hr = FindMatchingContact(app_, number.c_str(), FMCF_FINDPHONE, &item, &f.propid);
        if (item) {
            EXPECT_EQ(S_OK, item->get_Oid(&f.oid));
            item->Release();
        }
        return f;
    }
    // The oid of the contact found for number, 0 when none.
    long Who(const std::u16string& number) {
        Found f = Find(number);
        EXPECT_TRUE(f.hr == S_OK || f.hr == S_FALSE) << std::hex << f.hr;
        return f.oid;
    }

    IPOutlookApp* app_ = nullptr;
};

TEST_F(MatchTest, LastSevenDigitsMatchAcrossNotations) {
    long ivan = Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+7 916 123-45-67"}});
    long olga = Add(u"Olga", u"", {{PIMPR_HOME_TELEPHONE_NUMBER, u"8 (495) 765.43.21"}});
    EXPECT_EQ(ivan, Who(u"89161234567"));
    EXPECT_EQ(ivan, Who(u"+79161234567"));
    EXPECT_EQ(ivan, Who(u"1234567"));               // seven digits are enough
    EXPECT_EQ(ivan, Who(u"tel:+1-800-123-45-67"));  // everything but digits is ignored
    EXPECT_EQ(olga, Who(u"+7 495 7654321"));
    EXPECT_EQ(0, Who(u"+79161234568"));
    EXPECT_EQ(0, Who(u"234567"));  // six digits: a short number, matched whole only

    Found f = Find(u"+7 (495) 765-43-21");
    EXPECT_EQ(S_OK, f.hr);
    EXPECT_EQ(CEPROPID(PIMPR_HOME_TELEPHONE_NUMBER), f.propid);
}

TEST_F(MatchTest, LongestTrailingRunWinsThenFirstStored) {
    long moscow = Add(u"Moscow", u"", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+7 495 123 45 67"}});
    long mobile = Add(u"Mobile", u"", {{PIMPR_BUSINESS_TELEPHONE_NUMBER, u"8 916 123 45 67"}});
    long twin = Add(u"Twin", u"", {{PIMPR_CAR_TELEPHONE_NUMBER, u"+7 916 123 45 67"}});
    // 916 123 45 67 agrees with "8 916 ..." and "+7 916 ..." on ten digits
    // and with "+7 495 ..." on seven: the longer run beats the first stored,
    // and of the two equal runs the first stored wins.
    EXPECT_EQ(mobile, Who(u"916 123 45 67"));
    EXPECT_EQ(mobile, Who(u"09161234567"));
    EXPECT_EQ(moscow, Who(u"84951234567"));
    EXPECT_EQ(twin, Who(u"+79161234567"));  // only the twin agrees on all eleven
    EXPECT_EQ(mobile, Who(u"89161234567"));
    // A run of exactly seven digits everywhere: the first stored.
    EXPECT_EQ(moscow, Who(u"3331234567"));

    // Within one contact the longer run wins over the property order, and
    // the property order breaks ties.
    long both = Add(u"Both", u"",
                    {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"0001112222"},
                     {PIMPR_HOME_TELEPHONE_NUMBER, u"5551112222"},
                     {PIMPR_BUSINESS_TELEPHONE_NUMBER, u"5551112222"}});
    Found f = Find(u"5551112222");
    EXPECT_EQ(both, f.oid);
    EXPECT_EQ(CEPROPID(PIMPR_BUSINESS_TELEPHONE_NUMBER), f.propid);
    f = Find(u"0001112222");
    EXPECT_EQ(CEPROPID(PIMPR_MOBILE_TELEPHONE_NUMBER), f.propid);
}

TEST_F(MatchTest, ShortNumbersMatchOnlyWhole) {
    long service = Add(u"Service", u"", {{PIMPR_COMPANY_TELEPHONE_NUMBER, u"0611"}});
    long six = Add(u"Six", u"", {{PIMPR_PAGER_NUMBER, u"12-34-56"}});
    long longOne = Add(u"Long", u"", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+7 916 000 06 11"}});
    EXPECT_EQ(service, Who(u"0611"));
    EXPECT_EQ(service, Who(u"06-11"));
    EXPECT_EQ(0, Who(u"611"));
    EXPECT_EQ(0, Who(u"10611"));
    EXPECT_EQ(six, Who(u"123456"));
    EXPECT_EQ(0, Who(u"0123456"));  // seven digits do not end a six-digit number
    EXPECT_EQ(longOne, Who(u"9160000611"));
    EXPECT_EQ(0, Who(u"000611"));  // short: not the end of the long number
    Found f = Find(u"0611");
    EXPECT_EQ(CEPROPID(PIMPR_COMPANY_TELEPHONE_NUMBER), f.propid);
}

TEST_F(MatchTest, DigitsOfAnyScriptCountByTheirValue) {
    long arabic = Add(u"Arabic", u"", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+٩٦٦ ٥٠ ١٢٣ ٤٥٦٧"}});  // U+0660..
    long latin = Add(u"Latin", u"", {{PIMPR_HOME_TELEPHONE_NUMBER, u"+7 916 765-43-21"}});
    EXPECT_EQ(arabic, Who(u"0501234567"));
    EXPECT_EQ(latin, Who(u"８９１６７６５４３２１"));  // fullwidth
    EXPECT_EQ(latin, Who(u"۸۹۱۶۷۶۵۴۳۲۱"));             // extended Arabic-Indic
    EXPECT_EQ(latin, Who(u"८९१६७६५४३२१"));             // Devanagari
    EXPECT_EQ(0, Who(u"²³⁴⁵⁶⁷⁸"));                     // superscripts are no decimal digits
}

TEST_F(MatchTest, NoMatchIsSFalseWithANullItem) {
    Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}, {PIMPR_PAGER_NUMBER, u"no digits"}});
    for (const char16_t* number : {u"+79160000000", u"", u"abc", u"no digits", u"+"}) {
        Found f = Find(number);
        EXPECT_EQ(S_FALSE, f.hr);
        EXPECT_EQ(0, f.oid);
        EXPECT_EQ(CEPROPID(0xDEAD), f.propid);  // written only with a match
    }
}

TEST_F(MatchTest, BadArgumentsAreRefused) {
    Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}});
    IItem* item = reinterpret_cast<IItem*>(0x1);
    CEPROPID propid = 0;
    EXPECT_EQ(E_INVALIDARG, FindMatchingContact(nullptr, u"1234567", FMCF_FINDPHONE, &item, &propid));
    EXPECT_EQ(nullptr, item);
    EXPECT_EQ(E_INVALIDARG, FindMatchingContact(app_, nullptr, FMCF_FINDPHONE, &item, &propid));
    EXPECT_EQ(E_INVALIDARG, FindMatchingContact(app_, u"1234567", FMCF_FINDPHONE, nullptr, &propid));
    EXPECT_EQ(E_INVALIDARG, FindMatchingContact(app_, u"1234567", FMCF_FINDPHONE, &item, nullptr));
    EXPECT_EQ(E_INVALIDARG, FindMatchingContact(app_, u"1234567", 0x80, &item, &propid));
    EXPECT_EQ(E_NOTIMPL, FindMatchingContact(app_, u"1234567", FMCF_FINDEMAIL, &item, &propid));
    EXPECT_EQ(nullptr, item);
}

TEST_F(MatchTest, ChangedAndRemovedNumbersLeaveTheIndex) {
    long oid = Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}});
    Ref<IDispatch> dispatch;
    ASSERT_EQ(S_OK, app_->GetItemFromOid(oid, dispatch.out()));
    Ref<IContact> contact;
    ASSERT_EQ(S_OK, dispatch->QueryInterface(IID_IContact, contact.outVoid()));
    contact->put_MobileTelephoneNumber(const_cast<BSTR>(u""));
    contact->put_Home2TelephoneNumber(const_cast<BSTR>(u"+7 903 111 22 33"));
    ASSERT_EQ(S_OK, contact->Save());
    EXPECT_EQ(0, Who(u"89161234567"));
    Found f = Find(u"89031112233");
    EXPECT_EQ(oid, f.oid);
    EXPECT_EQ(CEPROPID(PIMPR_HOME2_TELEPHONE_NUMBER), f.propid);
}

TEST_F(MatchTest, InjectedFaults) {
    Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}});

    host::FailCall("FindMatchingContact", 1, E_OUTOFMEMORY);
    Found f = Find(u"89161234567");
    EXPECT_EQ(E_OUTOFMEMORY, f.hr);
    EXPECT_EQ(0, f.oid);

    // A success code with no item: what a careless store could answer.
    host::FailCall("FindMatchingContact", 1, S_OK);
    f = Find(u"89161234567");
    EXPECT_EQ(S_OK, f.hr);
    EXPECT_EQ(0, f.oid);

    EXPECT_EQ(S_OK, Find(u"89161234567").hr);

    // An item that yields no IContact.
    IItem* item = nullptr;
    CEPROPID propid = 0;
    ASSERT_EQ(S_OK, FindMatchingContact(app_, u"89161234567", FMCF_FINDPHONE, &item, &propid));
    host::FailCall("IItem::QueryInterface(IContact)", 1, E_NOINTERFACE);
    IContact* contact = reinterpret_cast<IContact*>(0x1);
    EXPECT_EQ(E_NOINTERFACE, item->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact)));
    EXPECT_EQ(nullptr, contact);
    EXPECT_EQ(S_OK, item->QueryInterface(IID_IContact, reinterpret_cast<void**>(&contact)));
    ASSERT_NE(nullptr, contact);
    contact->Release();
    EXPECT_EQ(0u, item->Release());
}

}  // namespace
}  // namespace pimtest
