// The hand-off from the rule to the bubble window: one message goes over as
// an item holding references of its own, waiting unread ones make it a
// count, a later item lets go of the one before exactly once, and without a
// bubble window nothing is taken or sent.
#include "BubbleTestSupport.h"

#include "BubbleMessages.h"
#include "NotificationHandoff.h"

namespace bubble_tests {
namespace {

class Handoff : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }

    IMessage* OpenMessage(const host::EntryId& entry) {
        IMessage* message = nullptr;
        EXPECT_EQ(store_->OpenEntry(static_cast<ULONG>(entry.size()),
                                    reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entry.data())), nullptr, MAPI_MODIFY,
                                    nullptr, reinterpret_cast<IUnknown**>(&message)),
                  S_OK);
        return message;
    }
    void Deliver(BubbleThreadState& thread, IMessage* message, const std::u16string& text) {
        DeliverNotification(thread, WString::FromText(text.c_str()), WString::FromText(u"Mirela"),
                            WString::FromText(u"+79161234567"), store_, message, TRUE);
    }
};

TEST_F(Handoff, AnItemHoldsItsReferencesUntilTheNextReplacesItAndACountHoldsNone) {
    // Nothing unread waiting: the message goes over as an item with a
    // reference of its own on the message and the store.
    host::EntryId firstEntry = Arrive(u"first");
    IMessage* first = OpenMessage(firstEntry);
    ASSERT_NE(first, nullptr);
    const ULONG storeBefore = References(store_);
    Deliver(GetBubbleThread(), first, u"first");
    ASSERT_TRUE(host::ListArrivedMessage(firstEntry));
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_EQ(Title(), u"New Text Message");
    EXPECT_EQ(References(first), 2u) << "the caller's and the item's";
    EXPECT_GT(References(store_), storeBefore);

    // The first read meanwhile comes down; a second alone replaces the item,
    // and the first item's references go exactly once.
    ASSERT_TRUE(host::SetMessageRead(firstEntry, true));
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    host::EntryId secondEntry = Arrive(u"second");
    IMessage* second = OpenMessage(secondEntry);
    Deliver(GetBubbleThread(), second, u"second");
    ASSERT_TRUE(host::ListArrivedMessage(secondEntry));
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_NE(Page().find(u"second"), std::u16string::npos);
    EXPECT_EQ(References(first), 1u) << "only the caller's is left";
    EXPECT_EQ(References(second), 2u);

    // Two unread waiting (the second and a third): a fourth is announced as
    // their count plus one, and takes no reference of its own.
    host::EntryId thirdEntry = Arrive(u"third");
    ASSERT_TRUE(host::ListArrivedMessage(thirdEntry));
    host::EntryId fourthEntry = Arrive(u"fourth");
    IMessage* fourth = OpenMessage(fourthEntry);
    Deliver(GetBubbleThread(), fourth, u"fourth");
    ASSERT_TRUE(host::ListArrivedMessage(fourthEntry));
    Settle();
    EXPECT_EQ(Title(), u"New Text Messages");
    EXPECT_NE(Page().find(u"You have 3 new text messages"), std::u16string::npos);
    EXPECT_EQ(References(fourth), 1u) << "a count holds no message";

    // Read elsewhere, the summary goes; the next message alone is a single
    // one again, with its sender, and nothing of the count.
    for (const host::EntryId& e : {secondEntry, thirdEntry, fourthEntry}) ASSERT_TRUE(host::SetMessageRead(e, true));
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    Announce(u"fifth", u"Anna");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    EXPECT_EQ(Title(), u"New Text Message");
    EXPECT_NE(Page().find(u"Anna"), std::u16string::npos);
    EXPECT_EQ(Page().find(u"You have"), std::u16string::npos);
    EXPECT_EQ(SoftKeys().left, u"Сохранить");

    first->Release();
    second->Release();
    fourth->Release();
}

TEST_F(Handoff, ADismissalThatOvertakesTheShowStillLeavesTheBubbleDown) {
    // The watcher's dismissal may reach the UI thread before the helper that
    // shows the bubble has run: the bubble must end hidden and out of the
    // way of the keys all the same.
    HWND home = GetForegroundWindow();
    const ULONG storeBefore = References(store_);
    for (int i = 0; i < 100; ++i) {
        SCOPED_TRACE(i);
        host::EntryId entry = Arrive(u"quickly read");
        IMessage* message = OpenMessage(entry);
        ASSERT_NE(message, nullptr);
        Deliver(GetBubbleThread(), message, u"quickly read");
        PostMessageW(Bubble(), WM_BUBBLE_DISMISS, 0, 0);
        message->Release();
        Settle();
        ASSERT_FALSE(Shown());
        ASSERT_EQ(GetForegroundWindow(), home);
        ASSERT_EQ(References(store_), storeBefore) << "nothing of the bubble holds the store";
    }
}

TEST_F(Handoff, WithoutABubbleWindowNothingIsTakenOrSent) {
    host::EntryId entry = Arrive(u"nowhere");
    IMessage* message = OpenMessage(entry);
    ASSERT_NE(message, nullptr);
    const ULONG storeBefore = References(store_);
    BubbleThreadState none = {};
    Deliver(none, message, u"nowhere");
    EXPECT_EQ(References(message), 1u);
    EXPECT_EQ(References(store_), storeBefore);
    EXPECT_FALSE(Shown());
    message->Release();
}

}  // namespace
}  // namespace bubble_tests
