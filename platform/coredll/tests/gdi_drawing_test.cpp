// Where GDI's shapes and lines put their pixels.
#include "PaintTarget.h"

#include <gtest/gtest.h>

namespace {

using painting::PaintTarget;

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kPen = RGB(200, 0, 0);
const COLORREF kFill = RGB(0, 0, 200);

// Selects a pen and a brush for the life of the object.
class Tools {
public:
    Tools(HDC dc, int penWidth, bool hollow = false, int penStyle = PS_SOLID)
        : dc_(dc), pen_(CreatePen(penStyle, penWidth, kPen)), brush_(CreateSolidBrush(kFill)) {
        oldPen_ = SelectObject(dc, pen_);
        oldBrush_ = SelectObject(dc, hollow ? GetStockObject(NULL_BRUSH) : brush_);
    }
    ~Tools() {
        SelectObject(dc_, oldPen_);
        SelectObject(dc_, oldBrush_);
        EXPECT_TRUE(DeleteObject(pen_));
        EXPECT_TRUE(DeleteObject(brush_));
    }

private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ oldPen_, oldBrush_;
};

TEST(GdiDrawing, RectangleCoversItsLeftAndTopEdgesOnly) {
    PaintTarget target(40, 40);
    {
        Tools tools(target.dc(), 1);
        ASSERT_TRUE(Rectangle(target.dc(), 10, 10, 20, 16));
    }
    EXPECT_EQ(target.at(10, 10), kPen);
    EXPECT_EQ(target.at(19, 15), kPen);
    EXPECT_EQ(target.at(19, 10), kPen);
    EXPECT_EQ(target.at(11, 11), kFill);
    EXPECT_EQ(target.at(18, 14), kFill);
    RECT ink = target.Ink();
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.top, 10);
    EXPECT_EQ(ink.right, 20);
    EXPECT_EQ(ink.bottom, 16);

