// Advise notifications of the store: what each change announces, on which
// thread, and when a sink stops being called and is let go.
#include "MapiTestHelpers.h"

#include <coredll_host.h>
#include <screen_host.h>

#include <atomic>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

using namespace mapitest;

namespace {

constexpr ULONG kWatcherMask = fnevObjectDeleted | fnevObjectModified | fnevObjectMoved | fnevObjectCopied;

class NotifyTest : public StoreTest {};

TEST_F(NotifyTest, MarkingReadAnnouncesExactlyTheFlagsOnAnotherThread) {
    Bytes id = Deliver(u"hi");
    Ref<IMessage> message = Open<IMessage>(id);
    RecordingSink* sink = new RecordingSink;
    ULONG connection = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, kWatcherMask, sink, &connection));
    EXPECT_NE(0u, connection);

    ASSERT_EQ(S_OK, SetLong(message.get(), PR_MESSAGE_FLAGS, MSGFLAG_READ));
    std::vector<RecordingSink::Seen> seen = sink->WaitFor(1);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(ULONG(fnevObjectModified), seen[0].event);
    EXPECT_EQ(id, seen[0].entry);
    EXPECT_EQ(FolderId(host::MessageFolder::Inbox), seen[0].parent);
    ASSERT_TRUE(seen[0].tags);
    EXPECT_EQ(std::vector<ULONG>{PR_MESSAGE_FLAGS}, *seen[0].tags);
    EXPECT_NE(GetCurrentThreadId(), seen[0].thread);
    // The Inbox's unread count changed with it.
    std::vector<RecordingSink::Seen> folders = sink->WaitFor(1, MAPI_FOLDER);
    ASSERT_EQ(1u, folders.size());
    EXPECT_EQ(std::vector<ULONG>{PR_CONTENT_UNREAD}, *folders[0].tags);

    // A notification lists what changed: both tags of a rewrite, nothing
    // for a value written again unchanged.
    SPropValue props[2] = {};
    props[0].ulPropTag = PR_SUBJECT;
    props[0].Value.lpszW = const_cast<LPWSTR>(u"hi, Ann");
    props[1].ulPropTag = PR_MESSAGE_FLAGS;
    props[1].Value.l = MSGFLAG_READ;
    ASSERT_EQ(S_OK, message->SetProps(2, props, nullptr));
    ASSERT_EQ(S_OK, SetLong(message.get(), PR_MESSAGE_FLAGS, 0));
    seen = sink->WaitFor(3);
    ASSERT_EQ(3u, seen.size());
    EXPECT_EQ(std::vector<ULONG>{PR_SUBJECT}, *seen[1].tags);
    EXPECT_EQ(std::vector<ULONG>{PR_MESSAGE_FLAGS}, *seen[2].tags);
    EXPECT_EQ(S_OK, store_->Unadvise(connection));
    sink->Release();
}

// The emulator's lines wait for the device to settle: a change this process
// wrote has been announced by then, so that a notice cannot come late, into
// what the next line does.
TEST_F(NotifyTest, AWriteIsAnnouncedBeforeTheDeviceSettles) {
    Bytes id = Deliver(u"hi");
    RecordingSink* sink = new RecordingSink;
    ULONG connection = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, kWatcherMask, sink, &connection));
    for (size_t i = 1; i <= 40; ++i) {
        ASSERT_TRUE(host::SetMessageRead(id, i % 2 == 1));
        ASSERT_TRUE(host::WaitForIdle());
        ASSERT_EQ(i, sink->Snapshot().size()) << "change " << i;
    }
    EXPECT_EQ(S_OK, store_->Unadvise(connection));
    sink->Release();
}

