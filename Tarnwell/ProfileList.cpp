// The profile list of the settings dialog: one entry per sound profile of
// the phone, by display name, each carrying its registry key name.
#include "SettingsDialog.h"

#include "ProfileItem.h"
#include "RegistryReaders.h"
#include "resource.h"

#define PROFILES_KEY TEXT("ControlPanel\\Profiles")
// The profile the phone chooses by itself; it cannot be one the user excludes.
#define AUTOMATIC_PROFILE TEXT("Automatic")

namespace {

WString DisplayName(HKEY profile, LPCWSTR keyName) {
    LPCWSTR names[] = {TEXT("EditName"), TEXT("Name"), TEXT("LocName")};
    for (LPCWSTR name : names) {
        WString text = ReadRegString(profile, name);
        if (text.Length() != 0 && text.Text()) return text;
    }
    return WString::FromText(keyName);
}

}  // namespace

int SettingsDialog::FillProfileList(WString keyName) {
    HWND list = Control(IDC_PROFILES);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    int selection = -1;

    HKEY profiles = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, PROFILES_KEY, 0, 0, &profiles) != ERROR_SUCCESS) return 0;
    DWORD count = 0;
    if (RegQueryInfoKeyW(profiles, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        count == 0) {
        RegCloseKey(profiles);
        return 0;
    }

    for (DWORD i = 0; i < count; ++i) {
        WCHAR name[260];
        DWORD length = 260;
        if (RegEnumKeyExW(profiles, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) continue;
        if (length >= 260) continue;
        name[length] = 0;
        if (wcscmp(name, AUTOMATIC_PROFILE) == 0) continue;
        HKEY profile = nullptr;
        if (RegOpenKeyExW(profiles, name, 0, 0, &profile) != ERROR_SUCCESS) continue;

        ProfileItem* item = new ProfileItem;
        item->KeyName = WString::FromText(name);
        WString display = DisplayName(profile, name);
        RegCloseKey(profile);

        LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(display.Text()));
        if (index < 0) {
            delete item;
            continue;
        }
        SendMessageW(list, LB_SETITEMDATA, index, reinterpret_cast<LPARAM>(item));
        if (item->KeyName.Equals(keyName)) {
            selection = static_cast<int>(index);
        } else if (selection >= 0 && index <= selection) {
            // A sorted list placed the entry at or before the selected one.
            ++selection;
        }
    }
    RegCloseKey(profiles);
    return selection < 0 ? 0 : selection;
}

void SettingsDialog::ReleaseProfileItems() {
    HWND list = Control(IDC_PROFILES);
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT data = SendMessageW(list, LB_GETITEMDATA, i, 0);
        if (data == LB_ERR || data == 0) continue;
        delete reinterpret_cast<ProfileItem*>(data);
        SendMessageW(list, LB_SETITEMDATA, i, 0);
    }
}
