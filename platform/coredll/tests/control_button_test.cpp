// BUTTON: check states, the Action key on an automatic check box, and what a
// disabled one does.
#include "ControlTest.h"

using namespace control_tests;

namespace {

using ControlButton = ControlTest;

TEST_F(ControlButton, ActionTogglesAnAutomaticCheckBoxAndNotifiesTheParent) {
    HWND box = Make(u"button", u"Disable", BS_AUTOCHECKBOX | WS_TABSTOP, 1000);
    ASSERT_NE(box, nullptr);
    WCHAR name[32];
    GetClassNameW(box, name, 32);
    EXPECT_EQ(_wcsicmp(name, u"BUTTON"), 0) << "class names compare case-insensitively";
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageW(box, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
    SetFocus(box);
    recorder.Clear();
    Press(VK_RETURN);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Commands(), (CommandList{{1000, BN_CLICKED}}));
    Press(VK_RETURN);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Commands(), (CommandList{{1000, BN_CLICKED}}));
    // The dialog manager learns that Action is the box's own key.
    MSG action{box, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(SendMessageW(box, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&action)) & DLGC_WANTMESSAGE);
}

TEST_F(ControlButton, SetCheckIsQuietAndAPlainCheckBoxOnlyNotifies) {
    HWND automatic = Make(u"BUTTON", u"a", BS_AUTOCHECKBOX, 1);
    HWND plain = Make(u"BUTTON", u"b", BS_CHECKBOX | BS_LEFTTEXT, 2, 4, 30);
    HWND push = Make(u"BUTTON", u"c", BS_PUSHBUTTON, 3, 4, 60);
    recorder.Clear();
    SendMessageW(automatic, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(plain, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(push, BM_SETCHECK, BST_CHECKED, 0);
    EXPECT_TRUE(Commands().empty()) << "BM_SETCHECK sends no BN_CLICKED";
    EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(push, BM_GETCHECK, 0, 0), BST_UNCHECKED) << "a push button has no check";
    // A check box that is not automatic leaves its state to the program.
    SetFocus(plain);
    Press(VK_RETURN);
    EXPECT_EQ(SendMessageW(plain, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Commands(), (CommandList{{2, BN_CLICKED}}));
    SendMessageW(automatic, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Commands(), (CommandList{{1, BN_CLICKED}}));
    // A two-state box takes anything non-zero as checked.
    SendMessageW(automatic, BM_SETCHECK, 7, 0);
    EXPECT_EQ(SendMessageW(automatic, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(SendMessageW(automatic, BM_GETSTATE, 0, 0) & BST_CHECKED);
}

TEST_F(ControlButton, ADisabledCheckBoxKeepsItsStateAndTakesNoFocusNorClicks) {
    HWND box = Make(u"BUTTON", u"box", BS_AUTOCHECKBOX | WS_TABSTOP, 1003);
    HWND other = Make(u"BUTTON", u"other", BS_AUTOCHECKBOX | WS_TABSTOP, 1007, 4, 30);
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(box);
    EnableWindow(box, FALSE);
    EXPECT_NE(GetFocus(), box) << "disabling takes the focus away";
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    SetFocus(other);
    EXPECT_EQ(SetFocus(box), nullptr);
    EXPECT_EQ(GetFocus(), other);
    recorder.Clear();
    SendMessageW(box, BM_CLICK, 0, 0);
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 1);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(Commands().empty());
    EnableWindow(box, TRUE);
    SetFocus(box);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_TRUE(SendMessageW(box, BM_GETSTATE, 0, 0) & BST_FOCUS);
}

TEST_F(ControlButton, AGroupBoxIsNoButtonToClick) {
    HWND group = Make(u"BUTTON", u"Group", BS_GROUPBOX, 10, 0, 0, 200, 100);
    recorder.Clear();
    SendMessageW(group, BM_CLICK, 0, 0);
    EXPECT_TRUE(Commands().empty());
    EXPECT_EQ(SendMessageW(group, WM_GETDLGCODE, 0, 0), DLGC_STATIC);
    EXPECT_EQ(TextOf(group), u"Group");
}

}  // namespace
