#include "RegistryReaders.h"
#include "Settings.h"

#include <TempDevice.h>
#include <gtest/gtest.h>

#include <coredll_host.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

std::u16string Of(const WString& s) { return s.Text() ? std::u16string(s.Text(), s.Length()) : std::u16string(); }

class SettingsStore : public ::testing::Test {
protected:
    testing_support::TempDevice device;

    HKEY CreateKey() {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, 0, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        return key;
    }
    void SetRaw(LPCWSTR name, DWORD type, const void* data, DWORD size) {
        HKEY key = CreateKey();
        EXPECT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void SetDword(LPCWSTR name, DWORD value) { SetRaw(name, REG_DWORD, &value, sizeof value); }
    std::basic_string<BYTE> RawValue(LPCWSTR name, DWORD* type) {
        HKEY key = CreateKey();
        BYTE data[256];
        DWORD size = sizeof data;
        EXPECT_EQ(RegQueryValueExW(key, name, nullptr, type, data, &size), ERROR_SUCCESS);
        RegCloseKey(key);
        return std::basic_string<BYTE>(data, size);
    }
};

void ExpectDefaults(const Settings& s) {
    EXPECT_EQ(s.ShowNumber, 1);
    EXPECT_EQ(s.LastNameFirst, 1);
    EXPECT_EQ(s.AppendNumberType, 1);
    EXPECT_EQ(s.SMS, 1);
    EXPECT_EQ(s.Disable, 0);
    EXPECT_EQ(s.ShowDR, 0);
    EXPECT_EQ(s.MarkDRAsRead, 1);
    EXPECT_EQ(s.DeleteDR, 0);
    EXPECT_EQ(s.ShowBubbles, 1);
    EXPECT_EQ(s.UseFileAs, 1);
    EXPECT_EQ(s.PhoneNumLen, 7);
    EXPECT_EQ(s.UseCustomText, 0);
    EXPECT_EQ(s.CustomText.Length(), 0);
    EXPECT_EQ(s.ExcludeProfile.Length(), 0);
    EXPECT_EQ(s.TurnOffScreen, 0);
    EXPECT_EQ(s.DisableBubblesInProfile, 0);
}

TEST_F(SettingsStore, MissingKeyLeavesTheDefaults) {
    Settings s;
    EXPECT_FALSE(LoadSettings(s));
    ExpectDefaults(s);
}

TEST_F(SettingsStore, AKeyHoldingOnlyDisableChangesOnlyDisable) {
    SetDword(TEXT("Disable"), 1);
    Settings s;
    EXPECT_TRUE(LoadSettings(s));
    EXPECT_EQ(s.Disable, 1);
    s.Disable = 0;
    ExpectDefaults(s);
}

TEST_F(SettingsStore, TextsReadWithAndWithoutTerminator) {
    const WCHAR text[] = TEXT("Hello");
    SetRaw(TEXT("CustomText"), REG_SZ, text, 10);
    SetRaw(TEXT("ExcludeProfile"), REG_SZ, text, 12);
    Settings s;
    ASSERT_TRUE(LoadSettings(s));
    EXPECT_EQ(Of(s.CustomText), u"Hello");
    EXPECT_EQ(Of(s.ExcludeProfile), u"Hello");

    // An odd byte count is cut to whole characters.
    SetRaw(TEXT("CustomText"), REG_SZ, text, 7);
    ASSERT_TRUE(LoadSettings(s));
    EXPECT_EQ(Of(s.CustomText), u"Hel");
}

TEST_F(SettingsStore, FlagsAreReadAsRawDataWhateverTheirType) {
    DWORD four = 0x00000000;
    SetRaw(TEXT("ShowNumber"), REG_BINARY, &four, 4);  // 4 bytes of another type: taken
    const char eight[8] = {1, 0, 0, 0, 1, 0, 0, 0};
    SetRaw(TEXT("SMS"), REG_BINARY, eight, 8);          // longer than a DWORD: the default stands
    SetRaw(TEXT("PhoneNumLen"), REG_SZ, TEXT("9"), 4);  // "9\0" as 4 raw bytes
    Settings s;
    ASSERT_TRUE(LoadSettings(s));
    EXPECT_EQ(s.ShowNumber, 0);
    EXPECT_EQ(s.SMS, 1);
    EXPECT_EQ(s.PhoneNumLen, u'9');
}

TEST_F(SettingsStore, SaveWritesEveryValueInItsStoredForm) {
    Settings s;
    s.ShowNumber = 2;
    s.PhoneNumLen = 9;
    s.ExcludeProfile = WString::FromText(TEXT("Meeting"));
    ASSERT_TRUE(SaveSettings(s));

    DWORD type = 0;
    std::basic_string<BYTE> custom = RawValue(TEXT("CustomText"), &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(custom.size(), 0u);  // an empty text is 0 bytes
    std::basic_string<BYTE> profile = RawValue(TEXT("ExcludeProfile"), &type);
    EXPECT_EQ(profile.size(), 14u);  // 2 x length, no terminator
    std::basic_string<BYTE> shown = RawValue(TEXT("ShowNumber"), &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0], 2);

    Settings loaded;
    ASSERT_TRUE(LoadSettings(loaded));
    EXPECT_EQ(loaded.ShowNumber, 2);
    EXPECT_EQ(loaded.PhoneNumLen, 9);
    EXPECT_EQ(Of(loaded.ExcludeProfile), u"Meeting");
    EXPECT_EQ(loaded.CustomText.Length(), 0);

    HKEY key = CreateKey();
    DWORD values = 0;
    EXPECT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(values, 16u);
    RegCloseKey(key);
}

TEST_F(SettingsStore, EveryFieldRoundTripsUnderItsOwnNameInTheWrittenOrder) {
    Settings s;
    LONG* flags[] = {&s.ShowNumber,       &s.LastNameFirst,
                     &s.AppendNumberType, &s.SMS,
                     &s.Disable,          &s.ShowDR,
                     &s.MarkDRAsRead,     &s.DeleteDR,
                     &s.ShowBubbles,      &s.UseFileAs,
                     &s.PhoneNumLen,      &s.UseCustomText,
                     &s.TurnOffScreen,    &s.DisableBubblesInProfile};
    LONG next = 100;
    for (LONG* flag : flags) *flag = next++;
    s.CustomText = WString::FromText(TEXT("custom @s"));
    s.ExcludeProfile = WString::FromText(TEXT("Silent"));
    ASSERT_TRUE(SaveSettings(s));

    Settings loaded;
    ASSERT_TRUE(LoadSettings(loaded));
    LONG* loadedFlags[] = {&loaded.ShowNumber,       &loaded.LastNameFirst,
                           &loaded.AppendNumberType, &loaded.SMS,
                           &loaded.Disable,          &loaded.ShowDR,
                           &loaded.MarkDRAsRead,     &loaded.DeleteDR,
                           &loaded.ShowBubbles,      &loaded.UseFileAs,
                           &loaded.PhoneNumLen,      &loaded.UseCustomText,
                           &loaded.TurnOffScreen,    &loaded.DisableBubblesInProfile};
    for (size_t i = 0; i < sizeof flags / sizeof flags[0]; ++i) EXPECT_EQ(*loadedFlags[i], *flags[i]) << i;
    EXPECT_EQ(Of(loaded.CustomText), u"custom @s");
    EXPECT_EQ(Of(loaded.ExcludeProfile), u"Silent");

    // A fresh key lists its values in the order they were first written.
    const char16_t* written[] = {
        u"ShowNumber",    u"LastNameFirst", u"AppendNumberType", u"SMS",         u"Disable",
        u"MarkDRAsRead",  u"DeleteDR",      u"ShowDR",           u"ShowBubbles", u"UseFileAs",
        u"PhoneNumLen",   u"UseCustomText", u"TurnOffScreen",    u"CustomText",  u"DisableBubblesInProfile",
        u"ExcludeProfile"};
    HKEY key = CreateKey();
    for (DWORD i = 0; i < 16; ++i) {
        WCHAR name[64];
        DWORD length = 64;
        ASSERT_EQ(RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(std::u16string(name, length), written[i]) << i;
    }
    RegCloseKey(key);
}

TEST_F(SettingsStore, AMissingTextValueEmptiesTheField) {
    SetDword(TEXT("UseCustomText"), 1);
    Settings s;
    s.CustomText = WString::FromText(TEXT("left over"));
    s.UseCustomText = 0;
    ASSERT_TRUE(LoadSettings(s));
    EXPECT_EQ(s.CustomText.Length(), 0);
    EXPECT_EQ(s.UseCustomText, 1);
}

TEST_F(SettingsStore, ReadersAtAPathFallBackQuietly) {
    EXPECT_EQ(ReadRegDwordAt(HKEY_LOCAL_MACHINE, TEXT("System\\State"), TEXT("Lock")), 0u);
    EXPECT_EQ(ReadRegStringAt(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), TEXT("ActiveProfile")).Length(), 0);
    HKEY key = nullptr;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), 0, nullptr, 0, 0, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    const WCHAR silent[] = TEXT("Silent");
    RegSetValueExW(key, TEXT("ActiveProfile"), 0, REG_SZ, reinterpret_cast<const BYTE*>(silent), sizeof silent);
    RegCloseKey(key);
    EXPECT_EQ(Of(ReadRegStringAt(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), TEXT("ActiveProfile"))), u"Silent");
    EXPECT_EQ(ReadRegStringAt(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), TEXT("Missing")).Length(), 0);
}

