// The re-layout of a dialog after another template of its controls, on the
// program's own templates and on two of the test's.
#include "layout_test.h"

#include "../ApplyTemplateLayout.h"
#include "../resource.h"

#include <TempDevice.h>
#include <commctrl.h>
#include <screen_host.h>

#include <gtest/gtest.h>

#include <string>

namespace {

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

HWND Create(HINSTANCE module, int id) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCE(id), RT_DIALOG);
    if (!found) return nullptr;
    auto tmpl = static_cast<LPCDLGTEMPLATEW>(LockResource(LoadResource(module, found)));
    return CreateDialogIndirectParamW(module, tmpl, nullptr, QuietProc, 0);
}

std::u16string TextOf(HWND dialog, int id) {
    WCHAR text[128] = {};
    GetDlgItemTextW(dialog, id, text, 128);
    return text;
}

// Where the template puts the control, in this dialog's pixels.
RECT Expected(HWND dialog, int x, int y, int w, int h) {
    RECT r{x, y, x + w, y + h};
    MapDialogRect(dialog, &r);
    return r;
}

RECT Placed(HWND dialog, int id) {
    RECT r{};
    HWND control = GetDlgItem(dialog, id);
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void ExpectPlaced(HWND dialog, int id, int x, int y, int w, int h) {
    RECT want = Expected(dialog, x, y, w, h), got = Placed(dialog, id);
    EXPECT_EQ(got.left, want.left) << id;
    EXPECT_EQ(got.top, want.top) << id;
    EXPECT_EQ(got.right - got.left, want.right - want.left) << id;
    EXPECT_EQ(got.bottom - got.top, want.bottom - want.top) << id;
}

class Layout : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS};
        InitCommonControlsEx(&classes);
        program = LoadLibraryW(u"Tarnwell.exe");
        ASSERT_NE(program, nullptr);
    }
    void TearDown() override {
        if (program) FreeLibrary(program);
    }
    testing_support::TempDevice device;
    HINSTANCE program = nullptr;
};

HANDLE Image(HWND dialog, int id, UINT kind) {
    return reinterpret_cast<HANDLE>(SendDlgItemMessageW(dialog, id, STM_GETIMAGE, kind, 0));
}

SIZE BitmapSize(HANDLE image) {
    BITMAP info{};
    if (!GetObjectW(image, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

}  // namespace

TEST_F(Layout, TheSettingsTemplatesSwapPlacesAndLabelsAndLeaveWhatTheUserEntered) {
    HWND dialog = Create(program, IDD_SETTINGS);
    ASSERT_NE(dialog, nullptr);
    HWND list = GetDlgItem(dialog, IDC_PROFILES);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Обычный"));
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Без звука"));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    SendDlgItemMessageW(dialog, IDC_USE_FILE_AS, BM_SETCHECK, BST_CHECKED, 0);
    SetDlgItemTextW(dialog, IDC_CUSTOM_TEXT, u"typed @s");
    SetFocus(GetDlgItem(dialog, IDC_CUSTOM_TEXT));

    EXPECT_TRUE(ApplyTemplateLayout(program, dialog, IDD_SETTINGS_WIDE)) << "the templates hold no unnamed item";
    EXPECT_EQ(TextOf(dialog, IDC_SHOW_BUBBLES), u"Показать всл. окно");
    EXPECT_EQ(TextOf(dialog, IDC_USE_CUSTOM_TEXT), u"Пользовательские DR текст (@ х парам.):");
    ExpectPlaced(dialog, IDC_SHOW_DR, 88, 15, 88, 11);
    // The up-down takes its place at the right of its buddy, out of the
    // buddy's width.
    RECT want = Expected(dialog, 114, 30, 62, 12), listBox = Placed(dialog, IDC_PROFILES),
         spin = Placed(dialog, IDC_PROFILES_SPIN);
    EXPECT_EQ(listBox.left, want.left);
    EXPECT_EQ(listBox.top, want.top);
    EXPECT_EQ(spin.right, want.right);
    EXPECT_EQ(listBox.right, spin.left);
    ExpectPlaced(dialog, IDC_PREVIEW, 5, 127, 170, 22);
    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_USE_FILE_AS, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(TextOf(dialog, IDC_CUSTOM_TEXT), u"typed @s");
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_CUSTOM_TEXT));
    EXPECT_EQ(reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, IDC_PROFILES_SPIN, UDM_GETBUDDY, 0, 0)), list);
    EXPECT_EQ(reinterpret_cast<HWND>(SendDlgItemMessageW(dialog, IDC_CUSTOM_TEXT_SPIN, UDM_GETBUDDY, 0, 0)),
              GetDlgItem(dialog, IDC_CUSTOM_TEXT));

    EXPECT_TRUE(ApplyTemplateLayout(program, dialog, IDD_SETTINGS));
    EXPECT_EQ(TextOf(dialog, IDC_SHOW_BUBBLES), u"Показ. всл. окно");
    ExpectPlaced(dialog, IDC_SHOW_DR, 8, 15, 120, 8);
    want = Expected(dialog, 20, 47, 86, 12);
    EXPECT_EQ(Placed(dialog, IDC_PROFILES).left, want.left);
    EXPECT_EQ(Placed(dialog, IDC_PROFILES_SPIN).left, Placed(dialog, IDC_PROFILES).right);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    DestroyWindow(dialog);
}

