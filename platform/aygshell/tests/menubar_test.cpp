// Soft-key menu bars: commands and popups reported to the owner, the Back
// key, hidden bars, the bar of the window in front, and full-screen dialogs.
#include "menubar_test.h"

#include <MessageRecorder.h>
#include <TempDevice.h>
#include <aygshell.h>
#include <aygshell_host.h>
#include <coredll_host.h>
#include <screen_host.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

using testing_support::Expected;
using testing_support::Lparam;
using testing_support::MatchSequence;
using testing_support::MessageRecorder;
using testing_support::Posted;
using testing_support::Sent;
using testing_support::Wparam;

class MenuBars : public ::testing::Test {
protected:
    void SetUp() override {
        host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
        MessageRecorder::RegisterRecordingClass(TEXT("Owner"));
        recorder.Ignore({WM_PAINT, WM_ERASEBKGND, WM_NCCREATE, WM_NCDESTROY, WM_GETICON, WM_WINDOWPOSCHANGED, WM_MOVE,
                         WM_SIZE, WM_SHOWWINDOW, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_CREATE, WM_DESTROY,
                         WM_PARENTNOTIFY, WM_SETTINGCHANGE, WM_CANCELMODE});
        owner = NewOwner();
    }

    // Destroying the owners destroys their bars, and with them what the
    // bars hold.
    void TearDown() override {
        for (HWND w : owners) DestroyWindow(w);
    }

    HWND NewOwner() {
        HWND w = CreateWindowExW(0, TEXT("Owner"), TEXT("owner"), WS_VISIBLE, 0, 0, 240, 285, nullptr, nullptr, nullptr,
                                 nullptr);
        EXPECT_NE(w, nullptr);
        SetForegroundWindow(w);
        owners.push_back(w);
        return w;
    }

    HWND Bar(HWND forWindow, UINT menu, DWORD flags = SHCMBF_HMENU) {
        SHMENUBARINFO info{};
        info.cbSize = sizeof info;
        info.hwndParent = forWindow;
        info.dwFlags = flags;
        info.nToolBarId = menu;
        info.hInstRes = GetModuleHandleW(nullptr);
        EXPECT_TRUE(SHCreateMenuBar(&info)) << GetLastError();
        return info.hwndMB;
    }

    // Presses a key and handles what it caused; returns what the owner got.
    std::vector<testing_support::Recorded> Press(BYTE vk, HWND from = nullptr) {
        recorder.Pump();
        recorder.Clear();
        host::PressKey(vk);
        recorder.Pump();
        return recorder.Take(from ? from : owner);
    }

    HWND OpenMenu(HWND bar) {
        for (HWND w = GetWindow(GetDesktopWindow(), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
            if (GetWindow(w, GW_OWNER) == bar && IsWindowVisible(w)) return w;
        return nullptr;
    }

    testing_support::TempDevice device;
    MessageRecorder recorder;
    HWND owner = nullptr;
    std::vector<HWND> owners;
};

TEST_F(MenuBars, SoftKeysReportTheirCommandsToTheOwner) {
    HWND bar = Bar(owner, IDR_COMMANDS);
    ASSERT_NE(bar, nullptr);
    WCHAR name[32];
    GetClassNameW(bar, name, 32);
    EXPECT_EQ(std::u16string(name), u"MS_SOFTKEY_CE_1.0");
    EXPECT_EQ(GetWindow(bar, GW_OWNER), owner);
    EXPECT_TRUE(IsWindowVisible(bar));
    RECT r;
    GetWindowRect(bar, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.bottom, 320);
    EXPECT_EQ(r.bottom - r.top, (26 * 131 + 48) / 96);
    EXPECT_NE(GetForegroundWindow(), bar);  // the bar never takes the front

    const Expected kLeft[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_VIEW, reinterpret_cast<LPARAM>(bar)}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kLeft));
    const Expected kRight[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_CLOSE, reinterpret_cast<LPARAM>(bar)}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT2), kRight));
    EXPECT_EQ(SHFindMenuBar(owner), bar);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(bar));  // it goes with its owner
}

