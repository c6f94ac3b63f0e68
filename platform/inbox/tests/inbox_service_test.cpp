// The inbox service: rule clients found in the registry, loaded, called
// for every arrival, and unloaded at shutdown.
#include <TempDevice.h>
#include <cemapi_host.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <inbox_host.h>
#include <objbase.h>
#include <pimstore_host.h>

namespace {

class InboxService : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    }
    void TearDown() override {
        host::StopInboxService();
        host::StopMessageStore();
    }
    void RegisterRuleClient() {
        HMODULE module = LoadLibraryW(TEXT("RuleProbe.dll"));
        ASSERT_NE(module, nullptr);
        auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module, TEXT("DllRegisterServer")));
        ASSERT_EQ(registerServer(), S_OK);
        FreeLibrary(module);
    }
    // The probe client's answer (see modules/RuleProbe.cpp).
    void SetProbeAnswer(const WCHAR* name, DWORD value) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("RuleProbe"), 0, nullptr, 0, 0, nullptr, &key, nullptr);
        RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        RegCloseKey(key);
    }
    void ClearProbeAnswer(const WCHAR* name) {
        HKEY key = nullptr;
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("RuleProbe"), 0, nullptr, 0, 0, nullptr, &key, nullptr);
        RegDeleteValueW(key, name);
        RegCloseKey(key);
    }
    std::u16string ProbeLastSubject() {
        HKEY key = nullptr;
        WCHAR text[256] = {};
        DWORD size = sizeof text;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("RuleProbe"), 0, 0, &key) != ERROR_SUCCESS) return u"";
        RegQueryValueExW(key, TEXT("LastSubject"), nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return text;
    }
    bool Deliver(const std::u16string& cls, const std::u16string& text, const std::u16string& from,
                 const std::u16string& name = u"") {
        std::string error;
        bool ok = host::DeliverArrivingMessage(host::ArrivingMessage{cls, text, from, name}, &error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }

    testing_support::TempDevice device_;
};

TEST_F(InboxService, WithoutRuleClientsEveryMessageGetsTheStandardNotification) {
    std::string error;
    ASSERT_TRUE(host::StartInboxService(&error)) << error;
    Deliver(u"IPM.SMStext", u"hello", u"Mirela <+79161234567>", u"Mirela");
    EXPECT_FALSE(host::LastRuleResult().called);
    EXPECT_EQ(host::StandardNotificationCount(), 1);
    std::vector<host::StoredMessage> inbox = host::ListMessages(host::MessageFolder::Inbox);
    ASSERT_EQ(inbox.size(), 1u);
    EXPECT_EQ(inbox[0].subject, u"hello");
    EXPECT_EQ(inbox[0].senderAddress, u"Mirela <+79161234567>");
    EXPECT_EQ(inbox[0].senderName, u"Mirela");
    EXPECT_FALSE(inbox[0].read);
}

TEST_F(InboxService, AMessageWithANulIsRefusedWhole) {
    RegisterRuleClient();
    std::string error;
    ASSERT_TRUE(host::StartInboxService(&error)) << error;
    const std::u16string withNul(u"call 89161234567 a\0b tail", 25);
    const host::ArrivingMessage refused[] = {
        {u"IPM.SMStext", withNul, u"+79161234567", u""},
        {u"IPM.SMStext", u"hello", std::u16string(u"+7916\0\u0031\u0032\u0033", 9), u""},
        {u"IPM.SMStext", u"hello", u"+79161234567", std::u16string(u"Mi\0rela", 7)},
        {std::u16string(u"IPM.SMStext\0x", 13), u"hello", u"+79161234567", u""},
    };
    for (const host::ArrivingMessage& message : refused) {
        error.clear();
        EXPECT_FALSE(host::DeliverArrivingMessage(message, &error));
        EXPECT_NE(error.find("NUL"), std::string::npos) << error;
    }
    EXPECT_TRUE(host::ListMessages(host::MessageFolder::Inbox).empty());
    EXPECT_FALSE(host::LastRuleResult().called);
    EXPECT_EQ(host::StandardNotificationCount(), 0);
}

