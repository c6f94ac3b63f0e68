// The host's access to the SMS store: delivery, the emulator's listing, and
// what the messaging application does to a message.
#include "MapiTestHelpers.h"

using namespace mapitest;

namespace {

class MessageHostTest : public StoreTest {};

TEST_F(MessageHostTest, StoredMessagesAreListedNewestFirst) {
    Bytes older = Deliver(u"older", false, 1000);
    Bytes newer = Deliver(u"newer", true, 2000);
    Bytes sameTime = Deliver(u"same time, later", false, 2000);
    std::vector<host::StoredMessage> inbox = host::ListMessages(host::MessageFolder::Inbox);
    ASSERT_EQ(3u, inbox.size());
    EXPECT_EQ(sameTime, inbox[0].entry);
    EXPECT_EQ(newer, inbox[1].entry);
    EXPECT_EQ(older, inbox[2].entry);
    EXPECT_TRUE(inbox[1].read);
    EXPECT_FALSE(inbox[2].read);
    EXPECT_EQ(u"IPM.SMStext", inbox[2].messageClass);
    EXPECT_EQ(u"+79161234567", inbox[2].senderAddress);
    EXPECT_EQ(u"Mirela", inbox[2].senderName);
    EXPECT_EQ(1000u, inbox[2].deliveryTime.dwLowDateTime);

    // What the delivery stored is what a rule client reads.
    Ref<IMessage> message = Open<IMessage>(older);
    EXPECT_EQ(u"older", ReadText(message.get(), PR_SUBJECT));
    EXPECT_EQ(u"+79161234567", ReadText(message.get(), PR_SENDER_EMAIL_ADDRESS));
    EXPECT_EQ(0, ReadLong(message.get(), PR_MESSAGE_FLAGS));

    // An arriving message is unread and stamped now.
    Bytes now = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"now", u"+1", u"+1");
    inbox = host::ListMessages(host::MessageFolder::Inbox);
    EXPECT_EQ(now, inbox[0].entry);
    EXPECT_FALSE(inbox[0].read);
    EXPECT_GT(inbox[0].deliveryTime.dwHighDateTime, 0x01D00000u);
}

TEST_F(MessageHostTest, ReadUnreadAndDeleteAsTheMessagingApplication) {
    RecordingSink* sink = new RecordingSink;
    ULONG connection = 0;
    ASSERT_EQ(S_OK,
              store_->Advise(0, nullptr, fnevObjectModified | fnevObjectMoved | fnevObjectDeleted, sink, &connection));
    Bytes id = Deliver(u"read me");
    ASSERT_TRUE(host::SetMessageRead(id, true));
    ASSERT_TRUE(host::SetMessageRead(id, false));
    ASSERT_TRUE(host::DeleteMessage(id));
    std::vector<host::StoredMessage> deleted = host::ListMessages(host::MessageFolder::DeletedItems);
    ASSERT_EQ(1u, deleted.size());
    EXPECT_FALSE(deleted[0].read);
    // From Deleted Items a message is deleted for good.
    ASSERT_TRUE(host::DeleteMessage(id));
    EXPECT_TRUE(host::ListMessages(host::MessageFolder::DeletedItems).empty());
    EXPECT_FALSE(host::DeleteMessage(id));
    EXPECT_FALSE(host::SetMessageRead(Bytes{1, 2, 3}, true));

    std::vector<RecordingSink::Seen> seen = sink->WaitFor(4);
    ASSERT_EQ(4u, seen.size());
    EXPECT_EQ(std::vector<ULONG>{PR_MESSAGE_FLAGS}, *seen[0].tags);
    EXPECT_EQ(std::vector<ULONG>{PR_MESSAGE_FLAGS}, *seen[1].tags);
    EXPECT_EQ(ULONG(fnevObjectMoved), seen[2].event);
    EXPECT_EQ(ULONG(fnevObjectDeleted), seen[3].event);
    EXPECT_EQ(FolderId(host::MessageFolder::DeletedItems), seen[3].parent);
    EXPECT_EQ(S_OK, store_->Unadvise(connection));
    sink->Release();
}

}  // namespace
