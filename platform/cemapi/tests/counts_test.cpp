// A folder's PR_CONTENT_COUNT and PR_CONTENT_UNREAD stay exactly what its
// messages are, through every kind of change, from several processes, and
// when a process is killed in the middle of its writes.
#include "MapiTestHelpers.h"

#include <coredll_host.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

using namespace mapitest;

namespace {

const host::MessageFolder kFolders[] = {host::MessageFolder::Inbox, host::MessageFolder::DeletedItems,
                                        host::MessageFolder::Drafts};

// Each folder's counts as the folder answers them, against its messages.
void ExpectCountsMatch(IMsgStore* store, const char* step) {
    for (host::MessageFolder folder : kFolders) {
        std::vector<host::StoredMessage> messages = host::ListMessages(folder);
        LONG unread = 0;
        for (const host::StoredMessage& m : messages) unread += m.read ? 0 : 1;
        Bytes id = host::FolderEntryId(folder);
        Ref<IMAPIFolder> opened;
        ASSERT_EQ(S_OK, store->OpenEntry(Size(id), Id(id), nullptr, 0, nullptr, opened.unknown())) << step;
        EXPECT_EQ(LONG(messages.size()), ReadLong(opened.get(), PR_CONTENT_COUNT)) << step;
        EXPECT_EQ(unread, ReadLong(opened.get(), PR_CONTENT_UNREAD)) << step;
        host::FolderCounts counts;
        ASSERT_TRUE(host::GetFolderCounts(folder, &counts)) << step;
        EXPECT_EQ(LONG(messages.size()), counts.count) << step;
        EXPECT_EQ(unread, counts.unread) << step;
    }
}

class CountsTest : public StoreTest {
protected:
    void ExpectCountsMatch(const char* step) { ::ExpectCountsMatch(store_.get(), step); }

    HRESULT Transfer(IMAPIFolder* from, const std::vector<Bytes>& ids, IMAPIFolder* to, ULONG flags) {
        std::vector<SBinary> bins;
        for (const Bytes& id : ids) bins.push_back(SBinary{Size(id), const_cast<BYTE*>(id.data())});
        ENTRYLIST list{static_cast<ULONG>(bins.size()), bins.data()};
        return from->CopyMessages(&list, nullptr, to, 0, nullptr, flags);
    }
    HRESULT Remove(IMAPIFolder* from, const std::vector<Bytes>& ids) {
        std::vector<SBinary> bins;
        for (const Bytes& id : ids) bins.push_back(SBinary{Size(id), const_cast<BYTE*>(id.data())});
        ENTRYLIST list{static_cast<ULONG>(bins.size()), bins.data()};
        return from->DeleteMessages(&list, 0, nullptr, 0);
    }
};

TEST_F(CountsTest, CountsFollowEveryChangeOfTheMessages) {
    ExpectCountsMatch("empty");
    Bytes a = Deliver(u"a"), b = Deliver(u"b", true), c = Deliver(u"c");
    ExpectCountsMatch("delivered");

    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(FolderId(host::MessageFolder::Inbox), MAPI_MODIFY);
    Ref<IMAPIFolder> deleted = Open<IMAPIFolder>(FolderId(host::MessageFolder::DeletedItems), MAPI_MODIFY);
    Ref<IMAPIFolder> drafts = Open<IMAPIFolder>(FolderId(host::MessageFolder::Drafts), MAPI_MODIFY);

    // A message made without any property has never been read.
    Ref<IMessage> draft;
    ASSERT_EQ(S_OK, drafts->CreateMessage(nullptr, 0, draft.out()));
    ExpectCountsMatch("created empty");
    ASSERT_EQ(S_OK, SetLong(draft.get(), PR_MESSAGE_FLAGS, MSGFLAG_READ));
    ExpectCountsMatch("draft read");
    SizedSPropTagArray(1, flags) = {1, {PR_MESSAGE_FLAGS}};
    ASSERT_EQ(S_OK, draft->DeleteProps(reinterpret_cast<LPSPropTagArray>(&flags), nullptr));
    ExpectCountsMatch("draft flags removed");

    Ref<IMessage> first = Open<IMessage>(a);
    ASSERT_EQ(S_OK, SetLong(first.get(), PR_MESSAGE_FLAGS, MSGFLAG_READ));
    ExpectCountsMatch("read");
    ASSERT_EQ(S_OK, SetLong(first.get(), PR_MESSAGE_FLAGS, MSGFLAG_READ));
    ExpectCountsMatch("read again");
    ASSERT_EQ(S_OK, SetLong(first.get(), PR_MESSAGE_FLAGS, 0));
    ExpectCountsMatch("unread");
    ASSERT_TRUE(host::SetMessageRead(c, true));
    ExpectCountsMatch("read by the messaging application");

    // The same message twice in one move is moved once.
    ASSERT_EQ(S_OK, Transfer(inbox.get(), {a, b, a}, deleted.get(), MESSAGE_MOVE));
    ExpectCountsMatch("moved");
    ASSERT_EQ(S_OK, Transfer(deleted.get(), {a}, deleted.get(), MESSAGE_MOVE));
    ExpectCountsMatch("moved into its own folder");
    ASSERT_EQ(S_OK, Transfer(deleted.get(), {a, b, a}, inbox.get(), 0));
    ExpectCountsMatch("copied");
    ASSERT_EQ(S_OK, Transfer(inbox.get(), {c}, inbox.get(), 0));
    ExpectCountsMatch("copied into its own folder");
    // A move that names a message of another folder changes nothing.
    EXPECT_EQ(MAPI_E_NOT_FOUND, Transfer(inbox.get(), {c, a}, deleted.get(), MESSAGE_MOVE));
    ExpectCountsMatch("refused move");
    ASSERT_EQ(S_OK, Remove(deleted.get(), {a, b}));
    ExpectCountsMatch("deleted for good");
    ASSERT_TRUE(host::DeleteMessage(c));
    ExpectCountsMatch("deleted by the messaging application");
}

ULONG RowCount(IMAPIFolder* folder) {
    Ref<IMAPITable> table;
    EXPECT_EQ(S_OK, folder->GetContentsTable(0, table.out()));
    ULONG rows = 0;
    EXPECT_EQ(S_OK, table->GetRowCount(0, &rows));
    return rows;
}

// While the rule clients run, an arriving message is in the Inbox but not
// listed: not in the contents table, the counts or the messaging
// application's list, until the inbox service lists it where it is then.
TEST_F(CountsTest, AnArrivingMessageIsListedAndCountedOnlyOnceListed) {
    Deliver(u"waiting");
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(FolderId(host::MessageFolder::Inbox), MAPI_MODIFY);
    Ref<IMAPIFolder> deleted = Open<IMAPIFolder>(FolderId(host::MessageFolder::DeletedItems), MAPI_MODIFY);
    Bytes arriving = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"new", u"+1", u"+1");
    ASSERT_FALSE(arriving.empty());
    EXPECT_EQ(1u, RowCount(inbox.get()));
    EXPECT_EQ(1u, host::ListMessages(host::MessageFolder::Inbox).size());
    EXPECT_EQ(1, ReadLong(inbox.get(), PR_CONTENT_UNREAD));
    EXPECT_TRUE(host::NthNewestMessage(host::MessageFolder::Inbox, 2).empty());
    ExpectCountsMatch("held back");

