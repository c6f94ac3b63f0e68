// The common controls' registration and the up-down control: its buddy, the
// phone's spin box over a list box, and the full-screen views it opens.
#include <MessageRecorder.h>
#include <cstring>
#include <commctrl.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <windows.h>

using namespace testing_support;

namespace {

using CommandList = std::vector<std::pair<int, int>>;

class UpDown : public ::testing::Test {
protected:
    void SetUp() override {
        InitCommonControls();
        MessageRecorder::RegisterRecordingClass(u"UpDownParent");
        parent = CreateWindowExW(0, u"UpDownParent", u"parent", WS_VISIBLE, 0, 0, 240, 300, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(parent, nullptr);
        recorder.Pump();
    }
    void TearDown() override {
        if (IsWindow(parent)) DestroyWindow(parent);
    }
    HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, int id, RECT r) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                               r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                               nullptr);
    }
    RECT InParent(HWND hwnd) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    void Press(BYTE vk) {
        host::PressKey(vk);
        recorder.Pump();
    }
    CommandList Commands() {
        CommandList commands;
        for (const Recorded& r : recorder.Take(parent))
            if (r.message == WM_COMMAND) commands.emplace_back(LOWORD(r.wParam), HIWORD(r.wParam));
        return commands;
    }
    static std::u16string TextOf(HWND hwnd) {
        WCHAR buffer[256] = {};
        GetWindowTextW(hwnd, buffer, 256);
        return buffer;
    }
    // The spin box of the settings dialog: a sorted list and its up-down.
    void MakeSpinBox() {
        list = Make(u"LISTBOX", nullptr, LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, 1018, RECT{30, 70, 160, 88});
        for (LPCWSTR entry : {u"Обычный", u"Без звука", u"Улица"})
            SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SendMessageW(list, LB_SETCURSEL, 0, 0);
        spin = Make(UPDOWN_CLASSW, nullptr,
                    UDS_HORZ | UDS_ARROWKEYS | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_EXPANDABLE | UDS_SETBUDDYINT, 1019,
                    RECT{155, 66, 170, 87});
        ASSERT_NE(spin, nullptr);
    }

    MessageRecorder recorder;
    HWND parent = nullptr;
    HWND list = nullptr;
    HWND spin = nullptr;
};

TEST(CommonControls, InitCommonControlsExRefusesAWrongSizeAndRegistersTheUpDown) {
    EXPECT_EQ(CreateWindowExW(0, UPDOWN_CLASSW, nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr)
        << "no up-down before the common controls are initialised";
    INITCOMMONCONTROLSEX wrong{0, ICC_UPDOWN_CLASS};
    SetLastError(0);
    EXPECT_FALSE(InitCommonControlsEx(&wrong));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    wrong.dwSize = sizeof(INITCOMMONCONTROLSEX) + 4;
    EXPECT_FALSE(InitCommonControlsEx(&wrong));
    EXPECT_FALSE(InitCommonControlsEx(nullptr));
    EXPECT_EQ(sizeof(INITCOMMONCONTROLSEX), 8u);
    INITCOMMONCONTROLSEX right{sizeof(INITCOMMONCONTROLSEX),
                               ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS | ICC_DATE_CLASSES};
    EXPECT_EQ(right.dwICC, 0x111u);
    EXPECT_TRUE(InitCommonControlsEx(&right));
    InitCommonControls();
    EXPECT_TRUE(InitCommonControlsEx(&right)) << "asking again is no fault";
    HWND updown = CreateWindowExW(0, u"MSCTLS_UPDOWN32", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(updown, nullptr);
    WCHAR name[32];
    GetClassNameW(updown, name, 32);
    EXPECT_EQ(std::u16string(name), u"msctls_updown32");
    DestroyWindow(updown);

    host::FailCall("InitCommonControlsEx", 1, ERROR_OUTOFMEMORY);
    SetLastError(0);
    EXPECT_FALSE(InitCommonControlsEx(&right));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OUTOFMEMORY));
    EXPECT_TRUE(InitCommonControlsEx(&right)) << "only the one call failed";
    host::ClearFaults();
}

