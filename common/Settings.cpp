#include "Settings.h"

#include "RegistryReaders.h"

namespace {

LONG WriteDword(HKEY key, LPCWSTR name, LONG value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

// Texts are stored without their terminating NUL; an empty text as 0 bytes.
LONG WriteText(HKEY key, LPCWSTR name, const WString& text) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.Text()),
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

namespace {

// A value of the key as it was before Done wrote it: its type and bytes, or
// absent. Held so that a write that fails can put back what went before.
struct SavedValue {
    bool present = false;
    DWORD type = 0;
    DWORD size = 0;
    BYTE* data = nullptr;
    ~SavedValue() {
        if (data) LocalFree(data);
    }
};

// False when the value's state cannot be known (its read failed).
bool Snapshot(HKEY key, LPCWSTR name, SavedValue& saved) {
    DWORD size = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &saved.type, nullptr, &size);
    if (rc == ERROR_FILE_NOT_FOUND) return true;
    if (rc != ERROR_SUCCESS) return false;
    saved.data = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, size ? size : 1));
    if (!saved.data) return false;
    saved.size = size;
    if (RegQueryValueExW(key, name, nullptr, &saved.type, saved.data, &saved.size) != ERROR_SUCCESS) return false;
    saved.present = true;
    return true;
}

void Restore(HKEY key, LPCWSTR name, const SavedValue& saved) {
    if (saved.present)
        RegSetValueExW(key, name, 0, saved.type, saved.data, saved.size);
    else
        RegDeleteValueW(key, name);
}

LONG WriteField(HKEY key, const SettingField& field, const Settings& s) {
    if (field.flag) return WriteDword(key, field.name, s.*field.flag);
    return WriteText(key, field.name, s.*field.text);
}

}  // namespace

// The record is written whole or not at all: a value that cannot be written
// puts back the ones written before it, so that the rule client never reads
// half of one edit and half of the last.
bool SaveSettings(const Settings& s) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const SettingField* order[kFieldCount] = {};
    for (const SettingField& field : kFields) order[field.savePosition] = &field;

    SavedValue before[kFieldCount];
    bool ok = true;
    for (int position = 0; ok && position < kFieldCount; ++position)
        ok = Snapshot(key, order[position]->name, before[position]);
    for (int position = 0; ok && position < kFieldCount; ++position) {
        LONG rc = WriteField(key, *order[position], s);
        if (rc == ERROR_SUCCESS) continue;
        for (int back = position - 1; back >= 0; --back) Restore(key, order[back]->name, before[back]);
        SetLastError(static_cast<DWORD>(rc));
        ok = false;
    }
    if (ok) RegFlushKey(key);
    RegCloseKey(key);
    return ok;
}
