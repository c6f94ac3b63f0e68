// Text: fonts of a pixel height, DrawTextW's placement and measuring, the
// "&" prefix, and the background modes.
#include "PaintTarget.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using painting::PaintTarget;

HFONT Font(const std::u16string& face, LONG height, LONG weight = FW_NORMAL, BYTE pitch = DEFAULT_PITCH) {
    LOGFONTW logfont{};
    logfont.lfHeight = height;
    logfont.lfWeight = weight;
    logfont.lfPitchAndFamily = pitch;
    std::copy(face.begin(), face.end(), logfont.lfFaceName);
    return CreateFontIndirectW(&logfont);
}

HFONT Tahoma(LONG height, LONG weight = FW_NORMAL) { return Font(u"Tahoma", height, weight); }

class SelectedFont {
public:
    SelectedFont(HDC dc, HFONT font) : dc_(dc), font_(font), old_(SelectObject(dc, font)) {}
    ~SelectedFont() {
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
};

TEST(GdiText, FontHeightIsTheCellOrTheCharacterHeight) {
    PaintTarget target(10, 10);
    TEXTMETRICW tm{};
    {
        SelectedFont font(target.dc(), Tahoma(18));  // positive: the cell
        ASSERT_TRUE(GetTextMetricsW(target.dc(), &tm));
        EXPECT_EQ(tm.tmHeight, 18);
        EXPECT_EQ(tm.tmAscent + tm.tmDescent, tm.tmHeight);
    }
    {
        SelectedFont font(target.dc(), Tahoma(-18, FW_BOLD));  // negative: the characters
        ASSERT_TRUE(GetTextMetricsW(target.dc(), &tm));
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 18);
        EXPECT_GT(tm.tmHeight, 18);
        EXPECT_EQ(tm.tmWeight, FW_BOLD);
        WCHAR face[LF_FACESIZE];
        ASSERT_EQ(GetTextFaceW(target.dc(), LF_FACESIZE, face), 6);
        EXPECT_EQ(std::u16string(face), u"Tahoma");
    }
    // The wider the text, the wider its extent; the height is the cell.
    SelectedFont font(target.dc(), Tahoma(16));
    SIZE one{}, two{};
    ASSERT_TRUE(GetTextExtentPoint32W(target.dc(), TEXT("Ж"), 1, &one));
    ASSERT_TRUE(GetTextExtentPoint32W(target.dc(), TEXT("ЖЖ"), 2, &two));
    EXPECT_GT(one.cx, 4);
    EXPECT_EQ(two.cx, 2 * one.cx);
    EXPECT_EQ(one.cy, 16);
    int fit = 0;
    ASSERT_TRUE(GetTextExtentExPointW(target.dc(), TEXT("ЖЖЖЖ"), 4, two.cx, &fit, nullptr, &one));
    EXPECT_EQ(fit, 2);
}

// The phone has its sans and its mono face only: a face it lacks, even one
// this machine has, is one of them by pitch.
TEST(GdiText, AFaceThePhoneLacksIsItsSansOrMonoFaceByPitch) {
    PaintTarget target(10, 10);
    auto width = [&target](HFONT font) {
        SelectedFont selected(target.dc(), font);
        SIZE size{};
        EXPECT_TRUE(GetTextExtentPoint32W(target.dc(), TEXT("Жук 42 WWii"), 11, &size));
        return size.cx;
    };
    const LONG sans = width(Tahoma(-14));
    const LONG mono = width(Font(u"Courier New", -14));
    ASSERT_NE(sans, mono);
    EXPECT_EQ(width(Font(u"DejaVu Serif", -14)), sans);
    EXPECT_EQ(width(Font(u"serif", -14)), sans);
    EXPECT_EQ(width(Font(u"No Such Face", -14)), sans);
    EXPECT_EQ(width(Font(u"No Such Face", -14, FW_NORMAL, FIXED_PITCH)), mono);
    EXPECT_EQ(width(Font(u"DejaVu Serif", -14, FW_NORMAL, FIXED_PITCH)), mono);
}

