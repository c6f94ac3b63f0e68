// Every command by its soft key or its menu item, as the phone's user picks
// them: the left soft key and each item of the Menu popup on a text message,
// both soft keys of a delivery report and of the locked bubble. Each does
// what it names and takes the bubble down.
#include "BubbleTestSupport.h"

#include <effect_log.h>

#include <map>

namespace bubble_tests {
namespace {

class MenuCommands : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }

    host::EntryId Up(const std::u16string& cls = u"IPM.SMStext") {
        ReadAllWaiting();
        host::EntryId entry = Arrive(u"menu", u"Mirela <+79161234567>", cls);
        HandOver(entry, u"menu", u"Mirela", u"Mirela <+79161234567>", cls == u"IPM.SMStext");
        EXPECT_TRUE(Eventually([&] { return Shown(); }));
        return entry;
    }
    // Where the message is now, and whether it was read.
    std::pair<host::MessageFolder, bool> Where(const host::EntryId& entry) {
        bool read = false;
        for (host::MessageFolder folder : {host::MessageFolder::Inbox, host::MessageFolder::DeletedItems})
            if (InFolder(folder, entry, &read)) return {folder, read};
        ADD_FAILURE() << "the message is gone";
        return {host::MessageFolder::Inbox, false};
    }
    static int Count(std::string_view kind) { return host::CountEffects(kind); }
};

TEST_F(MenuCommands, EachMenuItemAndSoftKeyDoesWhatItNames) {
    // The left soft key: Сохранить, save as read.
    host::EntryId entry = Up();
    EXPECT_EQ(SoftKeys().left, u"Сохранить");
    Press(VK_TSOFT1);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Where(entry), std::make_pair(host::MessageFolder::Inbox, true));

    // Each item of the Menu popup, chosen by its number in the popup.
    struct Item {
        char key;
        const char16_t* label;
    };
    for (const Item& item : {Item{'1', u"Удалить"}, Item{'2', u"Позвонить"}, Item{'3', u"Ответ"}, Item{'4', u"Закрыть"},
                             Item{'5', u"Смотреть"}}) {
        SCOPED_TRACE(std::string(1, item.key));
        entry = Up();
        const int calls = Count(host::effect::kCall), opened = Count(host::effect::kOpened);
        Press(VK_TSOFT2);
        ASSERT_TRUE(SoftKeys().popupOpen);
        ASSERT_EQ(SoftKeys().popup[item.key - '1'], item.label);
        Press(item.key);
        ASSERT_TRUE(Eventually([&] { return !Shown(); }));
        const std::u16string label = item.label;
        const auto [folder, read] = Where(entry);
        EXPECT_EQ(folder, label == u"Удалить" ? host::MessageFolder::DeletedItems : host::MessageFolder::Inbox);
        EXPECT_EQ(Count(host::effect::kCall), calls + (label == u"Позвонить" ? 1 : 0));
        EXPECT_EQ(Count(host::effect::kOpened), opened + (label == u"Ответ" || label == u"Смотреть" ? 1 : 0));
        if (label == u"Закрыть") {
            EXPECT_FALSE(read) << "Close leaves it unread";
        }
    }

    // A delivery report: its left soft key deletes, its right one closes.
    entry = Up(u"REPORT.IPM.SMStext.DR");
    const host::MenuBarView report = SoftKeys();
    EXPECT_FALSE(report.left.empty());
    EXPECT_FALSE(report.right.empty());
    Press(VK_TSOFT1);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Where(entry).first, host::MessageFolder::DeletedItems);
    entry = Up(u"REPORT.IPM.SMStext.DR");
    Press(VK_TSOFT2);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Where(entry).first, host::MessageFolder::Inbox);

    // Locked: save as read, or decline and leave it unread.
    SetLocked(true);
    entry = Up();
    EXPECT_EQ(SoftKeys().left, u"Сохранить прочитанным");
    EXPECT_EQ(SoftKeys().right, u"Отклонить");
    Press(VK_TSOFT2);
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    EXPECT_EQ(Where(entry), std::make_pair(host::MessageFolder::Inbox, false));
    SetLocked(false);
}

// A link dials only when its target begins with "tel:": then the message is
// read and the number after the prefix called. Any other link, also one
// that holds "tel:" further on, only takes the bubble down.
TEST_F(MenuCommands, OnlyALinkThatBeginsWithTelDials) {
    struct Link {
        const char16_t* target;
        const char16_t* dialled;  // null: no call
    };
    for (const Link& link : {Link{u"tel:+7 (916) 1234567", u"+7 (916) 1234567"}, Link{u"http://example.org/", nullptr},
                             Link{u"x-tel:112", nullptr}, Link{u"TEL:112", nullptr}}) {
        SCOPED_TRACE(std::u16string(link.target).size());
        ReadAllWaiting();
        host::EntryId entry = Arrive(u"a link");
        HandOver(entry, std::u16string(u"see <a href='") + link.target + u"' name='tel1'>this</a>", u"Mirela");
        ASSERT_TRUE(Eventually([&] { return Shown(); }));
        const int calls = Count(host::effect::kCall);
        Press(VK_DOWN);
        Press(VK_RETURN);
        ASSERT_TRUE(Eventually([&] { return !Shown(); })) << "every link ends the bubble";
        const auto [folder, read] = Where(entry);
        EXPECT_EQ(folder, host::MessageFolder::Inbox);
        if (link.dialled) {
            ASSERT_EQ(Count(host::effect::kCall), calls + 1);
            std::optional<host::Effect> call = host::LastEffect(host::effect::kCall);
            ASSERT_TRUE(call.has_value());
            EXPECT_EQ(call->Field("number")->text, link.dialled);
            EXPECT_TRUE(read);
        } else {
            EXPECT_EQ(Count(host::effect::kCall), calls);
            EXPECT_FALSE(read);
        }
    }
}

}  // namespace
}  // namespace bubble_tests