TEST_F(Layout, OneUnnamedItemIsAllowedTwoAreRefusedAfterTheControlsMoved) {
    HWND about = Create(program, IDD_ABOUT);
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(ApplyTemplateLayout(program, about, IDD_ABOUT_WIDE));
    ExpectPlaced(about, IDC_ABOUT_VERSION, 96, 35, 47, 8);
    EXPECT_TRUE(ApplyTemplateLayout(program, about, IDD_ABOUT));
    ExpectPlaced(about, IDC_ABOUT_VERSION, 75, 45, 47, 8);
    EXPECT_FALSE(ApplyTemplateLayout(program, about, 4242)) << "no such template";
    DestroyWindow(about);

    HINSTANCE tests = GetModuleHandleW(nullptr);
    HWND dialog = Create(tests, IDD_ONE_UNNAMED);
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(ApplyTemplateLayout(tests, dialog, IDD_TWO_UNNAMED));
    EXPECT_EQ(TextOf(dialog, IDC_LABEL), u"Второй");
    ExpectPlaced(dialog, IDC_LABEL, 10, 50, 60, 8);
    ExpectPlaced(dialog, IDC_BOX, 10, 70, 60, 8);
    EXPECT_TRUE(ApplyTemplateLayout(tests, dialog, IDD_ONE_UNNAMED));
    ExpectPlaced(dialog, IDC_BOX, 4, 20, 50, 8);
    DestroyWindow(dialog);
}

// An icon takes the icon the other template names and the one it showed is
// destroyed. A picture is told by its style's low bits, and those of a
// bitmap picture (SS_BITMAP, 0xE) include an icon's: it keeps the bitmap it
// has, whole. A list keeps its choice. Every item is placed as the template
// says, the pictures too (their fitting to the image comes before).
TEST_F(Layout, AnIconTakesTheOtherTemplatesIconABitmapKeepsItsOwnAndAListItsChoice) {
    HINSTANCE tests = GetModuleHandleW(nullptr);
    HWND dialog = Create(tests, IDD_PICTURES);
    ASSERT_NE(dialog, nullptr);
    HICON firstIcon = static_cast<HICON>(Image(dialog, IDC_ICON, IMAGE_ICON));
    HANDLE bitmap = Image(dialog, IDC_PICTURE, IMAGE_BITMAP);
    ASSERT_NE(firstIcon, nullptr);
    ASSERT_EQ(BitmapSize(bitmap).cx, 8);
    for (const char16_t* item : {u"один", u"два", u"три"})
        SendDlgItemMessageW(dialog, IDC_CHOICE, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendDlgItemMessageW(dialog, IDC_CHOICE, CB_SETCURSEL, 2, 0);

    EXPECT_TRUE(ApplyTemplateLayout(tests, dialog, IDD_PICTURES_WIDE));
    HICON secondIcon = static_cast<HICON>(Image(dialog, IDC_ICON, IMAGE_ICON));
    EXPECT_NE(secondIcon, nullptr);
    EXPECT_NE(secondIcon, firstIcon);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(secondIcon, &info));
    BITMAP colour{};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 16) << "the second template's icon";
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    EXPECT_FALSE(GetIconInfo(firstIcon, &info)) << "the icon shown before is destroyed";
    ExpectPlaced(dialog, IDC_ICON, 60, 4, 16, 16);

    EXPECT_EQ(Image(dialog, IDC_PICTURE, IMAGE_BITMAP), bitmap);
    EXPECT_EQ(BitmapSize(bitmap).cx, 8) << "the bitmap is still there";
    ExpectPlaced(dialog, IDC_PICTURE, 90, 4, 16, 16);

    EXPECT_EQ(SendDlgItemMessageW(dialog, IDC_CHOICE, CB_GETCURSEL, 0, 0), 2);
    ExpectPlaced(dialog, IDC_CHOICE, 4, 4, 50, 40);
    DestroyWindow(dialog);
}
