#include "Settings.h"

#include "RegistryReaders.h"

namespace {

void WriteDword(HKEY key, LPCWSTR name, LONG value) {
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

// Texts are stored without their terminating NUL; an empty text as 0 bytes.
void WriteText(HKEY key, LPCWSTR name, const WString& text) {
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.Text()),
                   static_cast<DWORD>(text.Length()) * sizeof(WCHAR));
}

LONG ReadFlag(HKEY key, LPCWSTR name, LONG current) {
    return static_cast<LONG>(ReadRegDword(key, name, static_cast<DWORD>(current)));
}

// One registry value of the record: a flag or a text. The rows are in the
// order the values are read; savePosition is where each is written, an
// order that earlier builds fixed and exports of the key show.
struct SettingField {
    LPCWSTR name;
    LONG Settings::*flag;
    WString Settings::*text;
    int savePosition;
};

const SettingField kFields[] = {
    {TEXT("LastNameFirst"), &Settings::LastNameFirst, nullptr, 1},
    {TEXT("ShowNumber"), &Settings::ShowNumber, nullptr, 0},
    {TEXT("AppendNumberType"), &Settings::AppendNumberType, nullptr, 2},
    {TEXT("SMS"), &Settings::SMS, nullptr, 3},
    {TEXT("Disable"), &Settings::Disable, nullptr, 4},
    {TEXT("MarkDRAsRead"), &Settings::MarkDRAsRead, nullptr, 5},
    {TEXT("DeleteDR"), &Settings::DeleteDR, nullptr, 6},
    {TEXT("ShowDR"), &Settings::ShowDR, nullptr, 7},
    {TEXT("ShowBubbles"), &Settings::ShowBubbles, nullptr, 8},
    {TEXT("UseFileAs"), &Settings::UseFileAs, nullptr, 9},
    {TEXT("PhoneNumLen"), &Settings::PhoneNumLen, nullptr, 10},
    {TEXT("UseCustomText"), &Settings::UseCustomText, nullptr, 11},
    {TEXT("CustomText"), nullptr, &Settings::CustomText, 13},
    {TEXT("ExcludeProfile"), nullptr, &Settings::ExcludeProfile, 15},
    {TEXT("DisableBubblesInProfile"), &Settings::DisableBubblesInProfile, nullptr, 14},
    {TEXT("TurnOffScreen"), &Settings::TurnOffScreen, nullptr, 12},
};
const int kFieldCount = sizeof(kFields) / sizeof(kFields[0]);

}  // namespace

bool LoadSettings(Settings& s) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, 0, &key) != ERROR_SUCCESS) return false;
    for (const SettingField& field : kFields) {
        if (field.flag)
            s.*field.flag = ReadFlag(key, field.name, s.*field.flag);
        else
            s.*field.text = ReadRegString(key, field.name);
    }
    RegCloseKey(key);
    return true;
}

bool SaveSettings(const Settings& s) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    for (int position = 0; position < kFieldCount; ++position) {
        for (const SettingField& field : kFields) {
            if (field.savePosition != position) continue;
            if (field.flag)
                WriteDword(key, field.name, s.*field.flag);
            else
                WriteText(key, field.name, s.*field.text);
        }
    }
    RegFlushKey(key);
    RegCloseKey(key);
    return true;
}