TEST_F(MenuBars, APopupItemIsChosenByItsDigitOrWithTheArrows) {
    HWND bar = Bar(owner, IDR_SOFTKEYS);
    const Expected kNothing[] = {{0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT2), kNothing));
    HWND menu = OpenMenu(bar);
    ASSERT_NE(menu, nullptr);
    RECT menuRect, barRect;
    GetWindowRect(menu, &menuRect);
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(menuRect.bottom, barRect.top);  // over the right soft key
    EXPECT_EQ(menuRect.right, barRect.right);

    // "2" is the second item; the separator is not counted.
    const Expected kExit[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_EXIT, reinterpret_cast<LPARAM>(bar)}, {0}};
    EXPECT_TRUE(MatchSequence(Press('2'), kExit));
    EXPECT_EQ(OpenMenu(bar), nullptr);
    // With the menu closed the digits are the owner's keys again.
    const Expected kDigit[] = {{WM_KEYDOWN, Posted | Wparam, '2'},
                               {WM_CHAR, Posted | testing_support::Optional},
                               {WM_KEYUP, Posted | Wparam, '2'},
                               {0}};
    EXPECT_TRUE(MatchSequence(Press('2'), kDigit));

    // The first item is selected; Down moves past the separator.
    Press(VK_TSOFT2);
    Press(VK_DOWN);
    EXPECT_TRUE(MatchSequence(Press(VK_TACTION), kExit));
    Press(VK_TSOFT2);
    Press(VK_UP);  // wraps to the last item
    Press(VK_UP);
    const Expected kAbout[] = {{WM_COMMAND, Sent | Wparam, IDM_ABOUT}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TACTION), kAbout));

    // Back and the soft key close the menu and report nothing.
    Press(VK_TSOFT2);
    EXPECT_TRUE(MatchSequence(Press(VK_TBACK), kNothing));
    EXPECT_EQ(OpenMenu(bar), nullptr);
    Press(VK_TSOFT2);
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT2), kNothing));
    EXPECT_EQ(OpenMenu(bar), nullptr);
    const Expected kDone[] = {{WM_COMMAND, Sent | Wparam, IDM_DONE}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kDone));
}

// What the emulator reports of a bar: its labels, and the open popup's
// items as drawn, separators left out.
TEST_F(MenuBars, TheBarInFrontDescribesItsLabelsAndItsOpenPopup) {
    HWND bar = Bar(owner, IDR_SOFTKEYS);
    EXPECT_EQ(host::ActiveMenuBar(), bar);
    host::MenuBarView view;
    ASSERT_TRUE(host::DescribeMenuBar(bar, &view));
    EXPECT_EQ(view.left, u"Готово");
    EXPECT_EQ(view.right, u"Меню");
    EXPECT_FALSE(view.popupOpen);
    EXPECT_TRUE(view.popup.empty());
    Press(VK_TSOFT2);
    ASSERT_TRUE(host::DescribeMenuBar(bar, &view));
    EXPECT_TRUE(view.popupOpen);
    EXPECT_EQ(view.popup, (std::vector<std::u16string>{u"О программе", u"Выход"}));
    Press(VK_TBACK);
    ASSERT_TRUE(host::DescribeMenuBar(bar, &view));
    EXPECT_FALSE(view.popupOpen);
    EXPECT_FALSE(host::DescribeMenuBar(owner, &view)) << "not a bar";
}

TEST_F(MenuBars, NestedPopupsAndGrayedItems) {
    HWND bar = Bar(owner, IDR_NESTED);
    const Expected kNothing[] = {{0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kNothing));  // grayed soft key
    Press(VK_TSOFT2);
    EXPECT_TRUE(MatchSequence(Press('3'), kNothing));  // grayed item: the menu stays
    ASSERT_NE(OpenMenu(bar), nullptr);
    Press('2');  // into "Дальше"
    const Expected kTwo[] = {{WM_COMMAND, Sent | Wparam, IDM_TWO}, {0}};
    EXPECT_TRUE(MatchSequence(Press('1'), kTwo));
    // Back steps out of the inner menu first.
    Press(VK_TSOFT2);
    Press('2');
    Press(VK_TBACK);
    ASSERT_NE(OpenMenu(bar), nullptr);
    const Expected kOne[] = {{WM_COMMAND, Sent | Wparam, IDM_ONE}, {0}};
    EXPECT_TRUE(MatchSequence(Press('1'), kOne));
}

