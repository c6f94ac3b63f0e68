// What the user does with a shown bubble: the digits, the soft keys and the
// menu, the help box, links, Call's three address forms, a store call that
// fails, and the keys the bubble holds while it is up.
#include "BubbleTestSupport.h"

#include "ToolkitHomeLine.h"

#include <coredll_host.h>
#include <effect_log.h>
#include <htmlctrl.h>
#include <htmlview_host.h>
#include <toolkit_host.h>

#include <set>
#include <tuple>

namespace bubble_tests {
namespace {

std::vector<std::u16string> Calls() {
    std::vector<host::Effect> effects;
    host::ReadEffects(&effects, host::effect::kCall);
    std::vector<std::u16string> numbers;
    for (const host::Effect& e : effects) numbers.push_back(e.Field("number") ? e.Field("number")->text : u"?");
    return numbers;
}

std::vector<std::u16string> Opened() {
    std::vector<host::Effect> effects;
    host::ReadEffects(&effects, host::effect::kOpened);
    std::vector<std::u16string> apps;
    for (const host::Effect& e : effects) apps.push_back(e.Field("app") ? e.Field("app")->text : u"?");
    return apps;
}

class BubbleCommands : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }
    // A single message on a device where nothing else waits unread, so that
    // it is announced alone.
    host::EntryId Up(const std::u16string& sender = u"+79161234567") {
        ReadAllWaiting();
        host::EntryId entry = Announce(u"hello", u"Mirela", sender);
        EXPECT_TRUE(Eventually([&] { return Shown(); }));
        EXPECT_TRUE(Eventually([&] { return GetForegroundWindow() == Bubble(); }));
        return entry;
    }
};

TEST_F(BubbleCommands, TheDigitsDoWhatTheyNameAndEachEndsTheBubble) {
    host::EntryId entry = Up();
    EXPECT_TRUE(HoldsEnd("QUILLON_NOT_WND")) << "the bubble holds End while it is up";
    Press('1');  // Save As Read
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    bool read = false;
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, entry, &read));
    EXPECT_TRUE(read);
    EXPECT_TRUE(HoldsEnd("MSCProg")) << "End given back to the shell";

    entry = Up();
    Press('3');  // Delete
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_TRUE(InFolder(host::MessageFolder::DeletedItems, entry));

    Up();
    Press('2');  // Reply: the composer opens, addressed to the sender
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    ASSERT_FALSE(Opened().empty());
    EXPECT_EQ(Opened().back(), u"composer");

    Up();
    Press('6');  // View: the reader of this message
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Opened().back(), u"reader");

    Up(u"Mirela Dovanne <+79161234567>");
    Press('5');  // Call the sender: the number between the brackets
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    ASSERT_FALSE(Calls().empty());
    EXPECT_EQ(Calls().back(), u"+79161234567");

    Up();
    Press('4');  // Dismiss
    EXPECT_TRUE(Eventually([&] { return !Shown(); }));
}

TEST_F(BubbleCommands, CallDialsWhatTheAddressHoldsAndNothingForAnEmptyNumber) {
    Up(u"89161234567");
    Press('5');
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Calls().back(), u"89161234567");
    Up(u"<+7916>tail");
    Press('5');
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Calls().back(), u"+7916");
    size_t before = Calls().size();
    Up(u"Nobody <>");
    Press('5');
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Calls().size(), before) << "an empty number places no call";
}

TEST_F(BubbleCommands, ShortcutsActOnlyOnASingleTextMessageThatIsNotLocked) {
    host::EntryId report = Arrive(u"Message delivered", u"+79161234567", u"REPORT.IPM.SMStext.DR");
    HandOver(report, u"Message delivered", u"", u"+79161234567", false);
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    Press('3');
    Sleep(50);
    EXPECT_TRUE(Shown()) << "no shortcut on a report";
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, report));
    Press(VK_TSOFT2);  // Закрыть
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));

    SetLocked(true);
    host::EntryId locked = Up();
    Press('3');
    Sleep(50);
    EXPECT_TRUE(Shown()) << "no shortcut while locked";
    Press(VK_TSOFT1);  // Сохранить прочитанным
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    bool read = false;
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, locked, &read));
    EXPECT_TRUE(read);
}