// Every value of the key as it stands: name, type and bytes, in name order.
std::map<std::u16string, std::pair<DWORD, std::basic_string<BYTE>>> KeyContents() {
    std::map<std::u16string, std::pair<DWORD, std::basic_string<BYTE>>> values;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, 0, &key) != ERROR_SUCCESS) return values;
    for (DWORD i = 0;; ++i) {
        WCHAR name[64];
        DWORD length = 64, type = 0;
        BYTE data[256];
        DWORD size = sizeof data;
        if (RegEnumValueW(key, i, name, &length, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        values[std::u16string(name, length)] = {type, std::basic_string<BYTE>(data, size)};
    }
    RegCloseKey(key);
    return values;
}

// Each registry call and allocation a save makes, failed in turn: the key
// then holds the old record or the new one whole, never a mix; a save that
// says it failed changed nothing.
TEST_F(SettingsStore, ASaveFailedAtAnyPointLeavesTheOldRecordOrTheNewOneWhole) {
    Settings edited;
    edited.ShowNumber = 0;
    edited.SMS = 0;
    edited.PhoneNumLen = 9;
    edited.TurnOffScreen = 1;
    edited.CustomText = WString::FromText(TEXT("new @s"));
    edited.ExcludeProfile = WString::FromText(TEXT("Meeting"));
    Settings old;
    old.CustomText = WString::FromText(TEXT("old @s"));

    for (bool keyHeldARecord : {false, true}) {
        SCOPED_TRACE(keyHeldARecord ? "over an older record" : "on a fresh key");
        auto reset = [&] {
            HKEY key = CreateKey();
            for (const auto& [name, value] : KeyContents())
                RegDeleteValueW(key, reinterpret_cast<LPCWSTR>(name.c_str()));
            RegCloseKey(key);
            if (keyHeldARecord) {
                ASSERT_TRUE(SaveSettings(old));
            }
        };
        reset();
        auto before = KeyContents();
        host::ClearFaults();
        ASSERT_TRUE(SaveSettings(edited));
        auto points = host::CallCounts();
        auto after = KeyContents();
        ASSERT_EQ(after.size(), 16u);

        int swept = 0, failed = 0;
        for (const auto& [function, calls] : points) {
            for (int nth = 1; nth <= calls; ++nth) {
                SCOPED_TRACE(function + " #" + std::to_string(nth));
                reset();
                host::ClearFaults();
                host::FailCall(function, nth, ERROR_NOT_ENOUGH_MEMORY);
                bool saved = SaveSettings(edited);
                host::ClearFaults();
                EXPECT_EQ(KeyContents(), saved ? after : before);
                ++swept;
                failed += saved ? 0 : 1;
            }
        }
        std::printf("save %s: %d fault points swept, %d failed whole\n",
                    keyHeldARecord ? "over a record" : "on a fresh key", swept, failed);
        // Every write and every read of the older values is a point.
        EXPECT_GE(swept, keyHeldARecord ? 48 : 32);
        EXPECT_GE(failed, 16);
    }
}

}  // namespace
