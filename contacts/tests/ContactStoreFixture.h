// A fresh device with the contact store registered, on a thread that has
// initialised COM as the inbox service's threads have.
#pragma once

#include "NumberReplacement.h"
#include "Settings.h"

#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <objbase.h>
#include <pimstore_host.h>

#include <string>

class ContactStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        ASSERT_TRUE(host::RegisterContactStore());
    }
    void TearDown() override {
        host::ClearFaults();
        CoUninitialize();
    }

    // A contact with one phone number of the given kind.
    static long AddContact(const std::u16string& first, const std::u16string& last, CEPROPID kind,
                           const std::u16string& number, const std::u16string& fileAs = u"",
                           const std::u16string& company = u"") {
        host::ContactRecord record;
        record.firstName = first;
        record.lastName = last;
        record.fileAs = fileAs;
        record.companyName = company;
        for (size_t i = 0; i < host::kContactPhoneKinds.size(); ++i)
            if (host::kContactPhoneKinds[i].propid == kind) record.phones[i] = number;
        long oid = host::AddContact(record);
        EXPECT_NE(oid, 0);
        return oid;
    }

    // The rewritten text, or "<unchanged>" when the pass gives none.
    static std::u16string Replace(const std::u16string& text, Settings& settings, BOOL deliveredReport = FALSE) {
        LPWSTR rewritten = reinterpret_cast<LPWSTR>(1);
        if (!ReplaceNumbersWithNames(text.c_str(), settings, &rewritten, deliveredReport)) {
            EXPECT_EQ(rewritten, nullptr);
            return u"<unchanged>";
        }
        EXPECT_NE(rewritten, nullptr);
        std::u16string result = rewritten ? rewritten : u"";
        LocalFree(rewritten);
        return result;
    }

    testing_support::TempDevice device;
};
