// FindResourceW and its companions on a module built from an .rc file, and
// on the program itself.
#include "modules/ResourceProbe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class Resources : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(TEXT("ResourceProbe.dll"));
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override {
        if (module) FreeLibrary(module);
    }

    // The data of a resource that must be there.
    std::string Data(LPCWSTR name, LPCWSTR type, HMODULE from = nullptr) {
        HMODULE m = from ? from : module;
        HRSRC info = FindResourceW(m, name, type);
        EXPECT_NE(info, nullptr) << GetLastError();
        if (!info) return {};
        HGLOBAL loaded = LoadResource(m, info);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        EXPECT_NE(bytes, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(bytes) % 4, 0u);
        return std::string(bytes, SizeofResource(m, info));
    }

    HMODULE module = nullptr;
};

// Reads UTF-16 text at *at, moving past its terminator.
std::u16string TextAt(const std::string& data, size_t* at) {
    std::u16string text;
    while (*at + 2 <= data.size()) {
        char16_t c;
        std::memcpy(&c, data.data() + *at, 2);
        *at += 2;
        if (!c) break;
        text += c;
    }
    return text;
}

WORD WordAt(const std::string& data, size_t at) {
    WORD value = 0;
    std::memcpy(&value, data.data() + at, 2);
    return value;
}

TEST_F(Resources, DialogTemplateKeepsItsRussianTextInUtf16) {
    std::string dialog = Data(MAKEINTRESOURCE(IDD_PROBE), RT_DIALOG);
    ASSERT_GE(dialog.size(), 18u);
    DWORD style;
    std::memcpy(&style, dialog.data(), 4);
    EXPECT_EQ(style, 0x80C00040u);
    EXPECT_EQ(WordAt(dialog, 8), 2);     // items
    EXPECT_EQ(WordAt(dialog, 14), 140);  // cx
    EXPECT_EQ(WordAt(dialog, 16), 60);   // cy
    size_t at = 18;
    EXPECT_EQ(WordAt(dialog, at), 0);  // no menu
    at += 2;
    EXPECT_EQ(WordAt(dialog, at), 0);  // the standard class
    at += 2;
    EXPECT_EQ(TextAt(dialog, &at), u"Настройки");
    EXPECT_EQ(WordAt(dialog, at), 8);  // points
    at += 2;
    EXPECT_EQ(TextAt(dialog, &at), u"MS Shell Dlg");
    // The same resource by "#id".
    EXPECT_NE(FindResourceW(module, TEXT("#106"), RT_DIALOG), nullptr);
}

TEST_F(Resources, EveryKindIsFoundByTypeAndName) {
    std::string group = Data(MAKEINTRESOURCE(IDI_PROBE), RT_GROUP_ICON);
    ASSERT_GE(group.size(), 6u);
    EXPECT_EQ(WordAt(group, 2), 1);  // icons
    EXPECT_EQ(WordAt(group, 4), 2);  // images
    EXPECT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_NE(FindResourceW(module, MAKEINTRESOURCE(1), RT_ICON), nullptr);

    std::string bitmap = Data(MAKEINTRESOURCE(IDB_PROBE), RT_BITMAP);
    BITMAPINFOHEADER header{};
    ASSERT_GE(bitmap.size(), sizeof header);
    std::memcpy(&header, bitmap.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 6);
    EXPECT_EQ(header.biHeight, 4);
    EXPECT_EQ(header.biBitCount, 24);

    EXPECT_GT(Data(MAKEINTRESOURCE(IDR_MENU), RT_MENU).size(), 40u);

    // A custom type and a name, both strings that compare without case.
    std::string flag = Data(TEXT("HI_RES_AWARE"), TEXT("CEUX"));
    ASSERT_EQ(flag.size(), 2u);
    EXPECT_EQ(WordAt(flag, 0), 1);
    EXPECT_EQ(Data(TEXT("hi_res_aware"), TEXT("ceux")), flag);
    EXPECT_EQ(Data(TEXT("PROBE_DATA"), RT_RCDATA), std::string("данные") + '\0');
}

TEST_F(Resources, MissingResourcesSayWhatIsMissing) {
    SetLastError(0);
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCE(IDD_PROBE), RT_ACCELERATOR), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCE(999), RT_DIALOG), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceW(module, TEXT("HI_RES"), TEXT("CEUX")), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResourceW(module, TEXT("#"), RT_DIALOG), nullptr);

    // Languages: the resources were compiled as English (United States).
    EXPECT_NE(FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCE(IDD_PROBE), MAKELANGID(LANG_ENGLISH, 1)), nullptr);
    EXPECT_EQ(FindResourceExW(module, RT_DIALOG, MAKEINTRESOURCE(IDD_PROBE), MAKELANGID(LANG_RUSSIAN, 1)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));

    // Handles that are not resources, or not modules, are refused.
    EXPECT_EQ(LoadResource(module, reinterpret_cast<HRSRC>(module)), nullptr);
    EXPECT_EQ(SizeofResource(module, nullptr), 0u);
    EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(0x12345), MAKEINTRESOURCE(1), RT_DIALOG), nullptr);
}

TEST_F(Resources, TheProgramsOwnResourcesAndUnloadedModules) {
    EXPECT_EQ(Data(TEXT("MAIN_DATA"), RT_RCDATA, GetModuleHandleW(nullptr)), std::string("программа") + '\0');
    EXPECT_NE(FindResourceW(nullptr, TEXT("MAIN_DATA"), RT_RCDATA), nullptr);
    EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCE(IDD_PROBE), RT_DIALOG), nullptr);

    // The embedding exports nothing.
    EXPECT_EQ(GetProcAddressW(module, TEXT("kResources")), nullptr);

    HRSRC info = FindResourceW(module, MAKEINTRESOURCE(IDD_PROBE), RT_DIALOG);
    ASSERT_NE(info, nullptr);
    FreeLibrary(module);
    module = nullptr;
    EXPECT_EQ(LoadResource(nullptr, info), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, info), 0u);
}

TEST_F(Resources, LoadStringCopiesCutsOrPointsAtTheString) {
    WCHAR buffer[32];
    EXPECT_EQ(LoadStringW(module, IDS_HELLO, buffer, 32), 11);
    EXPECT_EQ(std::u16string(buffer), u"Привет, мир");
    EXPECT_EQ(LoadStringW(module, IDS_HELLO, buffer, 7), 6);
    EXPECT_EQ(std::u16string(buffer), u"Привет");
    EXPECT_EQ(LoadStringW(module, IDS_LAST, buffer, 32), 9);
    EXPECT_EQ(std::u16string(buffer), u"Последняя");
    const WCHAR* direct = nullptr;
    EXPECT_EQ(LoadStringW(module, IDS_HELLO, reinterpret_cast<LPWSTR>(&direct), 0), 11);
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(std::u16string(direct, 11), u"Привет, мир");
    EXPECT_EQ(LoadStringW(module, 2, buffer, 32), 0);
    EXPECT_EQ(LoadStringW(module, 500, buffer, 32), 0);
}

}  // namespace