    // It can be opened and changed meanwhile.
    Ref<IMessage> message = Open<IMessage>(arriving);
    EXPECT_EQ(u"new", ReadText(message.get(), PR_SUBJECT));
    ASSERT_EQ(S_OK, SetLong(message.get(), PR_MESSAGE_FLAGS, MSGFLAG_READ));
    ASSERT_EQ(S_OK, SetLong(message.get(), PR_MESSAGE_FLAGS, 0));
    ExpectCountsMatch("changed while held back");

    ASSERT_TRUE(host::ListArrivedMessage(arriving));
    EXPECT_EQ(2u, RowCount(inbox.get()));
    EXPECT_EQ(2, ReadLong(inbox.get(), PR_CONTENT_UNREAD));
    EXPECT_EQ(arriving, host::NthNewestMessage(host::MessageFolder::Inbox, 1));
    ASSERT_TRUE(host::ListArrivedMessage(arriving));
    ExpectCountsMatch("listed, twice");

    // One moved away while held back (a delivery report) is listed where it went.
    Bytes report = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"REPORT.IPM.SMStext.DR", u"r", u"+1", u"+1");
    ASSERT_EQ(S_OK, Transfer(inbox.get(), {report}, deleted.get(), MESSAGE_MOVE));
    EXPECT_EQ(0u, RowCount(deleted.get()));
    ExpectCountsMatch("moved while held back");
    ASSERT_TRUE(host::ListArrivedMessage(report));
    EXPECT_EQ(1u, RowCount(deleted.get()));
    EXPECT_EQ(2u, RowCount(inbox.get()));
    ExpectCountsMatch("listed where it went");

    // One deleted while held back is not there to list.
    Bytes gone = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"gone", u"+1", u"+1");
    ASSERT_EQ(S_OK, Remove(inbox.get(), {gone}));
    EXPECT_FALSE(host::ListArrivedMessage(gone));
    ExpectCountsMatch("deleted while held back");

    // Those a service ended with are listed when the next one starts.
    Bytes left = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"left", u"+1", u"+1");
    Bytes read = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"left", u"+1", u"+1");
    ASSERT_TRUE(host::SetMessageRead(read, true));
    ExpectCountsMatch("left held back");
    ASSERT_TRUE(host::ListHeldBackMessages());
    EXPECT_EQ(4u, RowCount(inbox.get()));
    EXPECT_EQ(3, ReadLong(inbox.get(), PR_CONTENT_UNREAD));
    ASSERT_TRUE(host::ListHeldBackMessages());
    ExpectCountsMatch("listed at the next start");
}