TEST_F(BubbleCommands, TheMenuOffersTheCommandsAndZeroShowsTheHelp) {
    host::EntryId entry = Up();
    Press(VK_TSOFT2);
    host::MenuBarView keys = SoftKeys();
    ASSERT_TRUE(keys.popupOpen);
    EXPECT_EQ(keys.popup, (std::vector<std::u16string>{u"Удалить", u"Позвонить", u"Ответ", u"Закрыть", u"Смотреть"}));
    Press('1');  // Удалить
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_TRUE(InFolder(host::MessageFolder::DeletedItems, entry));

    Up();
    int before = host::CountEffects(host::effect::kMessageBox);
    Press('0');
    ASSERT_TRUE(Eventually([&] { return host::CountEffects(host::effect::kMessageBox) == before + 1; }));
    std::optional<host::Effect> box = host::LastEffect(host::effect::kMessageBox);
    ASSERT_TRUE(box.has_value());
    EXPECT_EQ(box->Field("caption")->text, u"Lumenrest Help");
    EXPECT_EQ(
        box->Field("text")->text,
        u"Keyboard shortcuts:\n1 - Save As Read\n2 - Reply\n3 - Delete\n4 - Dismiss\n5 - Call sender\n6 - View\n");
    Press(VK_RETURN);  // closes the box
    EXPECT_TRUE(Eventually([&] { return host::CountEffects(host::effect::kMessageBoxClosed) > 0; }));
    EXPECT_TRUE(Shown()) << "the help box leaves the bubble up";
}

TEST_F(BubbleCommands, AStoreCallThatFailsLeavesTheBubbleUpAndTheMessageWhereItWas) {
    host::EntryId entry = Up();
    host::FailCall("IMAPIFolder::CopyMessages", 1, E_FAIL);
    Press('3');
    Sleep(50);
    Settle();
    EXPECT_TRUE(Shown());
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, entry));
    host::FailCall("IMessage::SetProps", 1, E_FAIL);
    size_t opened = Opened().size();
    Press('2');  // Reply marks read first: that fails, so no composer opens
    Sleep(50);
    Settle();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(Opened().size(), opened);
    host::ClearFaults();
}

TEST_F(BubbleCommands, ALinkCallsItsNumberAndEveryLinkEndsTheBubble) {
    host::EntryId entry = Arrive(u"call 89161234567");
    HandOver(entry, u"call <a href='tel:89161234567' name='tel1'>89161234567</a>", u"Mirela");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    // Down moves into the page onto the link; Action chooses it.
    Press(VK_DOWN);
    Press(VK_RETURN);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Calls().back(), u"89161234567");
    bool read = false;
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, entry, &read));
    EXPECT_TRUE(read);
}

