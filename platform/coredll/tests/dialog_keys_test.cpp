// The dialog's own keys on the phone: Up and Down move the focus between
// enabled, visible tab stops in tab order, unless the focus control keeps
// the arrows; a dialog taller than its window scrolls the focus into view
// and draws its scroll bar.
#include "DialogProbe.h"

#include <TempDevice.h>
#include <screen_host.h>

#include <gtest/gtest.h>

namespace {

using namespace dialog_tests;

INT_PTR CALLBACK FocusFirst(HWND, UINT msg, WPARAM, LPARAM) { return msg == WM_INITDIALOG; }

// A control that paints all of itself black.
LRESULT CALLBACK InkProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_PAINT) return DefWindowProcW(hwnd, msg, wParam, lParam);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r{};
    GetClientRect(hwnd, &r);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EndPaint(hwnd, &ps);
    return 0;
}

class DialogKeys : public ::testing::Test {
protected:
    void SetUp() override {
        profile = host::GetScreenProfile();
        host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
        RegisterProbeClasses();
        WNDCLASSW ink{};
        ink.lpfnWndProc = InkProc;
        ink.lpszClassName = u"Ink";
        RegisterClassW(&ink);
        Log() = ProbeLog{};
        dlg = CreateDialogIndirectParamW(GetModuleHandleW(nullptr), Template(IDD_SETTINGS), nullptr, FocusFirst, 0);
        ASSERT_NE(dlg, nullptr);
        ShowWindow(GetDlgItem(dlg, IDC_HIDDEN), SW_HIDE);
        // As the phone shows it: the whole screen, shorter than the template.
        SetWindowPos(dlg, nullptr, 0, 0, 240, 320, SWP_NOZORDER);
        ShowWindow(dlg, SW_SHOW);
        SetForegroundWindow(dlg);
        Pump(dlg);
    }
    void TearDown() override {
        DestroyWindow(dlg);
        host::SetScreenProfile(profile);
    }
    int Press(BYTE vk) {
        host::PressKey(vk);
        Pump(dlg);
        return GetDlgCtrlID(GetFocus());
    }
    COLORREF ScreenPixel(int x, int y) {
        UpdateWindow(dlg);
        Pump(dlg);
        POINT p{x, y};
        ClientToScreen(dlg, &p);
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, p.x, p.y);
        ReleaseDC(nullptr, screen);
        return c;
    }

    testing_support::TempDevice device;
    host::ScreenProfile profile;
    HWND dlg = nullptr;
};

TEST_F(DialogKeys, UpAndDownSkipDisabledAndHiddenControlsUnlessTheFocusKeepsTheArrows) {
    EXPECT_EQ(GetNextDlgTabItem(dlg, nullptr, FALSE), GetDlgItem(dlg, IDC_DISABLE));
    EXPECT_EQ(GetNextDlgTabItem(dlg, nullptr, TRUE), GetDlgItem(dlg, IDC_LAST));
    EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, IDC_SECOND), FALSE), GetDlgItem(dlg, IDC_ARROWS));
    EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, IDC_ARROWS), TRUE), GetDlgItem(dlg, IDC_SECOND));

    ASSERT_EQ(GetDlgCtrlID(GetFocus()), IDC_DISABLE);
    EXPECT_EQ(Press(VK_DOWN), IDC_FIRST);
    EXPECT_EQ(Press(VK_DOWN), IDC_SECOND);
    EXPECT_EQ(Press(VK_DOWN), IDC_ARROWS) << "past the disabled and the hidden one";
    EXPECT_TRUE(Log().keys.empty()) << "the keys that moved the focus reach no control";
    // This one keeps the arrows: they reach it and the focus stays.
    EXPECT_EQ(Press(VK_DOWN), IDC_ARROWS);
    EXPECT_EQ(Press(VK_UP), IDC_ARROWS);
    EXPECT_EQ(Log().keys, (std::vector<WPARAM>{VK_DOWN, VK_UP}));

    SetFocus(GetDlgItem(dlg, IDC_SECOND));
    EXPECT_EQ(Press(VK_UP), IDC_FIRST);
    EXPECT_EQ(Press(VK_UP), IDC_DISABLE);
    EXPECT_EQ(Press(VK_UP), IDC_LAST) << "the order wraps round";
    EXPECT_EQ(Press(VK_DOWN), IDC_DISABLE);

    // Left and Right always belong to the focus control.
    Log().keys.clear();
    EXPECT_EQ(Press(VK_LEFT), IDC_DISABLE);
    EXPECT_EQ(Press(VK_RIGHT), IDC_DISABLE);
    EXPECT_EQ(Log().keys, (std::vector<WPARAM>{VK_LEFT, VK_RIGHT}));

    // A control enabled again takes part again.
    EnableWindow(GetDlgItem(dlg, IDC_GREYED), TRUE);
    SetFocus(GetDlgItem(dlg, IDC_SECOND));
    EXPECT_EQ(Press(VK_DOWN), IDC_GREYED);
}

