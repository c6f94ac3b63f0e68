// GDI objects: selection, deletion, stock objects, system colours and the
// device's capabilities.
#include "PaintTarget.h"

#include <screen_host.h>

#include <gtest/gtest.h>

namespace {

using painting::PaintTarget;

TEST(GdiObjects, SelectObjectReturnsWhatWasSelectedBefore) {
    HDC dc = CreateCompatibleDC(nullptr);
    ASSERT_NE(dc, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    LOGFONTW logfont{};
    logfont.lfHeight = 13;
    HFONT font = CreateFontIndirectW(&logfont);

    // A fresh DC holds the black pen and the white brush.
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, brush), GetStockObject(WHITE_BRUSH));
    HGDIOBJ firstFont = SelectObject(dc, font);
    EXPECT_EQ(GetObjectType(firstFont), static_cast<DWORD>(OBJ_FONT));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), pen);

    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), pen);
    EXPECT_EQ(SelectObject(dc, GetStockObject(NULL_PEN)), GetStockObject(NULL_PEN));
    EXPECT_EQ(SelectObject(dc, firstFont), font);

    LOGPEN logpen{};
    ASSERT_EQ(GetObjectW(pen, sizeof logpen, &logpen), static_cast<int>(sizeof logpen));
    EXPECT_EQ(logpen.lopnWidth.x, 2);
    EXPECT_EQ(logpen.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));

    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(font));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiObjects, ObjectsSelectedIntoADcAreNotDeleted) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(200, 0, 0));
    HGDIOBJ old = SelectObject(dc, brush);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), static_cast<DWORD>(OBJ_BRUSH));  // still alive
    SelectObject(dc, old);
    EXPECT_TRUE(DeleteObject(brush));

    // A bitmap lives in one memory DC at a time, and is kept while there.
    HBITMAP bitmap = CreateBitmap(8, 8, 1, 24, nullptr);
    HDC other = CreateCompatibleDC(nullptr);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    ASSERT_NE(oldBitmap, nullptr);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));
    // Deleting the DC lets go of it.
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_NE(SelectObject(other, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_TRUE(DeleteObject(bitmap));
}

TEST(GdiObjects, DeletedHandlesAreRefusedAndNeverReused) {
    HDC dc = CreateCompatibleDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    ASSERT_TRUE(DeleteObject(pen));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(dc, pen), nullptr);
    EXPECT_EQ(GetObjectType(pen), 0u);
    LOGPEN logpen;
    EXPECT_EQ(GetObjectW(pen, sizeof logpen, &logpen), 0);
    for (int i = 0; i < 100; ++i) {
        HPEN fresh = CreatePen(PS_SOLID, 1, 0);
        EXPECT_NE(fresh, pen);
        DeleteObject(fresh);
    }
    ASSERT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    EXPECT_EQ(GetPixel(dc, 0, 0), CLR_INVALID);
    RECT r{0, 0, 5, 5};
    EXPECT_EQ(DrawTextW(dc, TEXT("x"), 1, &r, 0), 0);
    EXPECT_FALSE(BitBlt(dc, 0, 0, 1, 1, dc, 0, 0, SRCCOPY));
}

TEST(GdiObjects, StockObjectsSurviveDeleteObject) {
    HGDIOBJ stock[] = {GetStockObject(WHITE_BRUSH), GetStockObject(BLACK_BRUSH),     GetStockObject(NULL_BRUSH),
                       GetStockObject(WHITE_PEN),   GetStockObject(BLACK_PEN),       GetStockObject(NULL_PEN),
                       GetStockObject(SYSTEM_FONT), GetStockObject(DEFAULT_GUI_FONT)};
    for (HGDIOBJ object : stock) {
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(DeleteObject(object));
        EXPECT_NE(GetObjectType(object), 0u);
    }
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
    EXPECT_EQ(GetStockObject(99), nullptr);
    EXPECT_TRUE(DeleteObject(GetSysColorBrush(COLOR_WINDOW)));
    EXPECT_NE(GetObjectType(GetSysColorBrush(COLOR_WINDOW)), 0u);
}