// With a link focused the page has the keys; it passes the digits on to
// the bubble, which treats them as it does its own.
TEST_F(BubbleCommands, TheDigitsActAlsoWhileALinkInThePageHasTheFocus) {
    host::EntryId report = Arrive(u"Message delivered", u"+79161234567", u"REPORT.IPM.SMStext.DR");
    HandOver(report, u"see <a href='tel:112' name='tel1'>112</a>", u"", u"+79161234567", false);
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    Press(VK_DOWN);
    Press('3');
    Sleep(50);
    Settle();
    EXPECT_TRUE(Shown()) << "no shortcut on a report, from the page either";
    EXPECT_TRUE(InFolder(host::MessageFolder::Inbox, report));
    Press(VK_TSOFT2);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));

    ReadAllWaiting();
    host::EntryId entry = Arrive(u"call 89161234567");
    HandOver(entry, u"call <a href='tel:89161234567' name='tel1'>89161234567</a>", u"Mirela");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    Press(VK_DOWN);
    std::u16string focused;
    ASSERT_TRUE(host::HtmlViewFocusedLink(HtmlViewOf(Bubble()), &focused));
    ASSERT_EQ(focused, u"tel:89161234567");
    Press('7');
    Sleep(50);
    Settle();
    EXPECT_TRUE(Shown()) << "a digit that names no command does nothing";
    const int boxes = host::CountEffects(host::effect::kMessageBox);
    Press('0');
    ASSERT_TRUE(Eventually([&] { return host::CountEffects(host::effect::kMessageBox) == boxes + 1; }));
    EXPECT_EQ(host::LastEffect(host::effect::kMessageBox)->Field("caption")->text, u"Lumenrest Help");
    Press(VK_RETURN);  // closes the box, not the link
    ASSERT_TRUE(Eventually([&] { return host::CountEffects(host::effect::kMessageBoxClosed) > 0; }));
    EXPECT_TRUE(Shown());
    EXPECT_TRUE(Calls().empty());
    Press(VK_DOWN);
    Press('3');  // Delete
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_TRUE(InFolder(host::MessageFolder::DeletedItems, entry));
}

// View on the summary of several messages opens the Inbox, not one of them.
TEST_F(BubbleCommands, ViewOnSeveralMessagesOpensTheInbox) {
    Up();
    Announce(u"two");
    ASSERT_TRUE(Eventually([&] { return Title() == u"New Text Messages"; }));
    ASSERT_EQ(SoftKeys().left, u"Смотреть");
    Press(VK_TSOFT1);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    ASSERT_FALSE(Opened().empty());
    EXPECT_EQ(Opened().back(), u"inbox");
}

TEST_F(BubbleCommands, EndOverTheHomeScreenOnlyRaisesTheBubble) {
    Up();
    Press(VK_F4);
    Settle();
    EXPECT_TRUE(Shown());
    EXPECT_EQ(GetForegroundWindow(), Bubble());
}

TEST_F(BubbleCommands, TheUtilitysHomeKeysAreHandedBackUnderItsHomeLine) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\e-Natives\\SmartToolkit", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    const std::u16string list = u"10,1,x\n91,1,Home";
    RegSetValueExW(key, u"hotkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(list.c_str()),
                   static_cast<DWORD>((list.size() + 1) * 2));
    RegCloseKey(key);
    ASSERT_TRUE(host::StartToolkit());
    Up();
    Press('4');
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    std::set<std::tuple<int, unsigned>> toolkit;
    for (const host::HotKeyInfo& info : host::ListHotKeys())
        if (info.window == "ENATIVE_SMARTTOOLKIT") toolkit.insert({info.id, info.modifiers});
    EXPECT_EQ(toolkit, (std::set<std::tuple<int, unsigned>>{{2, MOD_KEYUP}, {34, MOD_WIN}, {66, MOD_SHIFT}}));
    host::StopToolkit();
}

TEST(ToolkitHomeLine, CountsLinesUpToTheHomeEntry) {
    auto line = [](const std::u16string& text) { return HomeLineOf(text.c_str(), static_cast<int>(text.size())); };
    EXPECT_EQ(line(u"10,1,a\n91,1,b"), 1);
    EXPECT_EQ(line(u"10,1,a\n\n91,1,b"), 1) << "a line feed right after a counted one is not counted";
    EXPECT_EQ(line(u"91,"), 0);
    EXPECT_EQ(line(u"abc"), 0);
    EXPECT_EQ(line(u""), 0);
    EXPECT_EQ(line(u"a\nb\nc\nd"), 3) << "without 91, the line feeds within the walk";
    EXPECT_EQ(line(u"x91,\n"), 0) << "91, counts anywhere";
    testing_support::TempDevice device;
    EXPECT_EQ(ToolkitHomeLine(), 0) << "without the key";
}

}  // namespace
}  // namespace bubble_tests
