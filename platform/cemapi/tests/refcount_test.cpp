// Reference counting of the store's objects: each is freed exactly once,
// and what was opened through a store keeps working after the caller let
// the store go. AddressSanitizer checks the "exactly once".
#include "MapiTestHelpers.h"

using namespace mapitest;

namespace {

class RefCountTest : public StoreTest {};

TEST_F(RefCountTest, MessageOutlivesTheCallersStoreReference) {
    Bytes id = Deliver(u"still here");
    Ref<IMessage> message = Open<IMessage>(id);
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(FolderId(host::MessageFolder::Inbox));
    Ref<IMAPITable> table;
    ASSERT_EQ(S_OK, inbox->GetContentsTable(0, table.out()));

    // The store counts the caller's reference and one per opened object.
    EXPECT_EQ(5u, store_->AddRef());
    EXPECT_EQ(4u, store_->Release());
    EXPECT_EQ(3u, store_->Release());
    store_.release();

    EXPECT_EQ(u"still here", ReadText(message.get(), PR_SUBJECT));
    EXPECT_EQ(S_OK, SetLong(message.get(), PR_MESSAGE_FLAGS, MSGFLAG_READ));
    EXPECT_EQ(0, ReadLong(inbox.get(), PR_CONTENT_UNREAD));
    ULONG rows = 0;
    EXPECT_EQ(S_OK, table->GetRowCount(0, &rows));
    EXPECT_EQ(1u, rows);
    message.reset();
    inbox.reset();
    EXPECT_EQ(0u, table.release()->Release());
}

}  // namespace
