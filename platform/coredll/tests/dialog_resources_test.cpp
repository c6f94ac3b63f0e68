// A program's dialog from its own module's resources, as the settings
// program runs it: FindResourceW, LoadResource and LockResource of RT_DIALOG,
// then DialogBoxIndirectParamW with the module's instance; and by name with
// DialogBoxParamW.
#include "DialogProbe.h"
#include "modules/ResourceProbe.h"

#include <TempDevice.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string g_caption, g_box, g_label;

INT_PTR CALLBACK ReadAndEnd(HWND hwnd, UINT msg, WPARAM, LPARAM lParam) {
    if (msg != WM_INITDIALOG) return FALSE;
    WCHAR text[64] = {};
    GetWindowTextW(hwnd, text, 64);
    g_caption = text;
    GetDlgItemTextW(hwnd, 1000, text, 64);
    g_box = text;
    GetDlgItemTextW(hwnd, 1014, text, 64);
    g_label = text;
    EndDialog(hwnd, lParam);
    return TRUE;
}

TEST(DialogResources, AModulesTemplateMakesItsDialogByHandleAndByName) {
    testing_support::TempDevice device;
    dialog_tests::RegisterProbeClasses();
    HMODULE module = LoadLibraryW(u"ResourceProbe.dll");
    ASSERT_NE(module, nullptr);
    HRSRC info = FindResourceW(module, MAKEINTRESOURCE(IDD_PROBE), RT_DIALOG);
    ASSERT_NE(info, nullptr);
    HGLOBAL data = LoadResource(module, info);
    ASSERT_NE(data, nullptr);
    auto tmpl = static_cast<const DLGTEMPLATE*>(LockResource(data));
    ASSERT_NE(tmpl, nullptr);
    EXPECT_EQ(DialogBoxIndirectParamW(module, tmpl, nullptr, ReadAndEnd, 12), 12);
    EXPECT_EQ(g_caption, u"Настройки");
    EXPECT_EQ(g_box, u"Отключить");
    EXPECT_EQ(g_label, u"Образец текста:");

    g_caption.clear();
    EXPECT_EQ(DialogBoxParamW(module, MAKEINTRESOURCE(IDD_PROBE), nullptr, ReadAndEnd, 13), 13);
    EXPECT_EQ(g_caption, u"Настройки");
    EXPECT_EQ(DialogBoxParamW(module, MAKEINTRESOURCE(IDB_PROBE), nullptr, ReadAndEnd, 14), -1)
        << "a bitmap is no dialog";
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    FreeLibrary(module);
}

}  // namespace
