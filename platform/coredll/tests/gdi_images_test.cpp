// Icons and bitmaps from resources: the image chosen, its pixels and its
// transparency when drawn.
#include "PaintTarget.h"
#include "modules/ResourceProbe.h"

#include <gtest/gtest.h>

namespace {

using painting::PaintTarget;

const COLORREF kWhite = RGB(255, 255, 255);

class Images : public ::testing::Test {
protected:
    void SetUp() override {
        module = LoadLibraryW(TEXT("ResourceProbe.dll"));
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { FreeLibrary(module); }
    HMODULE module = nullptr;
};

TEST_F(Images, DrawIconDrawsTheImageThroughItsMask) {
    HICON icon = LoadIconW(module, MAKEINTRESOURCE(IDI_PROBE));
    ASSERT_NE(icon, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP bitmap{};
    GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
    EXPECT_EQ(bitmap.bmWidth, 32);  // the image nearest the system's size
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    PaintTarget target(50, 50);
    ASSERT_TRUE(DrawIcon(target.dc(), 5, 6, icon));
    EXPECT_EQ(target.at(5, 6), RGB(255, 0, 0));
    EXPECT_EQ(target.at(20, 37), RGB(255, 0, 0));
    EXPECT_EQ(target.at(21, 6), RGB(0, 255, 0));
    EXPECT_EQ(target.at(36, 13), RGB(0, 255, 0));
    EXPECT_EQ(target.at(30, 20), kWhite);  // transparent
    RECT ink = target.Ink();
    EXPECT_EQ(ink.left, 5);
    EXPECT_EQ(ink.top, 6);
    EXPECT_EQ(ink.right, 37);
    EXPECT_EQ(ink.bottom, 38);

    // At another size, and over a background brush.
    PaintTarget scaled(20, 20);
    HBRUSH back = CreateSolidBrush(RGB(0, 0, 90));
    ASSERT_TRUE(DrawIconEx(scaled.dc(), 0, 0, icon, 16, 16, 0, back, DI_NORMAL));
    EXPECT_EQ(scaled.at(2, 10), RGB(255, 0, 0));
    EXPECT_EQ(scaled.at(12, 10), RGB(0, 0, 90));
    EXPECT_EQ(scaled.at(17, 10), kWhite);
    DeleteObject(back);

    ASSERT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DestroyIcon(icon));
    EXPECT_FALSE(DrawIcon(target.dc(), 0, 0, icon));
    EXPECT_FALSE(DeleteObject(icon));
}

TEST_F(Images, StandardIconsAreSharedAndMissingOnesRefused) {
    HICON hand = LoadIconW(nullptr, IDI_HAND);
    ASSERT_NE(hand, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, IDI_ERROR), hand);
    EXPECT_TRUE(DestroyIcon(hand));
    PaintTarget target(80, 80);
    EXPECT_TRUE(DrawIcon(target.dc(), 0, 0, hand));  // still there
    EXPECT_GT(target.Count(kWhite), 0);
    EXPECT_LT(target.Count(kWhite), 80 * 80);
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);

    SetLastError(0);
    EXPECT_EQ(LoadIconW(module, MAKEINTRESOURCE(999)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(LoadIconW(module, MAKEINTRESOURCE(IDB_PROBE)), nullptr);
}

TEST_F(Images, LoadBitmapKeepsThePixels) {
    HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCE(IDB_PROBE));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 6);
    EXPECT_EQ(info.bmHeight, 4);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(GetPixel(dc, x, y), RGB(x * 40, y * 60, 100)) << x << "," << y;

    HBITMAP palette = LoadBitmapW(module, MAKEINTRESOURCE(IDB_PALETTE));
    ASSERT_NE(palette, nullptr);
    SelectObject(dc, palette);
    const COLORREF table[] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(GetPixel(dc, x, y), table[(x + y) % 4]) << x << "," << y;
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteObject(palette));
    EXPECT_EQ(LoadBitmapW(module, MAKEINTRESOURCE(IDI_PROBE)), nullptr);
}

}  // namespace
