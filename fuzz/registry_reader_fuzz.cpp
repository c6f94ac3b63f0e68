// The registry readers over raw data: the input is stored through
// RegSetValueExW under one of the settings' value names, with the type its
// first byte gives (REG_SZ, REG_MULTI_SZ, REG_BINARY, REG_DWORD, or any
// other), the second byte choosing the name, and read back by the readers
// and by LoadSettings. A text is the data's characters up to the first NUL
// or an odd last byte, whether a terminator was stored or not; a flag
// longer than four bytes keeps its default.
#include "FuzzCheck.h"
#include "FuzzDevice.h"
#include "RegistryReaders.h"
#include "Settings.h"

#include <cstring>
#include <string>

namespace {

HKEY g_key = nullptr;

const char16_t* const kNames[] = {u"CustomText", u"ExcludeProfile", u"PhoneNumLen",
                                  u"ShowNumber", u"Disable",        u"UseCustomText"};

std::u16string ExpectedText(const uint8_t* data, size_t size) {
    std::u16string text;
    for (size_t i = 0; i + 1 < size; i += 2) {
        char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        if (!c) break;
        text += c;
    }
    return text;
}

DWORD ExpectedDword(const uint8_t* data, size_t size, DWORD def) {
    if (size > sizeof(DWORD)) return def;
    std::memcpy(&def, data, size);
    return def;
}

std::u16string Of(const WString& s) { return s.Text() ? std::u16string(s.Text(), s.Length()) : std::u16string(); }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::UseTemporaryDevice();
    FUZZ_CHECK(RegCreateKeyExW(HKEY_LOCAL_MACHINE, SETTINGS_KEY, 0, nullptr, 0, 0, nullptr, &g_key, nullptr) ==
               ERROR_SUCCESS);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const DWORD type = data[0];
    const char16_t* name = kNames[data[1] % std::size(kNames)];
    const uint8_t* value = data + 2;
    const size_t bytes = size - 2;
    FUZZ_CHECK(RegSetValueExW(g_key, name, 0, type, bytes ? value : nullptr, static_cast<DWORD>(bytes)) ==
               ERROR_SUCCESS);

    const std::u16string text = ExpectedText(value, bytes);
    FUZZ_CHECK(Of(ReadRegString(g_key, name)) == text);
    FUZZ_CHECK(Of(ReadRegStringAt(HKEY_LOCAL_MACHINE, SETTINGS_KEY, name)) == text);
    FUZZ_CHECK(ReadRegDword(g_key, name, 0xA5A5A5A5) == ExpectedDword(value, bytes, 0xA5A5A5A5));
    FUZZ_CHECK(ReadRegDwordAt(HKEY_LOCAL_MACHINE, SETTINGS_KEY, name) == ExpectedDword(value, bytes, 0));

    Settings settings;
    FUZZ_CHECK(LoadSettings(settings));
    if (name == kNames[0]) FUZZ_CHECK(Of(settings.CustomText) == text);
    if (name == kNames[1]) FUZZ_CHECK(Of(settings.ExcludeProfile) == text);
    if (name == kNames[2]) FUZZ_CHECK(settings.PhoneNumLen == static_cast<LONG>(ExpectedDword(value, bytes, 7)));

    // The next input finds the key as the first one did.
    FUZZ_CHECK(RegDeleteValueW(g_key, name) == ERROR_SUCCESS);
    return 0;
}
