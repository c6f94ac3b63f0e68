// A program's dialog from its own module's resources, as the settings
// program runs it: FindResourceW, LoadResource and LockResource of RT_DIALOG,
// then DialogBoxIndirectParamW with the module's instance; and by name with
// DialogBoxParamW. Its icon and bitmap items show the module's images.
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

SIZE IconSize(LRESULT icon) {
    ICONINFO info{};
    SIZE size{0, 0};
    if (GetIconInfo(reinterpret_cast<HICON>(icon), &info) && info.hbmColor) {
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof bm, &bm);
        size = SIZE{bm.bmWidth, bm.bmHeight};
    }
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

struct Picture {
    HWND control = nullptr;
    RECT rect{};
    POINT placed{};  // where the template puts it, in pixels
    LRESULT image = 0;
    SIZE imageSize{};
};
Picture g_icon, g_bitmap, g_centred;

Picture Read(HWND dialog, int id, WPARAM type, int x, int y) {
    Picture p;
    RECT want{x, y, x, y};
    MapDialogRect(dialog, &want);
    p.placed = POINT{want.left, want.top};
    p.control = GetDlgItem(dialog, id);
    GetWindowRect(p.control, &p.rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&p.rect), 2);
    p.image = SendMessageW(p.control, STM_GETIMAGE, type, 0);
    if (type == IMAGE_ICON) p.imageSize = IconSize(p.image);
    return p;
}

INT_PTR CALLBACK ReadPictures(HWND hwnd, UINT msg, WPARAM, LPARAM) {
    if (msg != WM_INITDIALOG) return FALSE;
    g_icon = Read(hwnd, 1001, IMAGE_ICON, 8, 4);
    g_bitmap = Read(hwnd, 1002, IMAGE_BITMAP, 40, 4);
    g_centred = Read(hwnd, 1003, IMAGE_ICON, 80, 4);
    // Another icon: the control takes its size again.
    HICON standard = LoadIconW(nullptr, IDI_QUESTION);
    HICON old = reinterpret_cast<HICON>(
        SendDlgItemMessageW(hwnd, 1001, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(standard)));
    if (old) DestroyIcon(old);
    RECT r{};
    GetWindowRect(GetDlgItem(hwnd, 1001), &r);
    EndDialog(hwnd, MAKELONG(r.right - r.left, r.bottom - r.top));
    return TRUE;
}

}  // namespace

TEST(DialogResources, PicturesNamedByTheModulesResourcesShowAtTheirOwnSize) {
    testing_support::TempDevice device;
    HMODULE module = LoadLibraryW(u"ResourceProbe.dll");
    ASSERT_NE(module, nullptr);
    INT_PTR resized = DialogBoxParamW(module, MAKEINTRESOURCE(IDD_PICTURES), nullptr, ReadPictures, 0);

    ASSERT_NE(g_icon.image, 0) << "the icon of the module, by its ordinal";
    SIZE icon = g_icon.imageSize;
    EXPECT_GT(icon.cx, 0);
    EXPECT_EQ(g_icon.rect.right - g_icon.rect.left, icon.cx) << "made 0 x 0, sized to its icon";
    EXPECT_EQ(g_icon.rect.bottom - g_icon.rect.top, icon.cy);
    ASSERT_NE(g_bitmap.image, 0);
    EXPECT_EQ(g_bitmap.rect.right - g_bitmap.rect.left, 6) << "the bitmap is 6 x 4";
    EXPECT_EQ(g_bitmap.rect.bottom - g_bitmap.rect.top, 4);
    ASSERT_NE(g_centred.image, 0);
    EXPECT_GT(g_centred.rect.right - g_centred.rect.left, icon.cx) << "a centred picture keeps its size";
    for (const Picture* p : {&g_icon, &g_bitmap, &g_centred}) {
        EXPECT_EQ(p->rect.left, p->placed.x) << "sized where the template put it";
        EXPECT_EQ(p->rect.top, p->placed.y);
    }

    SIZE standard = IconSize(reinterpret_cast<LRESULT>(LoadIconW(nullptr, IDI_QUESTION)));
    EXPECT_EQ(LOWORD(resized), standard.cx);
    EXPECT_EQ(HIWORD(resized), standard.cy);
    FreeLibrary(module);
}
