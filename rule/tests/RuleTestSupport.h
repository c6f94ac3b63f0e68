// What the rule tests share: a fresh device with the message store, the
// rule client registered and loaded as the inbox service loads it, and
// helpers to put messages and settings in place.
#pragma once

#include <TempDevice.h>
#include <cemapi.h>
#include <cemapi_host.h>
#include <gtest/gtest.h>

#include <string>

namespace rule_tests {

class RuleFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Settings under HKLM\Software\Orvane\Lumenrest.
    void SetSetting(const WCHAR* name, DWORD value);
    void SetSettingText(const WCHAR* name, const std::u16string& text);
    void SetActiveProfile(const std::u16string& name);

    host::EntryId Arrive(const std::u16string& messageClass, const std::u16string& text,
                         const std::u16string& sender = u"+79161234567");
    // Runs ProcessMessage on a message; the event type starts at 0 (the rule
    // ORs bits into it), handled at a value the rule never writes.
    HRESULT Process(const host::EntryId& entry);

    host::StoredMessage Find(host::MessageFolder folder, const host::EntryId& entry, bool* found);

    // Another rule client of the module, initialised with store as an inbox
    // service does; null on failure.
    static IMailRuleClient* NewClient(IMsgStore* store);

    static constexpr ULONG kUnwrittenEvent = 0;
    static constexpr int kUnwrittenHandled = -1;

    testing_support::TempDevice device_;
    IMsgStore* store_ = nullptr;
    IMailRuleClient* client_ = nullptr;
    ULONG eventType_ = kUnwrittenEvent;
    MRCHANDLED handled_ = static_cast<MRCHANDLED>(kUnwrittenHandled);
};

// The rule with its bubble on screen: the shell (the home screen the bubble
// floats over) and the contact store with one contact of the mobile number
// 89161234567, named by its own name parts (UseFileAs off). What the bubble
// loaded goes at the end with the shell.
class BubbleRuleFixture : public RuleFixture {
protected:
    void SetUp() override { SetUpWithContact(u"Mirela", u"Dovanne"); }
    void SetUpWithContact(const std::u16string& firstName, const std::u16string& lastName);
    void TearDown() override;

    // The bubble's window; null until the rule first announced a message.
    static HWND BubbleWindow();
};

}  // namespace rule_tests