// Writes of a child process: messages arrive, are read, unread, moved and
// deleted, without end until it is killed, or for rounds of them.
[[noreturn]] void Churn(const std::string& device, int rounds) {
    if (!host::OpenDevice(device)) _exit(11);
    for (int i = 0; rounds == 0 || i < rounds; ++i) {
        Bytes id = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"churn", u"+1", u"+1");
        if (id.empty()) _exit(12);
        if (i % 2 && !host::SetMessageRead(id, true)) _exit(13);
        if (i % 3 == 0 && !host::DeleteMessage(id)) _exit(14);
        if (i % 5 == 0 && !host::SetMessageRead(id, false)) _exit(15);
        if (i % 7 == 0 && !host::DeleteMessage(id)) _exit(16);
    }
    _exit(0);
}

// The device is opened after the fork: a process never inherits another's
// open store.
class OpenedAfterFork {
public:
    explicit OpenedAfterFork(const std::string& folder) {
        opened_ = host::OpenDevice(folder);
        if (opened_) store_ = Ref<IMsgStore>(host::OpenMessageStore());
    }
    ~OpenedAfterFork() {
        store_.reset();
        host::StopMessageStore();
        if (opened_) host::CloseDevice();
    }
    IMsgStore* store() const { return store_.get(); }

private:
    bool opened_ = false;
    Ref<IMsgStore> store_;
};

// Makes the device's store in a process of its own, as `phone init` does
// before the device is used by several processes at once.
void MakeStore(const std::string& folder) {
    pid_t maker = fork();
    ASSERT_NE(-1, maker);
    if (maker == 0) {
        std::string error;
        _exit(host::OpenDevice(folder) && host::CreateMessageStore(&error) ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(maker, waitpid(maker, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(0, WEXITSTATUS(status));
}

TEST(CountsProcesses, TwoProcessesWritingAtOnceLeaveExactCounts) {
    testing_support::TempFolder folder;
    constexpr int kRounds = 60;
    MakeStore(folder.path());
    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) Churn(folder.path(), kRounds);
    OpenedAfterFork device(folder.path());
    ASSERT_TRUE(device.store());
    for (int i = 0; i < kRounds; ++i) {
        Bytes id = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"here", u"+2", u"+2");
        ASSERT_FALSE(id.empty());
        if (i % 2 == 0) {
            EXPECT_TRUE(host::SetMessageRead(id, true));
        }
        if (i % 4 == 1) {
            EXPECT_TRUE(host::DeleteMessage(id));
        }
    }
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    ExpectCountsMatch(device.store(), "after both");
    host::FolderCounts inbox, deleted;
    ASSERT_TRUE(host::GetFolderCounts(host::MessageFolder::Inbox, &inbox));
    ASSERT_TRUE(host::GetFolderCounts(host::MessageFolder::DeletedItems, &deleted));
    // The child deletes every 21st of its messages for good.
    EXPECT_EQ(2 * kRounds - (kRounds + 20) / 21, inbox.count + deleted.count);
}

TEST(CountsProcesses, AWriterKilledInTheMiddleLeavesExactCounts) {
    testing_support::TempFolder folder;
    MakeStore(folder.path());
    for (int attempt = 0; attempt < 3; ++attempt) {
        pid_t child = fork();
        ASSERT_NE(-1, child);
        if (child == 0) Churn(folder.path(), 0);
        Sleep(150 + 40 * attempt);
        ASSERT_EQ(0, kill(child, SIGKILL));
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        ASSERT_TRUE(WIFSIGNALED(status));
    }
    OpenedAfterFork device(folder.path());
    ASSERT_TRUE(device.store());
    ExpectCountsMatch(device.store(), "after the kills");
    host::FolderCounts inbox;
    ASSERT_TRUE(host::GetFolderCounts(host::MessageFolder::Inbox, &inbox));
    EXPECT_GT(inbox.count, 0);
}

}  // namespace
