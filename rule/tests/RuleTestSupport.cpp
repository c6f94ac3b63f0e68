#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <objbase.h>
#include <pimstore_host.h>
#include <shell_host.h>

namespace rule_tests {

namespace {
DEFINE_GUID(CLSID_Rule, 0x79FEEFFE, 0x10DE, 0x4B52, 0xB1, 0x7C, 0x2E, 0x5E, 0x1C, 0xA6, 0x6B, 0x0D);

HKEY SettingsKey() {
    HKEY key = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Orvane\\Lumenrest"), 0, nullptr, 0, 0, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    return key;
}
}  // namespace

void RuleFixture::SetUp() {
    std::string error;
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    HMODULE module = LoadLibraryW(TEXT("Lumenrest.dll"));
    ASSERT_NE(module, nullptr);
    auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module, TEXT("DllRegisterServer")));
    ASSERT_NE(registerServer, nullptr);
    ASSERT_EQ(registerServer(), S_OK);
    FreeLibrary(module);

    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    store_ = host::OpenMessageStore();
    ASSERT_NE(store_, nullptr);
    ASSERT_EQ(CoCreateInstance(CLSID_Rule, nullptr, CLSCTX_INPROC_SERVER, IID_IMailRuleClient,
                               reinterpret_cast<void**>(&client_)),
              S_OK);
    MRCACCESS access = MRC_ACCESS_NONE;
    ASSERT_EQ(client_->Initialize(store_, &access), S_OK);
    EXPECT_EQ(access, MRC_ACCESS_WRITE);
}

IMailRuleClient* RuleFixture::NewClient(IMsgStore* store) {
    IMailRuleClient* client = nullptr;
    if (FAILED(CoCreateInstance(CLSID_Rule, nullptr, CLSCTX_INPROC_SERVER, IID_IMailRuleClient,
                                reinterpret_cast<void**>(&client))))
        return nullptr;
    MRCACCESS access = MRC_ACCESS_NONE;
    if (SUCCEEDED(client->Initialize(store, &access))) return client;
    client->Release();
    return nullptr;
}

void RuleFixture::TearDown() {
    if (client_) client_->Release();
    if (store_) store_->Release();
    CoFreeUnusedLibraries();
    CoUninitialize();
    host::StopMessageStore();
}

void RuleFixture::SetSetting(const WCHAR* name, DWORD value) {
    HKEY key = SettingsKey();
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void RuleFixture::SetSettingText(const WCHAR* name, const std::u16string& text) {
    HKEY key = SettingsKey();
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.data()),
                   static_cast<DWORD>(text.size() * sizeof(WCHAR)));
    RegCloseKey(key);
}

void RuleFixture::SetActiveProfile(const std::u16string& name) {
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), 0, nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegSetValueExW(key, TEXT("ActiveProfile"), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                   static_cast<DWORD>((name.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
}

host::EntryId RuleFixture::Arrive(const std::u16string& messageClass, const std::u16string& text,
                                  const std::u16string& sender) {
    host::EntryId entry = host::StoreIncomingMessage(host::MessageFolder::Inbox, messageClass, text, sender, sender);
    EXPECT_FALSE(entry.empty());
    return entry;
}

HRESULT RuleFixture::Process(const host::EntryId& entry) {
    eventType_ = kUnwrittenEvent;
    handled_ = static_cast<MRCHANDLED>(kUnwrittenHandled);
    return client_->ProcessMessage(store_, static_cast<ULONG>(entry.size()),
                                   reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entry.data())), 0, nullptr,
                                   &eventType_, &handled_);
}

host::StoredMessage RuleFixture::Find(host::MessageFolder folder, const host::EntryId& entry, bool* found) {
    *found = false;
    for (const host::StoredMessage& m : host::ListMessages(folder)) {
        if (m.entry == entry) {
            *found = true;
            return m;
        }
    }
    return {};
}

void BubbleRuleFixture::SetUpWithContact(const std::u16string& firstName, const std::u16string& lastName) {
    RuleFixture::SetUp();
    ASSERT_TRUE(host::StartShell());
    ASSERT_TRUE(host::RegisterContactStore());
    host::ContactRecord contact;
    contact.firstName = firstName;
    contact.lastName = lastName;
    contact.phones[0] = u"89161234567";
    ASSERT_NE(host::AddContact(contact), 0);
    SetSetting(TEXT("UseFileAs"), 0);
}

void BubbleRuleFixture::TearDown() {
    RuleFixture::TearDown();
    host::UnloadAllModules();
    host::StopShell();
}

HWND BubbleRuleFixture::BubbleWindow() { return FindWindowW(TEXT("QUILLON_NOT_WND"), nullptr); }

}  // namespace rule_tests
