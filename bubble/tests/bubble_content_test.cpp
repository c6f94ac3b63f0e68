// What the bubble shows in each state: the title, the page, the soft keys,
// and the moves between the states; and the escaping of what a stranger
// wrote.
#include "BubbleTestSupport.h"

#include <htmlctrl.h>
#include <htmlview_host.h>

namespace bubble_tests {
namespace {

class BubbleContent : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }
};

TEST_F(BubbleContent, EachStateHasItsTitlePageAndSoftKeys) {
    // One text message: the sender above the text, Save and the Menu popup.
    Announce(u"Hello <a href='tel:123'>123</a>", u"Mirela");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_EQ(Title(), u"New Text Message");
    EXPECT_EQ(Page(),
              u"<html><body><div style='wrap-option:emergency;'> <div style='font:bold 12pt Tahoma; "
              u"color:menutext;'>Mirela</div> <div style='font:10pt Tahoma; margin-top:3px'>Hello <a "
              u"href='tel:123'>123</a></div> </div></body></html>");
    host::MenuBarView keys = SoftKeys();
    EXPECT_EQ(keys.left, u"Сохранить");
    EXPECT_EQ(keys.right, u"Меню");

    // A second message while one is waiting unread: the summary counts it.
    host::EntryId second = Arrive(u"two");
    HandOver(second, u"two", u"Mirela");
    EXPECT_EQ(Title(), u"New Text Messages");
    EXPECT_NE(Page().find(u"You have 2 new text messages"), std::u16string::npos) << host::ToUtf8(Page());
    keys = SoftKeys();
    EXPECT_EQ(keys.left, u"Смотреть");
    EXPECT_EQ(keys.right, u"Закрыть");

    // The device locked: every state offers the locked soft keys.
    SetLocked(true);
    host::EntryId third = Arrive(u"three");
    HandOver(third, u"three", u"Mirela");
    EXPECT_NE(Page().find(u"You have 3 new text messages"), std::u16string::npos);
    keys = SoftKeys();
    EXPECT_EQ(keys.left, u"Сохранить прочитанным");
    EXPECT_EQ(keys.right, u"Отклонить");
}

TEST_F(BubbleContent, ADeliveryReportShowsItsTextAloneWithDeleteAndClose) {
    host::EntryId report = Arrive(u"Message delivered", u"+79161234567", u"REPORT.IPM.SMStext.DR");
    HandOver(report, u"Message delivered", u"", u"+79161234567", false);
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_EQ(Title(), u"New SMS Delivery Receipt");
    EXPECT_EQ(Page(),
              u"<html><body><div style='font:10pt Tahoma; margin-top:5px;margin-left:3px;margin-right:3px; "
              u"wrap-option:emergency'>Message delivered</div></body></html>");
    host::MenuBarView keys = SoftKeys();
    EXPECT_EQ(keys.left, u"Удалить");
    EXPECT_EQ(keys.right, u"Закрыть");
}

TEST_F(BubbleContent, TheSendersNameIsTextAndALongMessageIsShownWhole) {
    Announce(u"text", u"<b>Boss</b> & co");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_NE(Page().find(u">&lt;b&gt;Boss&lt;/b&gt; &amp; co</div>"), std::u16string::npos) << host::ToUtf8(Page());

    // Far longer than the page buffer of 1024 characters: all of it arrives.
    ASSERT_TRUE(host::SetMessageRead(host::ListMessages(host::MessageFolder::Inbox).at(0).entry, true));
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    std::u16string text(5000, u'x');
    text += u"<a href='tel:89161234567' name='tel1'>89161234567</a>END";
    Announce(text, u"Mirela");
    std::u16string page = Page();
    EXPECT_NE(page.find(text + u"</div> </div></body></html>"), std::u16string::npos);
}

TEST_F(BubbleContent, ASmallSampleShowsThePageAtNormalZoom) {
    Announce(u"hello");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    HWND view = HtmlViewOf(Bubble());
    // The zoom is the normal one when the 10 pt sample lays out within 25
    // pixels in a view of this width, else the smallest.
    RECT r = {};
    GetClientRect(view, &r);
    HWND probe = CreateWindowExW(0, u"DISPLAYCLASS", nullptr, 0, 0, 0, r.right, r.bottom, nullptr, nullptr, nullptr,
                                 nullptr);
    const std::u16string sample =
        u"<html><body><div style='font:10pt Tahoma; margin-top:5px;margin-left:3px;margin-right:3px; "
        u"wrap-option:emergency'>This is Display class layout test string</div></body></html>";
    SendMessageW(probe, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(sample.c_str()));
    SendMessageW(probe, DTM_ENDOFSOURCE, 0, 0);
    const LRESULT height = SendMessageW(probe, DTM_LAYOUTHEIGHT, 0, 0);
    DestroyWindow(probe);
    EXPECT_EQ(host::HtmlViewZoom(view), height > 25 ? 0 : 2) << height;
    // A wider screen fits the sample on one line.
    EXPECT_GT(height, 0);
}

TEST_F(BubbleContent, ANewItemReplacesTheHeldOneAndAReadMessageEndsTheBubble) {
    host::EntryId first = Announce(u"first");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    // The first was read elsewhere before the second arrived: the second is alone.
    ASSERT_TRUE(host::SetMessageRead(first, true));
    ASSERT_TRUE(Eventually([&] { return !Shown(); })) << "read elsewhere: dismissed";
    host::EntryId second = Announce(u"second", u"Anna");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_NE(Page().find(u"Anna"), std::u16string::npos);
    EXPECT_NE(Page().find(u"second"), std::u16string::npos);
    EXPECT_EQ(Title(), u"New Text Message");

    // Marked unread again: nothing happens; deleted: dismissed.
    ASSERT_TRUE(host::SetMessageRead(first, false));
    Settle();
    Sleep(100);
    EXPECT_TRUE(Shown());
    ASSERT_TRUE(host::DeleteMessage(second));
    EXPECT_TRUE(Eventually([&] { return !Shown(); }));
}

}  // namespace
}  // namespace bubble_tests
