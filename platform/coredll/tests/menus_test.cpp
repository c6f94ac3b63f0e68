// Menus from RT_MENU resources, and menus built item by item.
#include "modules/ResourceProbe.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string ItemText(HMENU menu, UINT position) {
    WCHAR text[64] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = 64;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return u"<none>";
    return std::u16string(text, info.cch);
}

class Menus : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(TEXT("ResourceProbe.dll"));
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }
    HMODULE module = nullptr;
};

TEST_F(Menus, LoadMenuGivesTheItemsIdsAndPopupsOfTheResource) {
    HMENU bar = LoadMenuW(module, MAKEINTRESOURCE(IDR_MENU));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(IDM_SAVE));
    EXPECT_EQ(ItemText(bar, 0), u"Сохранить");
    EXPECT_EQ(GetSubMenu(bar, 0), nullptr);
    EXPECT_EQ(GetMenuItemID(bar, 1), 0xFFFFFFFFu);  // a popup has no command
    EXPECT_EQ(ItemText(bar, 1), u"Меню");

    HMENU popup = GetSubMenu(bar, 1);
    ASSERT_NE(popup, nullptr);
    ASSERT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(GetMenuItemID(popup, 0), static_cast<UINT>(IDM_DELETE));
    EXPECT_EQ(ItemText(popup, 0), u"&Удалить");  // the mnemonic stays in the text

    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE | MIIM_ID | MIIM_STATE | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoW(popup, 1, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_SEPARATOR);
    EXPECT_EQ(info.cch, 0u);
    ASSERT_TRUE(GetMenuItemInfoW(popup, IDM_CLOSE, FALSE, &info));
    EXPECT_EQ(info.wID, static_cast<UINT>(IDM_CLOSE));
    EXPECT_TRUE(info.fState & MFS_GRAYED);
    EXPECT_EQ(info.cch, 7u);  // length, no text buffer given

    HMENU nested = GetSubMenu(popup, 3);
    ASSERT_NE(nested, nullptr);
    EXPECT_EQ(ItemText(nested, 0), u"Справка");
    // By command, submenus are searched too.
    ASSERT_TRUE(GetMenuItemInfoW(bar, IDM_HELP, FALSE, &info));
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_EQ(CheckMenuItem(bar, IDM_HELP, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_TRUE(EnableMenuItem(bar, IDM_CLOSE, MF_ENABLED) & MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(bar, IDM_CLOSE, MF_GRAYED), static_cast<UINT>(MF_ENABLED));

    // A short buffer gets the start of the text.
    WCHAR shortText[4];
    info.fMask = MIIM_STRING;
    info.dwTypeData = shortText;
    info.cch = 4;
    ASSERT_TRUE(GetMenuItemInfoW(bar, 0, TRUE, &info));
    EXPECT_EQ(std::u16string(shortText), u"Сох");

    ASSERT_TRUE(DestroyMenu(bar));
    // The popups go with it.
    EXPECT_EQ(GetMenuItemCount(bar), -1);
    EXPECT_EQ(GetMenuItemCount(popup), -1);
    EXPECT_EQ(GetMenuItemCount(nested), -1);
    EXPECT_FALSE(DestroyMenu(bar));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_MENU_HANDLE));
}

TEST_F(Menus, ExtendedTemplatesAndMissingMenus) {
    HMENU bar = LoadMenuW(module, MAKEINTRESOURCE(IDR_MENU_EX));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(ItemText(bar, 0), u"Готово");
    EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(IDM_SAVE));
    HMENU popup = GetSubMenu(bar, 1);
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(ItemText(popup, 0), u"Выход");
    DestroyMenu(bar);

    SetLastError(0);
    EXPECT_EQ(LoadMenuW(module, MAKEINTRESOURCE(999)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST(MenusBuilt, AppendInsertRemoveAndDelete) {
    HMENU bar = CreateMenu();
    HMENU popup = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(popup, MF_STRING, 11, TEXT("Один")));
    ASSERT_TRUE(AppendMenuW(popup, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuW(popup, MF_STRING | MF_GRAYED, 13, TEXT("Три")));
    ASSERT_TRUE(AppendMenuW(bar, MF_STRING, 1, TEXT("Готово")));
    ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), TEXT("Меню")));
    ASSERT_TRUE(InsertMenuW(popup, 1, MF_BYPOSITION, 12, TEXT("Два")));
    EXPECT_EQ(GetMenuItemCount(popup), 4);
    EXPECT_EQ(ItemText(popup, 1), u"Два");
    EXPECT_EQ(GetSubMenu(bar, 1), popup);
    EXPECT_FALSE(AppendMenuW(bar, MF_POPUP, 0x777, TEXT("x")));  // not a menu

    ASSERT_TRUE(RemoveMenu(popup, 13, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuItemCount(popup), 3);
    EXPECT_FALSE(RemoveMenu(popup, 99, MF_BYCOMMAND));
    // DeleteMenu destroys the popup it removes.
    ASSERT_TRUE(DeleteMenu(bar, 1, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(popup), -1);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    DestroyMenu(bar);
}

}  // namespace