TEST_F(DialogKeys, ATallDialogScrollsTheFocusIntoViewAndDrawsItsScrollBar) {
    RECT client{}, window{};
    GetClientRect(dlg, &client);
    GetWindowRect(dlg, &window);
    ASSERT_GT(PlaceOf(dlg, IDC_LAST).bottom, client.bottom) << "the template is taller than the screen";
    EXPECT_EQ(client.right, window.right - window.left - 2 - GetSystemMetrics(SM_CXVSCROLL))
        << "the bar stands beside the client area, inside the frame";
    int bar = client.right + GetSystemMetrics(SM_CXVSCROLL) / 2;
    COLORREF thumb = GetSysColor(COLOR_BTNSHADOW), track = GetSysColor(COLOR_SCROLLBAR);
    EXPECT_EQ(ScreenPixel(bar, 2), thumb) << "at the top, the thumb is at the top";
    EXPECT_EQ(ScreenPixel(bar, client.bottom - 2), track);

    // A control as wide as the window is cut at the bar.
    HWND ink = CreateWindowExW(0, u"Ink", nullptr, WS_CHILD | WS_VISIBLE, 0, 0, window.right - window.left, 20, dlg,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(ink, nullptr);
    EXPECT_EQ(ScreenPixel(client.right - 1, 10), RGB(0, 0, 0));
    EXPECT_EQ(ScreenPixel(bar, 10), thumb) << "the control does not paint over the bar";
    DestroyWindow(ink);

    RECT label = PlaceOf(dlg, IDC_LABEL);
    // IDC_ARROWS keeps the arrows; the dialog moves on from it when told.
    SetFocus(GetDlgItem(dlg, IDC_ARROWS));
    PostMessageW(dlg, WM_NEXTDLGCTL, 0, FALSE);
    Pump(dlg);
    ASSERT_EQ(GetDlgCtrlID(GetFocus()), IDC_FAR);
    RECT far = PlaceOf(dlg, IDC_FAR);
    EXPECT_GE(far.top, 0);
    EXPECT_LE(far.bottom, client.bottom) << "the focus control is in view";
    RECT moved = PlaceOf(dlg, IDC_LABEL);
    EXPECT_EQ(moved.top - label.top, far.top - DialogUnits(dlg, 10, 200, 110, 28).top)
        << "every control moves with the view";

    EXPECT_EQ(Press(VK_DOWN), IDC_LAST);
    RECT last = PlaceOf(dlg, IDC_LAST);
    EXPECT_LE(last.bottom, client.bottom);
    EXPECT_LT(PlaceOf(dlg, IDC_DISABLE).bottom, 0) << "the top has scrolled out of view";
    EXPECT_EQ(ScreenPixel(bar, client.bottom - 2), thumb) << "at the bottom, the thumb is at the bottom";
    EXPECT_EQ(ScreenPixel(bar, 2), track);

    EXPECT_EQ(Press(VK_DOWN), IDC_DISABLE);
    RECT first = PlaceOf(dlg, IDC_DISABLE), home = DialogUnits(dlg, 8, 4, 49, 8);
    EXPECT_TRUE(EqualRect(&first, &home)) << "back at the top";
}

TEST_F(DialogKeys, ANewSizeStartsFromTheTopAndKeepsTheFocusInView) {
    SetFocus(GetDlgItem(dlg, IDC_FAR));
    EXPECT_EQ(Press(VK_DOWN), IDC_LAST);
    ASSERT_LT(PlaceOf(dlg, IDC_DISABLE).top, 0);
    // Tall enough for everything: nothing is scrolled any more.
    RECT all = DialogUnits(dlg, 0, 0, 140, 260);
    SetWindowPos(dlg, nullptr, 0, 0, all.right + 2, all.bottom + 2, SWP_NOZORDER | SWP_NOMOVE);
    RECT first = PlaceOf(dlg, IDC_DISABLE), home = DialogUnits(dlg, 8, 4, 49, 8);
    EXPECT_TRUE(EqualRect(&first, &home));
    // Short again: the focus is scrolled into view at once.
    SetWindowPos(dlg, nullptr, 0, 0, 240, 320, SWP_NOZORDER | SWP_NOMOVE);
    RECT client{};
    GetClientRect(dlg, &client);
    EXPECT_LE(PlaceOf(dlg, IDC_LAST).bottom, client.bottom);
    EXPECT_GE(PlaceOf(dlg, IDC_LAST).top, 0);
}

}  // namespace