TEST_F(NotifyTest, OnlySinksWhoseMaskMatchesAreCalled) {
    RecordingSink* created = new RecordingSink;
    RecordingSink* watcher = new RecordingSink;
    ULONG first = 0, second = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectCreated, created, &first));
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, kWatcherMask, watcher, &second));
    EXPECT_NE(first, second);
    Bytes id = Deliver(u"new");
    ASSERT_TRUE(host::SetMessageRead(id, true));
    ASSERT_TRUE(host::DeleteMessage(id));

    std::vector<RecordingSink::Seen> seen = watcher->WaitFor(2);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(ULONG(fnevObjectModified), seen[0].event);
    EXPECT_EQ(ULONG(fnevObjectMoved), seen[1].event);
    seen = created->WaitFor(1);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(ULONG(fnevObjectCreated), seen[0].event);
    EXPECT_EQ(id, seen[0].entry);
    EXPECT_FALSE(seen[0].tags);

    // Only whole-store advice, with a sink and somewhere for the number.
    ULONG connection = 0;
    Bytes inbox = FolderId(host::MessageFolder::Inbox);
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, store_->Advise(Size(inbox), Id(inbox), kWatcherMask, watcher, &connection));
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, store_->Advise(0, nullptr, kWatcherMask, nullptr, &connection));
    host::FailCall("IMsgStore::Advise", 1, MAPI_E_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(MAPI_E_NOT_ENOUGH_MEMORY, store_->Advise(0, nullptr, kWatcherMask, watcher, &connection));

    EXPECT_EQ(S_OK, store_->Unadvise(first));
    EXPECT_EQ(S_OK, store_->Unadvise(second));
    EXPECT_EQ(MAPI_E_NOT_FOUND, store_->Unadvise(second));
    EXPECT_EQ(1, created->Refs());
    EXPECT_EQ(1, watcher->Refs());
    created->Release();
    watcher->Release();
}

TEST_F(NotifyTest, UnadviseStopsTheCallsAndGivesTheSinkBack) {
    RecordingSink* sink = new RecordingSink;
    RecordingSink* witness = new RecordingSink;
    ULONG connection = 0, witnessConnection = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectCreated, sink, &connection));
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectCreated, witness, &witnessConnection));
    EXPECT_EQ(2, sink->Refs());  // the caller's and the store's

    Deliver(u"one");
    ASSERT_EQ(1u, sink->WaitFor(1).size());
    ASSERT_EQ(S_OK, store_->Unadvise(connection));
    EXPECT_EQ(1, sink->Refs());

    // The witness, called for every change in order, shows the change after
    // Unadvise has been delivered: the unadvised sink never saw it.
    Deliver(u"two");
    ASSERT_EQ(2u, witness->WaitFor(2).size());
    EXPECT_EQ(1u, sink->Snapshot().size());
    sink->Release();

    // Releasing the store object drops its registrations.
    Ref<IMsgStore> second(host::OpenMessageStore());
    RecordingSink* orphan = new RecordingSink;
    ULONG orphanConnection = 0;
    ASSERT_EQ(S_OK, second->Advise(0, nullptr, fnevObjectCreated, orphan, &orphanConnection));
    EXPECT_EQ(MAPI_E_NOT_FOUND, store_->Unadvise(orphanConnection));
    second.reset();
    EXPECT_EQ(1, orphan->Refs());
    orphan->Release();

    host::StopMessageStore();
    EXPECT_EQ(1, witness->Refs());
    witness->Release();
}

// A sink that holds its OnNotify until told to return.
class BlockingSink : public RecordingSink {
public:
    STDMETHODIMP_(ULONG) OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override {
        entered = true;
        for (int i = 0; i < 1000 && !go; ++i) Sleep(10);
        RecordingSink::OnNotify(cNotif, lpNotifications);
        returnedAt = ++clock;
        return S_OK;
    }
    std::atomic<bool> entered{false}, go{false};
    std::atomic<int> returnedAt{0};
    std::atomic<int> clock{0};
};

