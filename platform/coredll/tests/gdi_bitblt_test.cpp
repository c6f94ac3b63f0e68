// Block transfers: BitBlt copies the source's pixels exactly, cut to both
// surfaces, and applies the raster operations.
#include "PaintTarget.h"

#include <gtest/gtest.h>

namespace {

using painting::PaintTarget;

COLORREF Pattern(int x, int y) { return RGB(x * 7 % 256, y * 11 % 256, (x + y) * 3 % 256); }

TEST(GdiBitBlt, SrcCopyCopiesEveryPixelExactly) {
    PaintTarget source(30, 20);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) SetPixel(source.dc(), x, y, Pattern(x, y));
    PaintTarget target(40, 40);
    ASSERT_TRUE(BitBlt(target.dc(), 5, 6, 10, 8, source.dc(), 12, 3, SRCCOPY));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 10; ++x) ASSERT_EQ(target.at(5 + x, 6 + y), Pattern(12 + x, 3 + y)) << x << "," << y;
    RECT ink = target.Ink();
    EXPECT_EQ(ink.left, 5);
    EXPECT_EQ(ink.top, 6);
    EXPECT_EQ(ink.right, 15);
    EXPECT_EQ(ink.bottom, 14);

    // What lies beyond either bitmap is left alone.
    PaintTarget edge(10, 10);
    ASSERT_TRUE(BitBlt(edge.dc(), -2, 5, 30, 30, source.dc(), 25, 0, SRCCOPY));
    EXPECT_EQ(edge.at(0, 5), Pattern(27, 0));
    EXPECT_EQ(edge.at(2, 9), Pattern(29, 4));
    EXPECT_EQ(edge.at(3, 5), RGB(255, 255, 255));  // source column 30 does not exist
    EXPECT_EQ(edge.at(0, 4), RGB(255, 255, 255));
}

TEST(GdiBitBlt, OverlappingCopyWithinOneBitmap) {
    PaintTarget target(20, 1);
    for (int x = 0; x < 20; ++x) SetPixel(target.dc(), x, 0, Pattern(x, 0));
    ASSERT_TRUE(BitBlt(target.dc(), 2, 0, 10, 1, target.dc(), 0, 0, SRCCOPY));
    for (int x = 0; x < 10; ++x) EXPECT_EQ(target.at(x + 2, 0), Pattern(x, 0));
}

TEST(GdiBitBlt, RasterOperations) {
    PaintTarget source(4, 1), target(4, 1);
    SetPixel(source.dc(), 0, 0, RGB(0xF0, 0x0F, 0x33));
    SetPixel(target.dc(), 0, 0, RGB(0xFF, 0x00, 0x0F));
    BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, SRCAND);
    EXPECT_EQ(target.at(0, 0), RGB(0xF0, 0x00, 0x03));
    BitBlt(target.dc(), 0, 0, 1, 1, source.dc(), 0, 0, SRCINVERT);
    EXPECT_EQ(target.at(0, 0), RGB(0x00, 0x0F, 0x30));
    BitBlt(target.dc(), 0, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
    EXPECT_EQ(target.at(0, 0), RGB(0xFF, 0xF0, 0xCF));
    BitBlt(target.dc(), 1, 0, 1, 1, nullptr, 0, 0, BLACKNESS);
    EXPECT_EQ(target.at(1, 0), RGB(0, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HGDIOBJ old = SelectObject(target.dc(), brush);
    EXPECT_TRUE(PatBlt(target.dc(), 2, 0, 2, 1, PATCOPY));
    EXPECT_EQ(target.at(3, 0), RGB(1, 2, 3));
    SelectObject(target.dc(), old);
    DeleteObject(brush);
    // An operation that reads the source needs one.
    EXPECT_FALSE(BitBlt(target.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

}  // namespace
