// What the contact store's tests share: a device with the store registered,
// a logged-on application object, and small helpers for references and
// BSTRs.
#pragma once

#include <InterfaceRef.h>
#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <pimstore.h>
#include <pimstore_host.h>

#include <initializer_list>
#include <string>
#include <utility>

namespace pimtest {

template <class T>
using Ref = testing_support::Ref<T>;

// Takes a BSTR returned by the store: its text, and the BSTR freed.
inline std::u16string Take(BSTR text) {
    std::u16string out = text ? std::u16string(text, SysStringLen(text)) : std::u16string();
    SysFreeString(text);
    return out;
}

struct Phone {
    CEPROPID propid;
    std::u16string number;
};

// A contact stored through the host API; returns its oid.
inline long Add(const std::u16string& first, const std::u16string& last, std::initializer_list<Phone> phones,
                const std::u16string& company = u"") {
    host::ContactRecord record;
    record.firstName = first;
    record.lastName = last;
    record.companyName = company;
    for (const Phone& phone : phones) {
        for (size_t i = 0; i < host::kContactPhoneKinds.size(); ++i)
            if (host::kContactPhoneKinds[i].propid == phone.propid) record.phones[i] = phone.number;
    }
    long oid = host::AddContact(record);
    EXPECT_NE(0, oid);
    return oid;
}

// A fresh device with the contact store registered and COM initialised.
class PimTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host::RegisterContactStore());
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    }
    void TearDown() override { CoUninitialize(); }

    // The application object, logged on, as the system gets it.
    Ref<IPOutlookApp> LoggedOnApp() {
        Ref<IPOutlookApp> app;
        EXPECT_EQ(S_OK,
                  CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, app.outVoid()));
        if (app) {
            EXPECT_EQ(S_OK, app->Logon(0));
        }
        return Ref<IPOutlookApp>(app.release());
    }

    testing_support::TempDevice device_;
};

}  // namespace pimtest
