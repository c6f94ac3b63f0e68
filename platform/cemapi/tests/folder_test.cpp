// Moving, copying and deleting messages of a folder, as the rule moves a
// delivery report to Deleted Items.
#include "MapiTestHelpers.h"

#include <coredll_host.h>

using namespace mapitest;

namespace {

class FolderTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectMoved | fnevObjectCopied | fnevObjectDeleted, sink_,
                                       &connection_));
    }
    void TearDown() override {
        if (connection_) store_->Unadvise(connection_);
        sink_->Release();
        StoreTest::TearDown();
    }

    // Moves or copies the messages with one CopyMessages, as the rule does.
    HRESULT Transfer(IMAPIFolder* from, const std::vector<Bytes>& ids, LPVOID to, ULONG flags) {
        std::vector<SBinary> bins;
        for (const Bytes& id : ids) bins.push_back(SBinary{Size(id), const_cast<BYTE*>(id.data())});
        ENTRYLIST list{static_cast<ULONG>(bins.size()), bins.data()};
        return from->CopyMessages(&list, nullptr, to, 0, nullptr, flags);
    }

    std::vector<host::StoredMessage> List(host::MessageFolder folder) { return host::ListMessages(folder); }

    RecordingSink* sink_ = new RecordingSink;
    ULONG connection_ = 0;
};

TEST_F(FolderTest, MessageMoveTakesTheMessageToTheDestination) {
    Bytes report = Deliver(u"Delivered");
    Bytes other = Deliver(u"Stays");
    Bytes inboxId = FolderId(host::MessageFolder::Inbox), deletedId = FolderId(host::MessageFolder::DeletedItems);
    Ref<IMessage> message = Open<IMessage>(report);
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(inboxId);
    Ref<IMAPIFolder> deleted = Open<IMAPIFolder>(deletedId, MAPI_MODIFY);

    ASSERT_EQ(S_OK, Transfer(inbox.get(), {report}, deleted.get(), MESSAGE_MOVE));

    ASSERT_EQ(1u, List(host::MessageFolder::DeletedItems).size());
    EXPECT_EQ(report, List(host::MessageFolder::DeletedItems)[0].entry);
    ASSERT_EQ(1u, List(host::MessageFolder::Inbox).size());
    EXPECT_EQ(other, List(host::MessageFolder::Inbox)[0].entry);
    EXPECT_EQ(1, ReadLong(inbox.get(), PR_CONTENT_COUNT));
    EXPECT_EQ(1, ReadLong(deleted.get(), PR_CONTENT_COUNT));
    // The message keeps its identifier; the open message sees its new parent.
    EXPECT_EQ(deletedId, ReadBinary(message.get(), PR_PARENT_ENTRYID));
    EXPECT_EQ(u"Delivered", ReadText(message.get(), PR_SUBJECT));

    std::vector<RecordingSink::Seen> seen = sink_->WaitFor(1);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(ULONG(fnevObjectMoved), seen[0].event);
    EXPECT_EQ(report, seen[0].entry);
    EXPECT_EQ(deletedId, seen[0].parent);
    EXPECT_EQ(report, seen[0].oldEntry);
    EXPECT_EQ(inboxId, seen[0].oldParent);
}

TEST_F(FolderTest, CopyLeavesTheOriginalAndMakesANewMessage) {
    Bytes original = Deliver(u"Twice", true);
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(FolderId(host::MessageFolder::Inbox));
    Ref<IMAPIFolder> sent = Open<IMAPIFolder>(FolderId(host::MessageFolder::SentItems));
    ASSERT_EQ(S_OK, Transfer(inbox.get(), {original}, sent.get(), 0));

    ASSERT_EQ(1u, List(host::MessageFolder::Inbox).size());
    std::vector<host::StoredMessage> copies = List(host::MessageFolder::SentItems);
    ASSERT_EQ(1u, copies.size());
    EXPECT_NE(original, copies[0].entry);
    EXPECT_EQ(u"Twice", copies[0].subject);
    EXPECT_TRUE(copies[0].read);

    std::vector<RecordingSink::Seen> seen = sink_->WaitFor(1);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(ULONG(fnevObjectCopied), seen[0].event);
    EXPECT_EQ(copies[0].entry, seen[0].entry);
    EXPECT_EQ(original, seen[0].oldEntry);
    EXPECT_EQ(FolderId(host::MessageFolder::SentItems), seen[0].parent);
}

TEST_F(FolderTest, UnknownMessagesMakeTheWholeCallFailWithNothingDone) {
    Bytes first = Deliver(u"one"), second = Deliver(u"two");
    Bytes elsewhere = Deliver(u"draft", false, 0, host::MessageFolder::Drafts);
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(FolderId(host::MessageFolder::Inbox));
    Ref<IMAPIFolder> deleted = Open<IMAPIFolder>(FolderId(host::MessageFolder::DeletedItems));
    ASSERT_TRUE(host::DeleteMessage(second));
    ASSERT_TRUE(host::DeleteMessage(second));  // out of Deleted Items: gone

    EXPECT_EQ(MAPI_E_NOT_FOUND, Transfer(inbox.get(), {first, second}, deleted.get(), MESSAGE_MOVE));
    EXPECT_EQ(MAPI_E_NOT_FOUND, Transfer(inbox.get(), {first, elsewhere}, deleted.get(), MESSAGE_MOVE));
    Bytes malformed(first.begin(), first.end() - 1);
    EXPECT_EQ(MAPI_E_INVALID_ENTRYID, Transfer(inbox.get(), {first, malformed}, deleted.get(), 0));
    EXPECT_EQ(MAPI_E_INVALID_ENTRYID, Transfer(inbox.get(), {FolderId(host::MessageFolder::Outbox)}, deleted.get(), 0));
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, Transfer(inbox.get(), {first}, store_.get(), MESSAGE_MOVE));

    EXPECT_EQ(1u, List(host::MessageFolder::Inbox).size());
    EXPECT_EQ(0, ReadLong(deleted.get(), PR_CONTENT_COUNT));

    host::FailCall("IMAPIFolder::CopyMessages", 1, MAPI_E_NOT_ENOUGH_DISK);
    EXPECT_EQ(MAPI_E_NOT_ENOUGH_DISK, Transfer(inbox.get(), {first}, deleted.get(), MESSAGE_MOVE));
    EXPECT_EQ(1u, List(host::MessageFolder::Inbox).size());
    EXPECT_EQ(S_OK, Transfer(inbox.get(), {first}, deleted.get(), MESSAGE_MOVE));
    EXPECT_EQ(0u, List(host::MessageFolder::Inbox).size());
}

TEST_F(FolderTest, DeleteMessagesRemovesThemForGood) {
    Bytes id = Deliver(u"bye");
    Bytes inboxId = FolderId(host::MessageFolder::Inbox);
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(inboxId);
    SBinary bin{Size(id), id.data()};
    ENTRYLIST list{1, &bin};
    ASSERT_EQ(S_OK, inbox->DeleteMessages(&list, 0, nullptr, 0));
    EXPECT_EQ(MAPI_E_NOT_FOUND, inbox->DeleteMessages(&list, 0, nullptr, 0));
    EXPECT_EQ(0, ReadLong(inbox.get(), PR_CONTENT_COUNT));
    EXPECT_TRUE(List(host::MessageFolder::DeletedItems).empty());

    std::vector<RecordingSink::Seen> seen = sink_->WaitFor(1);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(ULONG(fnevObjectDeleted), seen[0].event);
    EXPECT_EQ(id, seen[0].entry);
    EXPECT_EQ(inboxId, seen[0].parent);
}

}  // namespace