TEST_F(MenuBars, BackIsReportedAsAHotKeyAfterOverrideKey) {
    HWND bar = Bar(owner, IDR_COMMANDS);
    SetFocus(owner);
    // Without an override the focus window gets the key.
    const Expected kKey[] = {{WM_KEYDOWN, Posted | Wparam, VK_TBACK},
                             {WM_CHAR, Posted | testing_support::Optional},
                             {WM_KEYUP, Posted | Wparam, VK_TBACK},
                             {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TBACK), kKey));

    EXPECT_TRUE(SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TBACK,
                             MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY)));
    const Expected kHotKey[] = {{WM_HOTKEY, Posted | Lparam, 0, MAKELPARAM(0, VK_TBACK)}, {0}};
    std::vector<testing_support::Recorded> got = Press(VK_TBACK);
    EXPECT_TRUE(MatchSequence(got, kHotKey));

    // Handing it on gives the focus window the key.
    ASSERT_FALSE(got.empty());
    SHSendBackToFocusWindow(WM_HOTKEY, got[0].wParam, got[0].lParam);
    recorder.Pump();
    EXPECT_TRUE(MatchSequence(recorder.Take(owner), kKey));

    // No default and no notice: Back does nothing at all.
    SendMessageW(bar, SHCMBM_OVERRIDEKEY, VK_TBACK, MAKELPARAM(SHMBOF_NOTIFY, 0));
    const Expected kNothing[] = {{0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TBACK), kNothing));
    EXPECT_FALSE(SendMessageW(bar, SHCMBM_OVERRIDEKEY, 'A', MAKELPARAM(1, 1)));
}

TEST_F(MenuBars, AHiddenBarStaysHiddenUntilShown) {
    HWND bar = Bar(owner, IDR_COMMANDS, SHCMBF_HMENU | SHCMBF_HIDDEN);
    ASSERT_NE(bar, nullptr);
    EXPECT_FALSE(IsWindowVisible(bar));
    recorder.Pump();
    EXPECT_FALSE(IsWindowVisible(bar));
    EXPECT_EQ(SHFindMenuBar(owner), bar);
    const Expected kKeyOnly[] = {{WM_KEYDOWN, Posted | Wparam, VK_TSOFT1}, {WM_KEYUP, Posted | Wparam, VK_TSOFT1}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kKeyOnly));

    ShowWindow(bar, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(bar));
    const Expected kView[] = {{WM_COMMAND, Sent | Wparam, IDM_VIEW}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kView));

    // Of two bars the shown one is found, and takes the keys.
    HWND second = Bar(owner, IDR_SOFTKEYS, SHCMBF_HMENU | SHCMBF_HIDDEN);
    ShowWindow(bar, SW_HIDE);
    ShowWindow(second, SW_SHOW);
    EXPECT_EQ(SHFindMenuBar(owner), second);
    const Expected kDone[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_DONE, reinterpret_cast<LPARAM>(second)}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kDone));
    EXPECT_EQ(SHFindMenuBar(GetDesktopWindow()), nullptr);
}

// An owner with several hidden bars, each told to report Back, shows one at
// a time: Back is reported by whichever is shown, and the soft keys act on it.
TEST_F(MenuBars, EachOfSeveralBarsOfOneOwnerReportsBackWhenShown) {
    const UINT menus[] = {IDR_COMMANDS, IDR_SOFTKEYS, IDR_NESTED};
    HWND bars[3];
    for (int i = 0; i < 3; ++i) {
        bars[i] = Bar(owner, menus[i], SHCMBF_HMENU | SHCMBF_HIDDEN);
        ASSERT_NE(bars[i], nullptr);
        EXPECT_TRUE(SendMessageW(bars[i], SHCMBM_OVERRIDEKEY, VK_TBACK,
                                 MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY)));
    }
    const Expected kHotKey[] = {{WM_HOTKEY, Posted | Lparam, 0, MAKELPARAM(0, VK_TBACK)}, {0}};
    for (int shown = 0; shown < 3; ++shown) {
        for (int i = 0; i < 3; ++i) ShowWindow(bars[i], i == shown ? SW_SHOW : SW_HIDE);
        EXPECT_EQ(SHFindMenuBar(owner), bars[shown]);
        EXPECT_TRUE(MatchSequence(Press(VK_TBACK), kHotKey)) << "bar " << shown;
    }
    // The soft keys are those of the bar shown last.
    const Expected kNothing[] = {{0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kNothing));  // its left key is grayed
    ShowWindow(bars[2], SW_HIDE);
    ShowWindow(bars[1], SW_SHOW);
    const Expected kDone[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_DONE, reinterpret_cast<LPARAM>(bars[1])}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kDone));
}