TEST_F(UpDown, AutoBuddyTakesThePreviousControlAndStaysAttachedAfterSetBuddy) {
    HWND edit = Make(u"Edit", u"", ES_AUTOHSCROLL | WS_TABSTOP, 1009, RECT{20, 150, 140, 170});
    HWND updown = Make(UPDOWN_CLASSW, nullptr, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_EXPANDABLE | UDS_NOSCROLL, 1010,
                       RECT{135, 148, 150, 172});
    ASSERT_NE(updown, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), edit);
    // Aligned inside the buddy's right edge, as tall as the buddy.
    RECT buddy = InParent(edit), self = InParent(updown);
    EXPECT_EQ(self.right, 140);
    EXPECT_EQ(self.left, buddy.right);
    EXPECT_EQ(self.top, buddy.top);
    EXPECT_EQ(self.bottom, buddy.bottom);
    EXPECT_EQ(buddy.left, 20);

    // A re-layout moves both windows back to their places, then attaches again.
    SetWindowPos(edit, nullptr, 30, 100, 150, 24, SWP_NOZORDER);
    SetWindowPos(updown, nullptr, 175, 98, 15, 28, SWP_NOZORDER);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0)), edit);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), edit);
    buddy = InParent(edit);
    self = InParent(updown);
    EXPECT_EQ(self.right, 180);
    EXPECT_EQ(self.left, buddy.right);
    EXPECT_EQ(buddy.top, 100);
    EXPECT_EQ(self.bottom, 124);
    // Attaching again changes nothing.
    SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    EXPECT_EQ(InParent(edit).right, buddy.right);
    EXPECT_EQ(InParent(updown).left, self.left);

    // Another buddy: the old one is let go.
    HWND other = Make(u"Edit", u"", 0, 5, RECT{20, 200, 120, 220});
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(other), 0)), edit);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), other);
    // A buddy destroyed first leaves the up-down working.
    DestroyWindow(other);
    SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), edit);
}

TEST_F(UpDown, LeftAndRightStepASpinBoxAndItsParentHearsLbnSelChange) {
    MakeSpinBox();
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)), list);
    SetFocus(list);
    recorder.Clear();
    Press(VK_RIGHT);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2) << "no wrapping without UDS_WRAP";
    Press(VK_LEFT);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(Commands(), (CommandList{{1018, LBN_SELCHANGE}, {1018, LBN_SELCHANGE}, {1018, LBN_SELCHANGE}}));
    // The dialog manager leaves Left, Right and Action to the spin box, and
    // keeps Up and Down for moving the focus.
    MSG right{list, WM_KEYDOWN, VK_RIGHT, 1, 0, {}};
    MSG down{list, WM_KEYDOWN, VK_DOWN, 1, 0, {}};
    MSG action{list, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(SendMessageW(list, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&right)) & DLGC_WANTMESSAGE);
    EXPECT_TRUE(SendMessageW(list, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&action)) & DLGC_WANTMESSAGE);
    LRESULT forDown = SendMessageW(list, WM_GETDLGCODE, 0, reinterpret_cast<LPARAM>(&down));
    EXPECT_FALSE(forDown & (DLGC_WANTMESSAGE | DLGC_WANTARROWS));
    // A disabled list does not step.
    EnableWindow(list, FALSE);
    SendMessageW(list, WM_KEYDOWN, VK_RIGHT, 1);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
}

TEST_F(UpDown, AVerticalOneStepsItsPositionIntoAnEditBuddy) {
    HWND edit = Make(u"Edit", u"", WS_TABSTOP, 1, RECT{20, 20, 100, 40});
    HWND updown = Make(UPDOWN_CLASSW, nullptr, UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_ALIGNRIGHT, 2,
                       RECT{100, 20, 112, 40});
    SendMessageW(updown, UDM_SETRANGE32, 0, 2);
    SetFocus(edit);
    Press(VK_UP);
    EXPECT_EQ(TextOf(edit), u"1");
    Press(VK_UP);
    Press(VK_UP);
    EXPECT_EQ(TextOf(edit), u"2") << "the range holds without UDS_WRAP";
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(updown, UDM_GETPOS, 0, 0), 1);
    int lower = -1, upper = -1;
    SendMessageW(updown, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
    EXPECT_EQ(lower, 0);
    EXPECT_EQ(upper, 2);
}