// Fonts made alike measure alike, however many fonts were made between,
// and a font differing in one field measures as that field says.
TEST(GdiText, FontsMadeAlikeMeasureAlikeAndEachFieldStillCounts) {
    PaintTarget target(10, 10);
    auto measure = [&target](HFONT font, TEXTMETRICW* tm, SIZE* size) {
        SelectedFont selected(target.dc(), font);
        ASSERT_TRUE(GetTextMetricsW(target.dc(), tm));
        ASSERT_TRUE(GetTextExtentPoint32W(target.dc(), TEXT("Жук 42"), 6, size));
    };
    TEXTMETRICW first{}, again{}, bold{}, taller{};
    SIZE firstSize{}, againSize{}, boldSize{}, tallerSize{};
    measure(Tahoma(-13), &first, &firstSize);
    // More fonts than are kept made, so that the first one's face is let
    // go and made anew.
    for (LONG height = 1; height <= 100; ++height) {
        TEXTMETRICW tm{};
        SIZE size{};
        measure(Tahoma(height), &tm, &size);
        ASSERT_EQ(tm.tmHeight, height);
    }
    // A face name with something behind its terminator is the same font.
    LOGFONTW logfont{};
    logfont.lfHeight = -13;
    logfont.lfWeight = FW_NORMAL;
    const WCHAR face[] = TEXT("Tahoma\0junk");
    std::copy(std::begin(face), std::end(face), logfont.lfFaceName);
    measure(CreateFontIndirectW(&logfont), &again, &againSize);
    EXPECT_EQ(again.tmHeight, first.tmHeight);
    EXPECT_EQ(again.tmAveCharWidth, first.tmAveCharWidth);
    EXPECT_EQ(againSize.cx, firstSize.cx);

    measure(Tahoma(-13, FW_BOLD), &bold, &boldSize);
    EXPECT_GT(boldSize.cx, firstSize.cx);
    EXPECT_EQ(bold.tmWeight, FW_BOLD);
    measure(Tahoma(-20), &taller, &tallerSize);
    EXPECT_GT(taller.tmHeight, first.tmHeight);
    EXPECT_GT(tallerSize.cx, firstSize.cx);

    // A font selected and kept stays as it was while others come and go.
    HFONT kept = Tahoma(-13);
    SelectedFont selected(target.dc(), kept);
    for (LONG height = 101; height <= 200; ++height) {
        TEXTMETRICW tm{};
        SIZE size{};
        measure(Tahoma(height), &tm, &size);
    }
    TEXTMETRICW still{};
    ASSERT_TRUE(GetTextMetricsW(target.dc(), &still));
    EXPECT_EQ(still.tmHeight, first.tmHeight);
}

TEST(GdiText, AFontTallerThanTheFontLibraryScalesIsMadeAtTheLargestItScales) {
    // 65,535 pixels is as tall as the font library scales a face; a taller
    // one measures and draws as that one does, and leaves nothing behind.
    PaintTarget target(10, 10);
    SIZE largest{}, taller{};
    TEXTMETRICW tm{};
    {
        SelectedFont font(target.dc(), Tahoma(-65535));
        ASSERT_TRUE(GetTextExtentPoint32W(target.dc(), TEXT("W"), 1, &largest));
    }
    {
        SelectedFont font(target.dc(), Tahoma(-100000));
        ASSERT_TRUE(GetTextExtentPoint32W(target.dc(), TEXT("W"), 1, &taller));
        ASSERT_TRUE(GetTextMetricsW(target.dc(), &tm));
        EXPECT_TRUE(ExtTextOutW(target.dc(), 0, 0, 0, nullptr, TEXT("W"), 1, nullptr));
    }
    EXPECT_GT(largest.cx, 10000);
    EXPECT_EQ(taller.cx, largest.cx);
    EXPECT_GT(tm.tmAscent, 10000);
}

TEST(GdiText, PerCharacterExtentsAreThoseOfEachPrefix) {
    PaintTarget target(10, 10);
    SelectedFont font(target.dc(), Tahoma(16));
    const std::u16string text = u"Call me, Жора! \U0001F600 ok";
    const int length = static_cast<int>(text.size());
    std::vector<int> extents(length);
    SIZE whole{};
    int fit = -1;
    ASSERT_TRUE(GetTextExtentExPointW(target.dc(), text.data(), length, 40, &fit, extents.data(), &whole));
    EXPECT_EQ(extents.back(), whole.cx);
    for (int i = 1; i < length; ++i) EXPECT_GE(extents[i], extents[i - 1]) << i;
    for (int i : {0, 3, 8, 13, 16, 19}) {
        SIZE prefix{};
        ASSERT_TRUE(GetTextExtentPoint32W(target.dc(), text.data(), i + 1, &prefix));
        EXPECT_NEAR(extents[i], prefix.cx, 1) << i;
    }
    // What fits is the longest prefix no wider than the limit.
    ASSERT_GT(fit, 0);
    EXPECT_LE(extents[fit - 1], 40);
    if (fit < length) {
        EXPECT_GT(extents[fit], 40);
    }

    // A long run costs no more per character than a short one.
    std::u16string longText(20000, u'x');
    std::vector<int> longExtents(longText.size());
    ASSERT_TRUE(GetTextExtentExPointW(target.dc(), longText.data(), static_cast<int>(longText.size()), 0, nullptr,
                                      longExtents.data(), &whole));
    EXPECT_EQ(longExtents.back(), whole.cx);
    EXPECT_NEAR(longExtents[9999], whole.cx / 2, 2);
}