TEST_F(MenuBars, SoftKeysActOnTheBarOfTheWindowInFront) {
    HWND first = Bar(owner, IDR_COMMANDS);
    HWND other = NewOwner();
    HWND second = Bar(other, IDR_SOFTKEYS);
    const Expected kDone[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_DONE, reinterpret_cast<LPARAM>(second)}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1, other), kDone));

    SetForegroundWindow(owner);
    const Expected kView[] = {{WM_COMMAND, Sent | Wparam | Lparam, IDM_VIEW, reinterpret_cast<LPARAM>(first)}, {0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kView));
    EXPECT_TRUE(recorder.Take(other).empty());

    // A window owned by the one with the bar uses that bar.
    HWND owned = CreateWindowExW(0, TEXT("Owner"), TEXT("owned"), WS_VISIBLE, 10, 10, 50, 50, other, nullptr, nullptr,
                                 nullptr);
    SetForegroundWindow(owned);
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1, other), kDone));
}

TEST_F(MenuBars, TheBarFollowsTheScreenWhenItTurns) {
    HWND bar = Bar(owner, IDR_COMMANDS);
    host::RotateScreen();
    recorder.Pump();
    RECT r;
    GetWindowRect(bar, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 320);
    EXPECT_EQ(r.bottom, 240);
    EXPECT_EQ(r.bottom - r.top, (26 * 131 + 48) / 96);
}

TEST_F(MenuBars, BadRequestsAreRefused) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof info - 4;
    info.hwndParent = owner;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = IDR_COMMANDS;
    info.hInstRes = GetModuleHandleW(nullptr);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
    info.cbSize = sizeof info;
    info.nToolBarId = 999;
    SetLastError(0);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(info.hwndMB, nullptr);
    info.nToolBarId = IDR_COMMANDS;
    info.hwndParent = reinterpret_cast<HWND>(0x4321);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    info.hwndParent = owner;
    info.dwFlags = 0;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
    info.dwFlags = SHCMBF_EMPTYBAR;
    EXPECT_TRUE(SHCreateMenuBar(&info));
    const Expected kNothing[] = {{0}};
    EXPECT_TRUE(MatchSequence(Press(VK_TSOFT1), kNothing));
}

TEST_F(MenuBars, ABarThatCannotBeMadeLeavesTheOwnerWithoutOne) {
    SHMENUBARINFO info{};
    info.cbSize = sizeof info;
    info.hwndParent = owner;
    info.dwFlags = SHCMBF_HMENU;
    info.nToolBarId = IDR_COMMANDS;
    info.hInstRes = GetModuleHandleW(nullptr);
    info.hwndMB = reinterpret_cast<HWND>(0x1234);
    host::FailCall("SHCreateMenuBar", 1, ERROR_OUTOFMEMORY);
    SetLastError(0);
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OUTOFMEMORY));
    EXPECT_EQ(info.hwndMB, nullptr);
    EXPECT_EQ(SHFindMenuBar(owner), nullptr);
    for (const testing_support::Recorded& r : Press(VK_TSOFT1))
        EXPECT_NE(r.message, static_cast<UINT>(WM_COMMAND)) << "no soft key acts for the owner";

    EXPECT_TRUE(SHCreateMenuBar(&info)) << "only the one call failed";
    EXPECT_EQ(SHFindMenuBar(owner), info.hwndMB);
    host::ClearFaults();
}