TEST_F(InboxService, TheRuleClientIsCalledAndItsAnswersRecorded) {
    RegisterRuleClient();
    std::string error;
    ASSERT_TRUE(host::StartInboxService(&error)) << error;
    EXPECT_NE(GetModuleHandleW(TEXT("RuleProbe.dll")), nullptr);

    // A client that files a report away: it reports the move and leaves the
    // handled answer unwritten; the service still notifies.
    SetProbeAnswer(TEXT("EventType"), fnevObjectMoved);
    SetProbeAnswer(TEXT("MoveToDeleted"), 1);
    Deliver(u"REPORT.IPM.SMStext.DR", u"Message delivered", u"+79161234567");
    host::RuleResult result = host::LastRuleResult();
    ASSERT_TRUE(result.called);
    EXPECT_EQ(ProbeLastSubject(), u"Message delivered");
    EXPECT_EQ(result.eventType, std::optional<ULONG>(0x20));
    EXPECT_FALSE(result.handled.has_value());
    EXPECT_EQ(host::StandardNotificationCount(), 1);
    ASSERT_EQ(host::ListMessages(host::MessageFolder::DeletedItems).size(), 1u);
    EXPECT_TRUE(host::ListMessages(host::MessageFolder::DeletedItems)[0].read);

    // A client that takes the announcement over.
    ClearProbeAnswer(TEXT("EventType"));
    ClearProbeAnswer(TEXT("MoveToDeleted"));
    SetProbeAnswer(TEXT("Handled"), MRC_HANDLED_DONTCONTINUE);
    Deliver(u"IPM.SMStext", u"hi", u"+79161234567");
    result = host::LastRuleResult();
    EXPECT_EQ(ProbeLastSubject(), u"hi");
    EXPECT_FALSE(result.eventType.has_value());
    EXPECT_EQ(result.handled, std::optional<int>(MRC_HANDLED_DONTCONTINUE));
    EXPECT_EQ(host::StandardNotificationCount(), 1);

    // Not handled: the service notifies itself.
    SetProbeAnswer(TEXT("Handled"), MRC_NOT_HANDLED);
    Deliver(u"IPM.SMStext", u"again", u"+79161234567");
    result = host::LastRuleResult();
    EXPECT_EQ(result.handled, std::optional<int>(MRC_NOT_HANDLED));
    EXPECT_EQ(host::StandardNotificationCount(), 2);

    host::StopInboxService();
    EXPECT_EQ(GetModuleHandleW(TEXT("RuleProbe.dll")), nullptr);  // it allowed unloading
}

TEST_F(InboxService, OnlyEnabledAndLoadableClassesAreUsed) {
    RegisterRuleClient();
    HKEY rules = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules"), 0, 0, &rules),
              ERROR_SUCCESS);
    DWORD off = 0, on = 1;
    RegSetValueExW(rules, TEXT("{5E1F0B7A-3C2D-4E8F-9A1B-2C3D4E5F6A70}"), 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&off), sizeof off);
    RegSetValueExW(rules, TEXT("{00000000-1111-2222-3333-444444444444}"), 0, REG_DWORD,
                   reinterpret_cast<const BYTE*>(&on), sizeof on);  // not registered anywhere
    RegSetValueExW(rules, TEXT("not a class"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(rules);
    std::string error;
    ASSERT_TRUE(host::StartInboxService(&error)) << error;
    Deliver(u"IPM.SMStext", u"hello", u"+7916");
    EXPECT_FALSE(host::LastRuleResult().called);
    EXPECT_EQ(host::StandardNotificationCount(), 1);
    EXPECT_EQ(GetModuleHandleW(TEXT("RuleProbe.dll")), nullptr);
}

}  // namespace

namespace {

TEST_F(InboxService, TheSenderIsNamedAfterTheContactOfTheNumber) {
    ASSERT_TRUE(host::RegisterContactStore());
    host::ContactRecord mirela;
    mirela.firstName = u"Mirela";
    mirela.lastName = u"Dovanne";
    mirela.phones[0] = u"8 916 123-45-67";
    ASSERT_NE(host::AddContact(mirela), 0);
    std::string error;
    ASSERT_TRUE(host::StartInboxService(&error)) << error;
    Deliver(u"IPM.SMStext", u"one", u"+79161234567");
    Deliver(u"IPM.SMStext", u"two", u"Someone <+79161234567>");
    Deliver(u"IPM.SMStext", u"three", u"+79160000000");
    Deliver(u"IPM.SMStext", u"four", u"+79161234567", u"Given");
    std::vector<host::StoredMessage> inbox = host::ListMessages(host::MessageFolder::Inbox);
    ASSERT_EQ(inbox.size(), 4u);
    EXPECT_EQ(inbox[3].senderName, u"Dovanne, Mirela");
    EXPECT_EQ(inbox[2].senderName, u"Dovanne, Mirela");
    EXPECT_EQ(inbox[1].senderName, u"+79160000000");
    EXPECT_EQ(inbox[0].senderName, u"Given");
}

}  // namespace
