// How the standard controls look: the system colours, the focus shown in the
// highlight colour, disabled controls greyed, the check of a check box.
#include "ControlTest.h"

#include <algorithm>

using namespace control_tests;

namespace {

class ControlPaint : public ControlTest {
protected:
    void SetUp() override {
        host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
        ControlTest::SetUp();
    }
    void Settle() {
        UpdateWindow(parent);
        recorder.Pump();
    }
    struct Census {
        int highlight = 0;  // pixels in the highlight colour
        int darkest = 255;  // lowest channel value seen
        int total = 0;
    };
    // The pixels of a rectangle of the screen.
    static Census Look(RECT r) {
        Census c;
        HDC screen = GetDC(nullptr);
        COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF p = GetPixel(screen, x, y);
                if (p == highlight) ++c.highlight;
                int low = std::min({GetRValue(p), GetGValue(p), GetBValue(p)});
                c.darkest = std::min(c.darkest, low);
                ++c.total;
            }
        ReleaseDC(nullptr, screen);
        return c;
    }
};

TEST_F(ControlPaint, CheckBoxesShowTheirCheckTheFocusAndWhenTheyAreDisabled) {
    HWND focused = Make(u"BUTTON", u"Focused box", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 10, 10, 150, 16);
    HWND plain = Make(u"BUTTON", u"Plain box", BS_AUTOCHECKBOX | WS_TABSTOP, 2, 10, 40, 150, 16);
    Make(u"BUTTON", u"Disabled box", BS_AUTOCHECKBOX | WS_TABSTOP | WS_DISABLED, 3, 10, 70, 150, 16);
    SendMessageW(focused, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(focused);
    Settle();
    // The label: everything right of the box, which is at most as tall as the control.
    Census focusedLabel = Look(RECT{30, 10, 160, 26});
    Census plainLabel = Look(RECT{30, 40, 160, 56});
    Census disabledLabel = Look(RECT{30, 70, 160, 86});
    EXPECT_GT(focusedLabel.highlight, focusedLabel.total / 2) << "the focus shows as the highlight";
    EXPECT_EQ(plainLabel.highlight, 0);
    EXPECT_LT(plainLabel.darkest, 80) << "text in the window text colour";
    EXPECT_GT(disabledLabel.darkest, 100) << "a disabled box's text is grey";
    EXPECT_LT(disabledLabel.darkest, 255) << "but it is drawn";
    // Inside the box (its frame left out): the tick, or nothing.
    Census checkedInside = Look(RECT{13, 13, 20, 23});
    Census uncheckedInside = Look(RECT{13, 43, 20, 53});
    EXPECT_LT(checkedInside.darkest, 80);
    EXPECT_EQ(uncheckedInside.darkest, 255);

    // Moving the focus moves the highlight.
    SetFocus(plain);
    Settle();
    EXPECT_EQ(Look(RECT{30, 10, 160, 26}).highlight, 0);
    EXPECT_GT(Look(RECT{30, 40, 160, 56}).highlight, 0);
}

TEST_F(ControlPaint, AGroupBoxDrawsItsFrameAndLeavesWhatItSurroundsToShow) {
    // As an About box has it: the texts first, the group box round them last.
    Make(u"STATIC", u"Версия 1.0", SS_LEFT, 1017, 30, 40, 120, 16);
    HWND group = Make(u"BUTTON", u"", BS_GROUPBOX, -1, 10, 20, 180, 80);
    Settle();
    InvalidateRect(group, nullptr, TRUE);
    UpdateWindow(group);  // painted after the text it surrounds
    recorder.Pump();
    EXPECT_LT(Look(RECT{30, 40, 150, 56}).darkest, 80) << "the text inside still shows";
    Census frame = Look(RECT{10, 60, 11, 70});
    EXPECT_LT(frame.darkest, 200) << "the frame's left edge";
}

TEST_F(ControlPaint, AFocusedListShowsItsSelectionHighlightedAndAFieldItsFrame) {
    HWND list = Make(u"LISTBOX", nullptr, LBS_NOTIFY | WS_TABSTOP, 1, 10, 10, 150, 60);
    for (LPCWSTR entry : {u"one", u"two", u"three"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    HWND edit = Make(u"Edit", u"text", ES_AUTOHSCROLL | WS_TABSTOP, 2, 10, 100, 150, 20);
    SetFocus(list);
    Settle();
    Census listArea = Look(RECT{10, 10, 160, 70});
    EXPECT_GT(listArea.highlight, 0);
    EXPECT_EQ(Look(RECT{10, 100, 160, 120}).highlight, 0);
    SetFocus(edit);
    Settle();
    EXPECT_EQ(Look(RECT{10, 10, 160, 70}).highlight, 0) << "the selection shows plainly without the focus";
    EXPECT_GT(Look(RECT{10, 100, 160, 120}).highlight, 0);
}

TEST_F(ControlPaint, AComboBoxTallerThanTheScreenShowsTheRowsOfItsArrowThatAreOnIt) {
    // 2,000 pixels square, placed so that its arrow (the square at its
    // right end: a triangle of 500 rows from the screen's y -150 down) is
    // centred on the screen's x 100.
    Make(u"COMBOBOX", u"", CBS_DROPDOWNLIST, 1, -900, -900, 2000, 2000);
    Settle();
    HDC screen = GetDC(nullptr);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), field = GetSysColor(COLOR_WINDOW);
    EXPECT_EQ(GetPixel(screen, 100, 100), ink) << "row 250, 250 pixels either side";
    EXPECT_EQ(GetPixel(screen, 5, 100), ink);
    EXPECT_EQ(GetPixel(screen, 100, 280), ink) << "row 430, 70 pixels either side";
    EXPECT_EQ(GetPixel(screen, 5, 280), field);
    EXPECT_EQ(GetPixel(screen, 200, 280), field);
    ReleaseDC(nullptr, screen);
}

}  // namespace