TEST(GdiObjects, SystemColoursTakeTheIndexWithOrWithoutTheFlag) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    for (int index = 0; index < C_SYS_COLOR_TYPES; ++index)
        EXPECT_EQ(GetSysColor(index | SYS_COLOR_INDEX_FLAG), GetSysColor(index)) << index;
    EXPECT_NE(GetSysColor(COLOR_WINDOWFRAME | SYS_COLOR_INDEX_FLAG), GetSysColor(COLOR_WINDOW));
    EXPECT_NE(GetSysColor(COLOR_INACTIVECAPTION), GetSysColor(COLOR_CAPTIONTEXT));
    EXPECT_EQ(GetSysColor(C_SYS_COLOR_TYPES), 0u);

    // A system colour brush, and the colour index + 1 FillRect takes.
    PaintTarget target(4, 2);
    RECT left{0, 0, 2, 2}, right{2, 0, 4, 2};
    FillRect(target.dc(), &left, GetSysColorBrush(COLOR_HIGHLIGHT | SYS_COLOR_INDEX_FLAG));
    FillRect(target.dc(), &right, reinterpret_cast<HBRUSH>(COLOR_INACTIVECAPTION + 1));
    EXPECT_EQ(target.at(0, 0), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(target.at(3, 1), GetSysColor(COLOR_INACTIVECAPTION));
}

TEST(GdiObjects, DeviceCapsFollowTheScreen) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (int dpi : {96, 131, 192}) {
        host::SetScreenProfile(host::ScreenProfile{240, 320, dpi});
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), dpi);
        EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), dpi);
    }
    host::SetScreenProfile(host::ScreenProfile{320, 240, 131});
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 320);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 240);
    EXPECT_GE(GetDeviceCaps(dc, BITSPIXEL), 16);
    EXPECT_EQ(GetDeviceCaps(nullptr, LOGPIXELSX), 0);
    DeleteDC(dc);
}

TEST(GdiObjects, MemoryDcsStartMonochrome) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP mono = CreateCompatibleBitmap(dc, 4, 4);
    BITMAP info{};
    ASSERT_EQ(GetObjectW(mono, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidth, 4);
    HGDIOBJ old = SelectObject(dc, mono);
    SetPixel(dc, 1, 1, RGB(250, 240, 230));
    SetPixel(dc, 2, 2, RGB(10, 20, 200));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(dc, 2, 2), RGB(0, 0, 0));
    SelectObject(dc, old);

    // A colour bitmap keeps its colours, and so does one made compatible
    // with the DC holding it.
    HBITMAP colour = CreateBitmap(4, 4, 1, 24, nullptr);
    SelectObject(dc, colour);
    HBITMAP second = CreateCompatibleBitmap(dc, 2, 2);
    ASSERT_EQ(GetObjectW(second, sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_GT(info.bmBitsPixel, 1);
    EXPECT_EQ(SetPixel(dc, 0, 0, RGB(10, 20, 200)), RGB(10, 20, 200));
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(10, 20, 200));
    EXPECT_EQ(GetPixel(dc, 4, 0), CLR_INVALID);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(mono);
    DeleteObject(colour);
    DeleteObject(second);
}

}  // namespace

namespace {

TEST(GdiObjects, RestoreDcBringsBackWhatSaveDcKept) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP first = CreateBitmap(4, 4, 1, 24, nullptr);
    HBITMAP second = CreateBitmap(8, 8, 1, 24, nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(9, 9, 9));
    HGDIOBJ oldBitmap = SelectObject(dc, first);
    SetPixel(dc, 0, 0, RGB(1, 2, 3));
    SetTextColor(dc, RGB(10, 20, 30));
    EXPECT_EQ(SaveDC(dc), 1);
    SelectObject(dc, second);
    SelectObject(dc, pen);
    SetTextColor(dc, RGB(40, 50, 60));
    EXPECT_EQ(SaveDC(dc), 2);
    SetBkMode(dc, TRANSPARENT);

    // Objects kept by a saved state are still selected.
    EXPECT_FALSE(DeleteObject(pen));
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, first), nullptr);

    ASSERT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetTextColor(dc), RGB(40, 50, 60));
    ASSERT_TRUE(RestoreDC(dc, 1));
    EXPECT_EQ(GetTextColor(dc), RGB(10, 20, 30));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BITMAP), first);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_FALSE(RestoreDC(dc, 1));  // nothing saved any more
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteObject(second));
    EXPECT_FALSE(DeleteObject(first));
    SelectObject(dc, oldBitmap);
    EXPECT_TRUE(DeleteObject(first));
    DeleteDC(dc);
    DeleteDC(other);
}

}  // namespace