TEST(GdiText, CentredCyrillicTitleInkIsCentredInTheRectangle) {
    PaintTarget target(200, 40);
    SelectedFont font(target.dc(), Tahoma(17, FW_BOLD));
    SetTextColor(target.dc(), RGB(0, 0, 0));
    SetBkMode(target.dc(), TRANSPARENT);
    RECT box{20, 4, 180, 36};
    int height = DrawTextW(target.dc(), TEXT("Новое"), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    EXPECT_GT(height, 0);
    RECT ink = target.Ink();
    ASSERT_LT(ink.left, ink.right) << "nothing was drawn";
    double inkX = (ink.left + ink.right) / 2.0, inkY = (ink.top + ink.bottom) / 2.0;
    EXPECT_NEAR(inkX, (box.left + box.right) / 2.0, 1.5);
    EXPECT_NEAR(inkY, (box.top + box.bottom) / 2.0, 2.0);
    EXPECT_GT(ink.right - ink.left, 30);
    EXPECT_LE(ink.bottom - ink.top, 17);

    // Right-aligned text ends at the right edge.
    PaintTarget right(200, 40);
    SelectedFont font2(right.dc(), Tahoma(17));
    RECT line{0, 0, 150, 20};
    DrawTextW(right.dc(), TEXT("Меню"), 4, &line, DT_RIGHT | DT_SINGLELINE);
    EXPECT_NEAR(right.Ink().right, 150, 2);
    EXPECT_GE(right.Ink().left, 100);
}

TEST(GdiText, CalcRectMeasuresWithoutDrawing) {
    PaintTarget target(200, 200);
    SelectedFont font(target.dc(), Tahoma(14));
    SIZE size{};
    GetTextExtentPoint32W(target.dc(), TEXT("Готово"), 6, &size);
    RECT r{10, 10, 10, 10};
    EXPECT_EQ(DrawTextW(target.dc(), TEXT("Готово"), -1, &r, DT_CALCRECT | DT_SINGLELINE), 14);
    EXPECT_EQ(r.right - r.left, size.cx);
    EXPECT_EQ(r.bottom - r.top, 14);
    EXPECT_EQ(target.Ink().right, 0) << "DT_CALCRECT drew";

    // Word breaks wrap the text in the rectangle's width, line under line.
    RECT narrow{0, 0, 60, 0};
    int height = DrawTextW(target.dc(), TEXT("один два три четыре"), -1, &narrow, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height % 14, 0);
    EXPECT_GE(height, 3 * 14);
    EXPECT_EQ(narrow.bottom, height);
    EXPECT_LE(narrow.right, 60);
    // Line feeds break lines without DT_WORDBREAK, and not with DT_SINGLELINE.
    RECT lines{0, 0, 200, 0};
    EXPECT_EQ(DrawTextW(target.dc(), TEXT("a\nb\r\nc"), -1, &lines, DT_CALCRECT), 3 * 14);
    EXPECT_EQ(DrawTextW(target.dc(), TEXT("a\nb\r\nc"), -1, &lines, DT_CALCRECT | DT_SINGLELINE), 14);
}

TEST(GdiText, ARectangleWiderThanAnyTextWrapsAndCutsNothing) {
    // Three million pixels, as a control of a template with a huge font
    // gets: wider than the text layout's own measure can hold.
    PaintTarget target(200, 40);
    SelectedFont font(target.dc(), Tahoma(14));
    SIZE size{};
    GetTextExtentPoint32W(target.dc(), TEXT("один два"), 8, &size);
    for (UINT format : {DT_WORDBREAK, DT_END_ELLIPSIS, DT_WORDBREAK | DT_END_ELLIPSIS}) {
        RECT wide{-1000000, 0, 2000000, 0};
        EXPECT_EQ(DrawTextW(target.dc(), TEXT("один два"), -1, &wide, DT_CALCRECT | format), 14) << format;
        EXPECT_EQ(wide.right - wide.left, size.cx) << format;
        RECT shown{-1000000, 0, 2000000, 20};
        EXPECT_EQ(DrawTextW(target.dc(), TEXT("один два"), -1, &shown, format), 14) << format;
    }
}

TEST(GdiText, AmpersandMarksAMnemonicUnlessNoPrefix) {
    PaintTarget target(200, 40);
    SelectedFont font(target.dc(), Tahoma(14));
    RECT plain{0, 0, 0, 0}, prefixed{0, 0, 0, 0}, literal{0, 0, 0, 0}, doubled{0, 0, 0, 0};
    DrawTextW(target.dc(), TEXT("Файл"), -1, &plain, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(target.dc(), TEXT("&Файл"), -1, &prefixed, DT_CALCRECT | DT_SINGLELINE);
    DrawTextW(target.dc(), TEXT("&Файл"), -1, &literal, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    DrawTextW(target.dc(), TEXT("&&Файл"), -1, &doubled, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(prefixed.right, plain.right);
    EXPECT_GT(literal.right, plain.right);
    EXPECT_EQ(doubled.right, literal.right);

    // The mnemonic is underlined: more ink, all of it on the letters' rows
    // or just below them.
    PaintTarget a(100, 20), b(100, 20);
    SelectedFont fa(a.dc(), Tahoma(14)), fb(b.dc(), Tahoma(14));
    RECT r{0, 0, 100, 20};
    DrawTextW(a.dc(), TEXT("Меню"), -1, &r, DT_SINGLELINE);
    DrawTextW(b.dc(), TEXT("&Меню"), -1, &r, DT_SINGLELINE);
    EXPECT_LT(b.Count(RGB(255, 255, 255)), a.Count(RGB(255, 255, 255)) - 4);
    EXPECT_LE(b.Ink().bottom, a.Ink().bottom + 2);
}

TEST(GdiText, OpaqueModeFillsTheTextBackground) {
    PaintTarget target(100, 20);
    SelectedFont font(target.dc(), Tahoma(14));
    EXPECT_EQ(GetBkMode(target.dc()), OPAQUE);
    SetBkColor(target.dc(), RGB(0, 200, 0));
    RECT r{0, 0, 100, 20};
    DrawTextW(target.dc(), TEXT("Да"), -1, &r, DT_SINGLELINE);
    EXPECT_EQ(target.at(0, 0), RGB(0, 200, 0));

    PaintTarget clear(100, 20);
    SelectedFont font2(clear.dc(), Tahoma(14));
    SetBkColor(clear.dc(), RGB(0, 200, 0));
    EXPECT_EQ(SetBkMode(clear.dc(), TRANSPARENT), OPAQUE);
    DrawTextW(clear.dc(), TEXT("Да"), -1, &r, DT_SINGLELINE);
    EXPECT_EQ(clear.Count(RGB(0, 200, 0)), 0);
    EXPECT_GT(clear.Count(RGB(0, 0, 0)), 5);

    // ExtTextOutW writes at its point, and fills its rectangle when asked.
    PaintTarget out(100, 20);
    SelectedFont font3(out.dc(), Tahoma(14));
    SetBkMode(out.dc(), TRANSPARENT);
    ASSERT_TRUE(ExtTextOutW(out.dc(), 5, 3, 0, nullptr, TEXT("Ок"), 2, nullptr));
    EXPECT_GE(out.Ink().left, 5);
    EXPECT_LE(out.Ink().left, 7);
    EXPECT_GE(out.Ink().top, 3);
    SetBkColor(out.dc(), RGB(0, 0, 250));
    RECT fill{50, 0, 100, 20};
    ASSERT_TRUE(ExtTextOutW(out.dc(), 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr));
    EXPECT_EQ(out.at(50, 0), RGB(0, 0, 250));
    EXPECT_EQ(out.at(99, 19), RGB(0, 0, 250));
    EXPECT_EQ(out.at(49, 0), RGB(255, 255, 255));
}

TEST(GdiText, EndEllipsisShortensALineThatDoesNotFit) {
    PaintTarget target(200, 20);
    SelectedFont font(target.dc(), Tahoma(14));
    SetBkMode(target.dc(), TRANSPARENT);
    RECT r{0, 0, 60, 20};
    DrawTextW(target.dc(), TEXT("Сообщение доставлено абоненту"), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(target.Ink().right, 60);
    EXPECT_GT(target.Ink().right, 40);
}

}  // namespace
