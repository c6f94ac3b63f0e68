// LISTBOX and COMBOBOX: sorted insertion, item data that follows its entry,
// the selection and LBN_SELCHANGE.
#include "ControlTest.h"

using namespace control_tests;

namespace {

using ControlList = ControlTest;

TEST_F(ControlList, SortedInsertionReturnsTheIndexAndItemDataFollowsItsEntry) {
    HWND list = Make(u"listbox", nullptr, LBS_SORT | LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP, 1018, 4, 4, 120, 60);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR) << "an empty list has no selection";
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Обычный")), 0);
    SendMessageW(list, LB_SETITEMDATA, 0, 100);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Без звука")), 0);
    SendMessageW(list, LB_SETITEMDATA, 0, 200);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Улица")), 2);
    SendMessageW(list, LB_SETITEMDATA, 2, 300);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"автомобиль")), 0)
        << "case does not matter to the order";
    SendMessageW(list, LB_SETITEMDATA, 0, 400);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 4);
    const std::pair<const char16_t*, LRESULT> kOrder[] = {
        {u"автомобиль", 400}, {u"Без звука", 200}, {u"Обычный", 100}, {u"Улица", 300}};
    for (int i = 0; i < 4; ++i) {
        WCHAR text[64] = {};
        EXPECT_EQ(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text)),
                  static_cast<LRESULT>(std::u16string(kOrder[i].first).size()));
        EXPECT_EQ(std::u16string(text), kOrder[i].first);
        EXPECT_EQ(SendMessageW(list, LB_GETTEXTLEN, i, 0), static_cast<LRESULT>(std::u16string(text).size()));
        EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, i, 0), kOrder[i].second) << i;
    }
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 4, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETITEMDATA, 9, 1), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_GETTEXT, -1, 0), LB_ERR);

    // The selection follows its entry too.
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 2, 0), 2);
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"Aaa"));
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMDATA, 3, 0), 100);

    EXPECT_EQ(SendMessageW(list, LB_RESETCONTENT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, 0, 0), LB_ERR);
}

TEST_F(ControlList, AnUnsortedListKeepsTheOrderOfAdding) {
    HWND list = Make(u"LISTBOX", nullptr, 0, 5, 4, 4, 120, 60);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"b")), 0);
    EXPECT_EQ(SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"a")), 1);
    EXPECT_EQ(SendMessageW(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>(u"c")), 0);
    EXPECT_EQ(SendMessageW(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(u"A")), 2);
    EXPECT_EQ(SendMessageW(list, LB_DELETESTRING, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(-1), 0), LB_ERR);
}

TEST_F(ControlList, UpAndDownMoveTheSelectionAndANotifyingListTellsItsParent) {
    HWND list = Make(u"LISTBOX", nullptr, LBS_NOTIFY | WS_TABSTOP, 1018, 4, 4, 120, 60);
    for (LPCWSTR entry : {u"one", u"two", u"three"})
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
    SetFocus(list);
    recorder.Clear();
    SendMessageW(list, LB_SETCURSEL, 0, 0);
    EXPECT_TRUE(Commands().empty()) << "LB_SETCURSEL sends no LBN_SELCHANGE";
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);
    Press(VK_DOWN);
    Press(VK_DOWN);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 2) << "the last entry stays";
    EXPECT_EQ(Commands(), (CommandList{{1018, LBN_SELCHANGE}, {1018, LBN_SELCHANGE}}));
}

TEST_F(ControlList, ComboBoxSelection) {
    HWND combo = Make(u"combobox", nullptr, CBS_DROPDOWNLIST | WS_TABSTOP, 30, 4, 4, 120, 20);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), CB_ERR);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"first"));
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(u"second"));
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 1, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_SETCURSEL, 5, 0), CB_ERR);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    // Selecting again what is selected (as a re-layout does) changes nothing.
    SendMessageW(combo, CB_SETCURSEL, SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 2);
}

}  // namespace