TEST_F(NotifyTest, UnadviseWaitsForACallInProgress) {
    BlockingSink* sink = new BlockingSink;
    ULONG connection = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectCreated, sink, &connection));
    Deliver(u"slow");
    for (int i = 0; i < 1000 && !sink->entered; ++i) Sleep(10);
    ASSERT_TRUE(sink->entered);

    std::atomic<int> unadvisedAt{0};
    std::thread unadvise([&] {
        EXPECT_EQ(S_OK, store_->Unadvise(connection));
        unadvisedAt = ++sink->clock;
    });
    Sleep(50);
    sink->go = true;
    unadvise.join();
    EXPECT_GT(unadvisedAt.load(), sink->returnedAt.load());
    EXPECT_EQ(1, sink->Refs());
    sink->Release();
}

// A sink that unadvises itself from its first notification.
class SelfRemovingSink : public RecordingSink {
public:
    STDMETHODIMP_(ULONG) OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override {
        RecordingSink::OnNotify(cNotif, lpNotifications);
        if (store) {
            result = store->Unadvise(connection);
            store = nullptr;
        }
        return S_OK;
    }
    IMsgStore* store = nullptr;
    ULONG connection = 0;
    HRESULT result = E_FAIL;
};

TEST_F(NotifyTest, SinkMayUnadviseItselfWhileCalled) {
    SelfRemovingSink* sink = new SelfRemovingSink;
    RecordingSink* witness = new RecordingSink;
    sink->store = store_.get();
    ULONG witnessConnection = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectCreated, sink, &sink->connection));
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectCreated, witness, &witnessConnection));
    Deliver(u"a");
    Deliver(u"b");
    ASSERT_EQ(2u, witness->WaitFor(2).size());
    EXPECT_EQ(S_OK, sink->result);
    EXPECT_EQ(1u, sink->Snapshot().size());
    EXPECT_EQ(1, sink->Refs());
    sink->Release();
    EXPECT_EQ(S_OK, store_->Unadvise(witnessConnection));
    witness->Release();
}

// One process delivers messages while another, advised on the same
// device, is told of each and reads it.
TEST(NotifyProcesses, ChangesOfAnotherProcessAreAnnounced) {
    testing_support::TempFolder folder;
    constexpr int kMessages = 5;
    int start[2];
    ASSERT_EQ(0, pipe(start));
    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        close(start[1]);
        char go = 0;
        if (read(start[0], &go, 1) != 1) _exit(10);
        if (!host::OpenDevice(folder.path())) _exit(11);
        for (int i = 0; i < kMessages; ++i) {
            std::u16string text = u"from afar " + std::u16string(1, char16_t(u'0' + i));
            if (host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", text, u"+1", u"+1").empty())
                _exit(12);
            Sleep(20);
        }
        _exit(0);
    }
    close(start[0]);

    ASSERT_TRUE(host::OpenDevice(folder.path()));
    Ref<IMsgStore> store(host::OpenMessageStore());
    ASSERT_TRUE(store);
    RecordingSink* sink = new RecordingSink;
    ULONG connection = 0;
    ASSERT_EQ(S_OK, store->Advise(0, nullptr, fnevObjectCreated, sink, &connection));
    ASSERT_EQ(1, write(start[1], "g", 1));
    close(start[1]);

    std::vector<RecordingSink::Seen> seen = sink->WaitFor(kMessages);
    int status = 0;
    ASSERT_EQ(child, waitpid(child, &status, 0));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
    ASSERT_EQ(size_t(kMessages), seen.size());
    for (int i = 0; i < kMessages; ++i) {
        Ref<IMessage> message;
        ASSERT_EQ(S_OK,
                  store->OpenEntry(Size(seen[i].entry), Id(seen[i].entry), nullptr, 0, nullptr, message.unknown()));
        EXPECT_EQ(u"from afar " + std::u16string(1, char16_t(u'0' + i)), ReadText(message.get(), PR_SUBJECT));
    }
    EXPECT_EQ(S_OK, store->Unadvise(connection));
    sink->Release();
    store.reset();
    host::StopMessageStore();
    host::CloseDevice();
}

}  // namespace