TEST_F(UpDown, ASpinBoxShowsItsOneEntryBesideTheArrows) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
    MakeSpinBox();
    SetFocus(list);
    UpdateWindow(parent);
    recorder.Pump();
    RECT arrows = InParent(spin);
    RECT entry = InParent(list);
    EXPECT_EQ(arrows.left, entry.right);
    HDC screen = GetDC(nullptr);
    auto darkIn = [&](RECT r) {
        int dark = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) {
                COLORREF p = GetPixel(screen, x, y);
                if (GetRValue(p) < 80 && GetGValue(p) < 80 && GetBValue(p) < 80) ++dark;
            }
        return dark;
    };
    int middle = (arrows.left + arrows.right) / 2;
    EXPECT_GT(darkIn(RECT{arrows.left, arrows.top, middle, arrows.bottom}), 0) << "the left arrow";
    EXPECT_GT(darkIn(RECT{middle, arrows.top, arrows.right, arrows.bottom}), 0) << "the right arrow";
    // The selected entry in the highlight colours, since the list has the focus.
    int highlight = 0;
    for (int x = entry.left; x < entry.right; ++x)
        if (GetPixel(screen, x, (entry.top + entry.bottom) / 2) == GetSysColor(COLOR_HIGHLIGHT)) ++highlight;
    EXPECT_GT(highlight, (entry.right - entry.left) / 2);
    ReleaseDC(nullptr, screen);
}

TEST_F(UpDown, AnUpDownLargerThanTheScreenShowsTheLinesOfItsArrowsThatAreOnIt) {
    POINT at{0, 0};
    ClientToScreen(parent, &at);
    const COLORREF ink = GetSysColor(COLOR_WINDOWTEXT), field = GetSysColor(COLOR_WINDOW);
    auto pixel = [&](int x, int y) {
        HDC screen = GetDC(nullptr);
        COLORREF p = GetPixel(screen, at.x + x, at.y + y);
        ReleaseDC(nullptr, screen);
        return p;
    };
    auto show = [&](HWND updown) {
        ASSERT_NE(updown, nullptr);
        UpdateWindow(parent);
        UpdateWindow(updown);
        recorder.Pump();
    };

    // Vertical, 3,000 by 6,000: each arrow a triangle of 1,000 lines across
    // the middle of a 3,000-pixel square. The down arrow's tip is its line at
    // the control's y 5,000, centred on x 1,500: placed here on the parent's
    // (100, 100), with the line 100 rows above it 100 pixels either side.
    HWND vertical = Make(UPDOWN_CLASSW, nullptr, 0, 1020, RECT{-1400, -4900, 1600, 1100});
    show(vertical);
    EXPECT_EQ(pixel(100, 100), ink) << "the tip";
    EXPECT_EQ(pixel(101, 100), field);
    EXPECT_EQ(pixel(100, 101), field) << "past the tip";
    EXPECT_EQ(pixel(50, 50), ink);
    EXPECT_EQ(pixel(49, 50), field);
    EXPECT_EQ(pixel(0, 0), ink) << "the line of 100 pixels either side, cut by the screen's edge";
    EXPECT_EQ(pixel(200, 0), ink);
    EXPECT_EQ(pixel(201, 0), field);
    DestroyWindow(vertical);

    // Horizontal, 6,000 by 3,000: the left arrow's tip is its column at the
    // control's x 1,000, centred on y 1,500; placed on the parent's (-100,
    // 100) it is off the screen, and the parent's x 50 is its column 150.
    HWND horizontal = Make(UPDOWN_CLASSW, nullptr, UDS_HORZ, 1021, RECT{-1100, -1400, 4900, 1600});
    show(horizontal);
    EXPECT_EQ(pixel(50, 100), ink);
    EXPECT_EQ(pixel(50, 250), ink);
    EXPECT_EQ(pixel(50, 251), field);
    EXPECT_EQ(pixel(0, 200), ink);
    EXPECT_EQ(pixel(0, 201), field);
    DestroyWindow(horizontal);
}