// Any program may make a window of a registered class with creation data
// of its own: a bar or a soft-key menu made so takes none of it, stays
// inert, and frees nothing at its end; the real bar goes on working.
TEST_F(MenuBars, ABarOrAMenuMadeByAnotherTakesNoneOfItsCreationData) {
    HWND bar = Bar(owner, IDR_SOFTKEYS);
    Press(VK_TSOFT2);
    HWND menu = OpenMenu(bar);
    ASSERT_NE(menu, nullptr);
    WCHAR barClass[64] = {}, menuClass[64] = {};
    ASSERT_GT(GetClassNameW(bar, barClass, 64), 0);
    ASSERT_GT(GetClassNameW(menu, menuClass, 64), 0);
    Press(VK_TSOFT2);
    EXPECT_EQ(OpenMenu(bar), nullptr);

    for (LPCWSTR cls : {static_cast<LPCWSTR>(barClass), static_cast<LPCWSTR>(menuClass)}) {
        BYTE data[512];
        std::memset(data, 0xAB, sizeof data);
        HWND made = CreateWindowExW(0, cls, nullptr, WS_POPUP | WS_VISIBLE, 0, 200, 240, 40, owner, nullptr, nullptr,
                                    data);
        ASSERT_NE(made, nullptr) << "a window of that class is made";
        UpdateWindow(made);
        SendMessageW(made, WM_KEYDOWN, VK_RETURN, 0);
        DestroyWindow(made);
        for (BYTE b : data) ASSERT_EQ(b, 0xAB) << "its creation data is left as it was";
    }
    SetForegroundWindow(owner);
    Press(VK_TSOFT2);
    EXPECT_NE(OpenMenu(bar), nullptr) << "the real bar still opens its menu";
}

TEST_F(MenuBars, TheBarPaintsItsLabels) {
    HWND bar = Bar(owner, IDR_COMMANDS);
    UpdateWindow(bar);
    HDC dc = GetDC(bar);
    RECT r;
    GetClientRect(bar, &r);
    int left = 0, right = 0, middle = 0;
    for (int y = 0; y < r.bottom; ++y) {
        for (int x = 0; x < r.right; ++x) {
            COLORREF c = GetPixel(dc, x, y);
            if (y == 0 || c == GetSysColor(COLOR_MENU)) continue;
            if (x < r.right / 2 - 10)
                ++left;
            else if (x > r.right / 2 + 10)
                ++right;
            else
                ++middle;
        }
    }
    ReleaseDC(bar, dc);
    EXPECT_GT(left, 20);
    EXPECT_GT(right, 20);
    EXPECT_EQ(middle, 0);
}

TEST(FullScreenDialogs, SizedToTheWorkAreaLessTheMenuBar) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
    RECT area{0, 24, 240, 320};
    SystemParametersInfoW(SPI_SETWORKAREA, 0, &area, 0);
    MessageRecorder::RegisterRecordingClass(TEXT("Page"));
    HWND dialog = CreateWindowExW(0, TEXT("Page"), TEXT("d"), WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr,
                                  nullptr);
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN};
    ASSERT_TRUE(SHInitDialog(&info));
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 24);
    EXPECT_EQ(r.right, 240);
    EXPECT_EQ(r.bottom, 320 - (26 * 131 + 48) / 96);
    DestroyWindow(dialog);
    info.hDlg = nullptr;
    EXPECT_FALSE(SHInitDialog(&info));
    EXPECT_FALSE(SHInitDialog(nullptr));
}

TEST(FullScreenDialogs, AFailedInitialisationLeavesTheDialogAsItWas) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
    MessageRecorder::RegisterRecordingClass(TEXT("Page"));
    HWND dialog = CreateWindowExW(0, TEXT("Page"), TEXT("d"), WS_VISIBLE, 10, 10, 50, 50, nullptr, nullptr, nullptr,
                                  nullptr);
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_SIZEDLGFULLSCREEN};
    host::FailCall("SHInitDialog", 1, ERROR_OUTOFMEMORY);
    SetLastError(0);
    EXPECT_FALSE(SHInitDialog(&info));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_OUTOFMEMORY));
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right - r.left, 50);
    host::RotateScreen();
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.right - r.left, 50) << "not kept sized either";
    host::RotateScreen();
    EXPECT_TRUE(SHInitDialog(&info));
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.right - r.left, 240);
    DestroyWindow(dialog);
    host::ClearFaults();
}

}  // namespace
