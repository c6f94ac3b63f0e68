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

}  // namespace

bool LoadSettings(Settings& s) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, 0, &key) != ERROR_SUCCESS) return false;
    s.LastNameFirst = ReadFlag(key, TEXT("LastNameFirst"), s.LastNameFirst);
    s.ShowNumber = ReadFlag(key, TEXT("ShowNumber"), s.ShowNumber);
    s.AppendNumberType = ReadFlag(key, TEXT("AppendNumberType"), s.AppendNumberType);
    s.SMS = ReadFlag(key, TEXT("SMS"), s.SMS);
    s.Disable = ReadFlag(key, TEXT("Disable"), s.Disable);
    s.MarkDRAsRead = ReadFlag(key, TEXT("MarkDRAsRead"), s.MarkDRAsRead);
    s.DeleteDR = ReadFlag(key, TEXT("DeleteDR"), s.DeleteDR);
    s.ShowDR = ReadFlag(key, TEXT("ShowDR"), s.ShowDR);
    s.ShowBubbles = ReadFlag(key, TEXT("ShowBubbles"), s.ShowBubbles);
    s.UseFileAs = ReadFlag(key, TEXT("UseFileAs"), s.UseFileAs);
    s.PhoneNumLen = ReadFlag(key, TEXT("PhoneNumLen"), s.PhoneNumLen);
    s.UseCustomText = ReadFlag(key, TEXT("UseCustomText"), s.UseCustomText);
    s.CustomText = ReadRegString(key, TEXT("CustomText"));
    s.ExcludeProfile = ReadRegString(key, TEXT("ExcludeProfile"));
    s.DisableBubblesInProfile = ReadFlag(key, TEXT("DisableBubblesInProfile"), s.DisableBubblesInProfile);
    s.TurnOffScreen = ReadFlag(key, TEXT("TurnOffScreen"), s.TurnOffScreen);
    RegCloseKey(key);
    return true;
}

bool SaveSettings(const Settings& s) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    WriteDword(key, TEXT("ShowNumber"), s.ShowNumber);
    WriteDword(key, TEXT("LastNameFirst"), s.LastNameFirst);
    WriteDword(key, TEXT("AppendNumberType"), s.AppendNumberType);
    WriteDword(key, TEXT("SMS"), s.SMS);
    WriteDword(key, TEXT("Disable"), s.Disable);
    WriteDword(key, TEXT("MarkDRAsRead"), s.MarkDRAsRead);
    WriteDword(key, TEXT("DeleteDR"), s.DeleteDR);
    WriteDword(key, TEXT("ShowDR"), s.ShowDR);
    WriteDword(key, TEXT("ShowBubbles"), s.ShowBubbles);
    WriteDword(key, TEXT("UseFileAs"), s.UseFileAs);
    WriteDword(key, TEXT("PhoneNumLen"), s.PhoneNumLen);
    WriteDword(key, TEXT("UseCustomText"), s.UseCustomText);
    WriteDword(key, TEXT("TurnOffScreen"), s.TurnOffScreen);
    WriteText(key, TEXT("CustomText"), s.CustomText);
    WriteDword(key, TEXT("DisableBubblesInProfile"), s.DisableBubblesInProfile);
    WriteText(key, TEXT("ExcludeProfile"), s.ExcludeProfile);
    RegFlushKey(key);
    RegCloseKey(key);
    return true;
}
