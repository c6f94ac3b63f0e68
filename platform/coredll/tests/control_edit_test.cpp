// EDIT: typed characters, the backspace that Back becomes, the focus
// notifications, and the text messages.
#include "ControlTest.h"

using namespace control_tests;

namespace {

using ControlEdit = ControlTest;

TEST_F(ControlEdit, TakesTypedCharactersLosesOneToBackAndTellsWhenTheFocusLeaves) {
    HWND edit = Make(u"Edit", u"", ES_AUTOHSCROLL | WS_TABSTOP | WS_BORDER, 1009, 4, 4, 100, 20);
    HWND box = Make(u"BUTTON", u"box", BS_AUTOCHECKBOX | WS_TABSTOP, 1008, 4, 40);
    recorder.Clear();
    SetFocus(edit);
    EXPECT_EQ(Commands(), (CommandList{{1009, EN_SETFOCUS}}));
    Press('H');
    Press('I');
    Press('7');
    EXPECT_EQ(TextOf(edit), u"hi7");
    EXPECT_EQ(GetWindowTextLengthW(edit), 3);
    CommandList typed = Commands();
    ASSERT_FALSE(typed.empty());
    EXPECT_EQ(typed.back(), std::make_pair(1009, static_cast<int>(EN_CHANGE)));
    // Back, as the soft-key bar hands it to a field.
    PostMessageW(edit, WM_CHAR, VK_BACK, 1);
    recorder.Pump();
    EXPECT_EQ(TextOf(edit), u"hi");
    // The caret moves with Left; Back erases the character before it.
    Press(VK_LEFT);
    PostMessageW(edit, WM_CHAR, VK_BACK, 1);
    recorder.Pump();
    EXPECT_EQ(TextOf(edit), u"i");
    PostMessageW(edit, WM_CHAR, VK_BACK, 1);
    recorder.Pump();
    EXPECT_EQ(TextOf(edit), u"i") << "nothing before the caret to erase";
    recorder.Clear();
    SetFocus(box);
    EXPECT_EQ(Commands(), (CommandList{{1009, EN_KILLFOCUS}}));
}

TEST_F(ControlEdit, TextTypedOnThePhoneReachesTheFocusFieldAsCharacters) {
    HWND first = Make(u"Edit", u"", ES_AUTOHSCROLL | WS_TABSTOP, 1, 4, 4, 150, 20);
    HWND second = Make(u"Edit", u"", ES_AUTOHSCROLL | WS_TABSTOP, 2, 4, 30, 150, 20);
    recorder.Ignore({WM_PAINT, WM_ERASEBKGND});
    SetFocus(second);
    recorder.Clear();
    ASSERT_TRUE(host::TypeText(u"Привет, 5!"));
    recorder.Pump();
    EXPECT_EQ(TextOf(second), u"Привет, 5!");
    EXPECT_EQ(TextOf(first), u"");
    int characters = 0;
    for (const testing_support::Recorded& r : recorder.Take())
        if (r.message == WM_CHAR) ++characters;
    EXPECT_EQ(characters, 0) << "the parent's procedure sees none of them";
}

TEST_F(ControlEdit, TextMessagesAndTheKeysItWants) {
    HWND edit = Make(u"EDIT", u"start", ES_AUTOHSCROLL, 7, 4, 4, 60, 20);
    EXPECT_EQ(TextOf(edit), u"start");
    recorder.Clear();
    EXPECT_TRUE(SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u"Длинный текст для поля")));
    EXPECT_EQ(Commands(), (CommandList{{7, EN_UPDATE}, {7, EN_CHANGE}}));
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 22);
    WCHAR small[5];
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXT, 5, reinterpret_cast<LPARAM>(small)), 4);
    EXPECT_EQ(std::u16string(small), u"Длин");
    // The caret is at the end of a set text; typing appends, scrolled into view.
    SetFocus(edit);
    Press('X');
    EXPECT_EQ(TextOf(edit), u"Длинный текст для поляx");
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 23u);
    EXPECT_EQ(end, 23u);

    LRESULT plain = SendMessageW(edit, WM_GETDLGCODE, 0, 0);
    EXPECT_TRUE(plain & DLGC_WANTCHARS);
    EXPECT_FALSE(plain & DLGC_WANTARROWS) << "Up and Down stay the dialog's";
    MSG left{edit, WM_KEYDOWN, VK_LEFT, 1, 0, {}};
    MSG down{edit, WM_KEYDOWN, VK_DOWN, 1, 0, {}};
    EXPECT_TRUE(SendMessageW(edit, WM_GETDLGCODE, VK_LEFT, reinterpret_cast<LPARAM>(&left)) & DLGC_WANTMESSAGE);
    EXPECT_FALSE(SendMessageW(edit, WM_GETDLGCODE, VK_DOWN, reinterpret_cast<LPARAM>(&down)) & DLGC_WANTMESSAGE);
}

TEST_F(ControlEdit, WithoutAutoScrollAFieldTakesOnlyWhatItShowsAndAReadOnlyOneNothing) {
    HWND narrow = Make(u"Edit", u"", 0, 1, 4, 4, 30, 20);
    SetFocus(narrow);
    for (int i = 0; i < 40; ++i) PostMessageW(narrow, WM_CHAR, u'w', 1);
    recorder.Pump();
    int kept = GetWindowTextLengthW(narrow);
    EXPECT_GT(kept, 0);
    EXPECT_LT(kept, 40);

    HWND limited = Make(u"Edit", u"", ES_AUTOHSCROLL, 2, 4, 30, 100, 20);
    SendMessageW(limited, EM_LIMITTEXT, 3, 0);
    SetFocus(limited);
    for (char16_t c : std::u16string(u"abcdef")) PostMessageW(limited, WM_CHAR, c, 1);
    recorder.Pump();
    EXPECT_EQ(TextOf(limited), u"abc");

    HWND preview = Make(u"Edit", u"Образец", ES_MULTILINE | ES_READONLY | WS_BORDER, 1013, 4, 60, 100, 40);
    SetFocus(preview);
    recorder.Clear();
    PostMessageW(preview, WM_CHAR, u'z', 1);
    PostMessageW(preview, WM_CHAR, VK_BACK, 1);
    recorder.Pump();
    EXPECT_EQ(TextOf(preview), u"Образец");
    SetWindowTextW(preview, u"A long sample text that wraps over several lines of the preview");
    EXPECT_EQ(TextOf(preview), u"A long sample text that wraps over several lines of the preview");
}

}  // namespace