TEST_F(UpDown, ActionOpensTheWholeListFullScreenToChooseFrom) {
    MakeSpinBox();
    SetFocus(list);
    recorder.Clear();
    Press(VK_RETURN);
    HWND expanded = GetForegroundWindow();
    ASSERT_NE(expanded, parent);
    RECT area{}, r{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(expanded, &r);
    EXPECT_EQ(r.left, area.left);
    EXPECT_EQ(r.top, area.top);
    EXPECT_EQ(r.right, area.right);
    EXPECT_EQ(r.bottom, area.bottom);
    Press(VK_DOWN);
    Press(VK_DOWN);
    Press(VK_RETURN);
    EXPECT_FALSE(IsWindow(expanded));
    EXPECT_EQ(GetForegroundWindow(), parent);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    CommandList commands = Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), std::make_pair(1018, static_cast<int>(LBN_SELCHANGE))),
              commands.end());

    // Back leaves it without a choice.
    Press(VK_RETURN);
    expanded = GetForegroundWindow();
    ASSERT_NE(expanded, parent);
    Press(VK_UP);
    recorder.Clear();
    Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(expanded));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2);
    commands = Commands();
    EXPECT_EQ(std::find(commands.begin(), commands.end(), std::make_pair(1018, static_cast<int>(LBN_SELCHANGE))),
              commands.end());
}

TEST_F(UpDown, ActionOnAnExpandableEditOpensTheFullScreenTextEntry) {
    HWND edit = Make(u"Edit", u"ok", ES_AUTOHSCROLL | WS_TABSTOP, 1009, RECT{20, 150, 140, 170});
    Make(UPDOWN_CLASSW, nullptr, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_EXPANDABLE | UDS_NOSCROLL, 1010,
         RECT{135, 148, 150, 172});
    SetFocus(edit);
    Press(VK_RETURN);
    HWND entry = GetForegroundWindow();
    ASSERT_NE(entry, parent);
    Press('A');
    Press('B');
    Press(VK_ESCAPE);  // Back erases the character before the caret
    EXPECT_EQ(TextOf(edit), u"ok") << "the field changes only when the entry is done";
    recorder.Clear();
    Press(VK_RETURN);
    EXPECT_FALSE(IsWindow(entry));
    EXPECT_EQ(TextOf(edit), u"oka");
    EXPECT_EQ(GetFocus(), edit);
    CommandList commands = Commands();
    EXPECT_NE(std::find(commands.begin(), commands.end(), std::make_pair(1009, static_cast<int>(EN_CHANGE))),
              commands.end());

    // Back on an empty entry leaves it, the field as it was.
    Press(VK_RETURN);
    entry = GetForegroundWindow();
    for (int i = 0; i < 4; ++i) Press(VK_ESCAPE);
    EXPECT_FALSE(IsWindow(entry));
    EXPECT_EQ(TextOf(edit), u"oka");
}

// Any program may make a window of a registered class, and a dialog
// template may name one by its atom with creation data of its own. A window
// of the full-screen views' classes made so takes none of that data: keys
// and painting change nothing, and its end frees nothing.
TEST_F(UpDown, AFullScreenViewMadeByAnotherTakesNoneOfItsCreationData) {
    MakeSpinBox();
    HWND edit = Make(u"Edit", u"ok", ES_AUTOHSCROLL | WS_TABSTOP, 1009, RECT{20, 150, 140, 170});
    Make(UPDOWN_CLASSW, nullptr, UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_EXPANDABLE | UDS_NOSCROLL, 1010,
         RECT{135, 148, 150, 172});
    std::vector<std::u16string> classes;
    for (HWND field : {list, edit}) {
        SetFocus(field);
        Press(VK_RETURN);
        HWND view = GetForegroundWindow();
        ASSERT_NE(view, parent);
        WCHAR name[64] = {};
        ASSERT_GT(GetClassNameW(view, name, 64), 0);
        classes.push_back(name);
        DestroyWindow(view);
        recorder.Pump();
    }
    ASSERT_NE(classes[0], classes[1]);

    for (const std::u16string& cls : classes) {
        BYTE data[256];
        std::memset(data, 0xAB, sizeof data);
        HWND made = CreateWindowExW(0, cls.c_str(), nullptr, WS_POPUP | WS_VISIBLE, 0, 0, 240, 300, parent, nullptr,
                                    nullptr, data);
        ASSERT_NE(made, nullptr) << "a window of that class is made";
        UpdateWindow(made);
        for (WPARAM vk : {VK_DOWN, VK_UP, VK_ESCAPE, VK_RETURN})
            if (IsWindow(made)) SendMessageW(made, WM_KEYDOWN, vk, 0);
        if (IsWindow(made)) DestroyWindow(made);
        recorder.Pump();
        for (BYTE b : data) ASSERT_EQ(b, 0xAB) << "its creation data is left as it was";
    }
    EXPECT_EQ(TextOf(edit), u"ok");
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 0);
}

}  // namespace