    // Without a pen the fill stops one pixel short on the right and bottom.
    PaintTarget hollow(40, 40);
    HGDIOBJ oldPen = SelectObject(hollow.dc(), GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(hollow.dc(), GetStockObject(BLACK_BRUSH));
    Rectangle(hollow.dc(), 10, 10, 20, 16);
    SelectObject(hollow.dc(), oldPen);
    SelectObject(hollow.dc(), oldBrush);
    ink = hollow.Ink();
    EXPECT_EQ(ink.left, 10);
    EXPECT_EQ(ink.right, 19);
    EXPECT_EQ(ink.bottom, 15);
}

TEST(GdiDrawing, WidePensAreCentredOnTheOutline) {
    PaintTarget target(40, 40);
    {
        Tools tools(target.dc(), 3, true);
        Rectangle(target.dc(), 10, 10, 30, 30);
    }
    // Columns 9..11 on the left edge, 28..30 on the right one (x = 29).
    EXPECT_EQ(target.at(8, 20), kWhite);
    EXPECT_EQ(target.at(9, 20), kPen);
    EXPECT_EQ(target.at(11, 20), kPen);
    EXPECT_EQ(target.at(12, 20), kWhite);  // hollow brush
    EXPECT_EQ(target.at(28, 20), kPen);
    EXPECT_EQ(target.at(30, 20), kPen);
    EXPECT_EQ(target.at(31, 20), kWhite);

    // An even width reaches one pixel further up: rows 19 and 20 for y 20.
    PaintTarget line(40, 40);
    {
        Tools tools(line.dc(), 2);
        MoveToEx(line.dc(), 5, 20, nullptr);
        LineTo(line.dc(), 35, 20);
    }
    EXPECT_EQ(line.at(20, 18), kWhite);
    EXPECT_EQ(line.at(20, 19), kPen);
    EXPECT_EQ(line.at(20, 20), kPen);
    EXPECT_EQ(line.at(20, 21), kWhite);
}

TEST(GdiDrawing, LineToLeavesOutItsLastPixelAndMovesThePosition) {
    PaintTarget target(40, 40);
    Tools tools(target.dc(), 1);
    POINT previous{-1, -1};
    MoveToEx(target.dc(), 5, 5, nullptr);
    ASSERT_TRUE(LineTo(target.dc(), 15, 5));
    EXPECT_EQ(target.at(5, 5), kPen);
    EXPECT_EQ(target.at(14, 5), kPen);
    EXPECT_EQ(target.at(15, 5), kWhite);
    // The position is now the end point.
    MoveToEx(target.dc(), 30, 30, &previous);
    EXPECT_EQ(previous.x, 15);
    EXPECT_EQ(previous.y, 5);

    // Upwards, and diagonally.
    MoveToEx(target.dc(), 20, 30, nullptr);
    LineTo(target.dc(), 20, 10);
    EXPECT_EQ(target.at(20, 30), kPen);
    EXPECT_EQ(target.at(20, 11), kPen);
    EXPECT_EQ(target.at(20, 10), kWhite);
    MoveToEx(target.dc(), 25, 10, nullptr);
    LineTo(target.dc(), 35, 20);
    EXPECT_EQ(target.at(25, 10), kPen);
    EXPECT_EQ(target.at(30, 15), kPen);
    EXPECT_EQ(target.at(34, 19), kPen);
    EXPECT_EQ(target.at(35, 20), kWhite);
}

TEST(GdiDrawing, RoundRectRoundsItsCornersByTheEllipse) {
    PaintTarget target(40, 30);
    {
        Tools tools(target.dc(), 1);
        ASSERT_TRUE(RoundRect(target.dc(), 0, 0, 30, 20, 10, 10));
    }
    // The straight edges lie where Rectangle's would.
    EXPECT_EQ(target.at(15, 0), kPen);
    EXPECT_EQ(target.at(0, 10), kPen);
    EXPECT_EQ(target.at(29, 10), kPen);
    EXPECT_EQ(target.at(15, 19), kPen);
    EXPECT_EQ(target.at(30, 10), kWhite);
    EXPECT_EQ(target.at(15, 20), kWhite);
    EXPECT_EQ(target.at(15, 10), kFill);
    // The corners are cut off, and the curve begins about half the ellipse in.
    EXPECT_EQ(target.at(0, 0), kWhite);
    EXPECT_EQ(target.at(29, 19), kWhite);
    EXPECT_EQ(target.at(1, 0), kWhite);
    EXPECT_EQ(target.at(0, 1), kWhite);
    EXPECT_EQ(target.at(5, 0), kPen);

    // A dashed pen leaves gaps.
    PaintTarget dashed(60, 4);
    {
        Tools tools(dashed.dc(), 1, false, PS_DASH);
        MoveToEx(dashed.dc(), 0, 1, nullptr);
        LineTo(dashed.dc(), 60, 1);
    }
    EXPECT_GT(dashed.Count(kPen), 30);
    EXPECT_LT(dashed.Count(kPen), 59);
    // Wider than one pixel, a dashed pen draws solid.
    PaintTarget wide(60, 8);
    {
        Tools tools(wide.dc(), 3, false, PS_DASH);
        MoveToEx(wide.dc(), 0, 4, nullptr);
        LineTo(wide.dc(), 60, 4);
    }
    for (int x = 0; x < 60; ++x) EXPECT_EQ(wide.at(x, 4), kPen) << x;
}

TEST(GdiDrawing, FillsAndFramesFollowTheRectangle) {
    PaintTarget target(20, 20);
    HBRUSH brush = CreateSolidBrush(kFill);
    RECT r{2, 3, 8, 9};
    EXPECT_TRUE(FillRect(target.dc(), &r, brush));
    EXPECT_EQ(target.Count(kFill), 36);
    EXPECT_EQ(target.at(2, 3), kFill);
    EXPECT_EQ(target.at(8, 8), kWhite);

    RECT frame{10, 10, 15, 14};
    FrameRect(target.dc(), &frame, brush);
    EXPECT_EQ(target.at(10, 10), kFill);
    EXPECT_EQ(target.at(14, 13), kFill);
    EXPECT_EQ(target.at(12, 12), kWhite);
    EXPECT_EQ(target.Count(kFill), 36 + 14);

    // A hollow brush paints nothing.
    RECT all{0, 0, 20, 20};
    FillRect(target.dc(), &all, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(target.at(0, 0), kWhite);
    DeleteObject(brush);
}

}  // namespace
