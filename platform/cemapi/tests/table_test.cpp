// The contents table of a folder, read as the rule counts unread messages.
#include "MapiTestHelpers.h"

#include <TempDevice.h>
#include <coredll_host.h>
#include <sqlite_db.h>

#include <algorithm>

#include <sys/wait.h>
#include <unistd.h>

using namespace mapitest;

namespace {

class ContentsTableTest : public StoreTest {
protected:
    Ref<IMAPITable> TableOf(host::MessageFolder which) {
        Ref<IMAPIFolder> folder = Open<IMAPIFolder>(FolderId(which));
        Ref<IMAPITable> table;
        EXPECT_EQ(S_OK, folder->GetContentsTable(MAPI_UNICODE, table.out()));
        return table;
    }

    HRESULT Columns(IMAPITable* table, std::vector<ULONG> tags) {
        std::vector<ULONG> array{static_cast<ULONG>(tags.size())};
        array.insert(array.end(), tags.begin(), tags.end());
        return table->SetColumns(reinterpret_cast<LPSPropTagArray>(array.data()), 0);
    }

    // The subjects of the rows, read one QueryRows at a time.
    std::vector<std::u16string> Subjects(IMAPITable* table, LONG perQuery) {
        std::vector<std::u16string> subjects;
        for (;;) {
            Buffer<SRowSet> rows;
            EXPECT_EQ(S_OK, table->QueryRows(perQuery, 0, reinterpret_cast<LPSRowSet*>(rows.out())));
            if (!rows.get() || rows->cRows == 0) break;
            for (ULONG i = 0; i < rows->cRows; ++i) {
                const SRow& row = rows->aRow[i];
                subjects.push_back(row.lpProps[0].ulPropTag == PR_SUBJECT ? row.lpProps[0].Value.lpszW : u"?");
                MAPIFreeBuffer(row.lpProps);
            }
            rows->cRows = 0;
        }
        return subjects;
    }
};

TEST_F(ContentsTableTest, QueryRowsIsACursorOfOneRowPerCall) {
    Deliver(u"read", true);
    Deliver(u"new 1");
    Ref<IMessage> other = Open<IMessage>(Deliver(u"new 2"));
    ASSERT_EQ(S_OK, SetLong(other.get(), PR_MESSAGE_FLAGS, MSGFLAG_HASATTACH));
    Ref<IMAPITable> table = TableOf(host::MessageFolder::Inbox);
    ASSERT_EQ(S_OK, Columns(table.get(), {PR_MESSAGE_FLAGS}));
    ULONG total = 0;
    ASSERT_EQ(S_OK, table->GetRowCount(0, &total));
    EXPECT_EQ(3u, total);

    // As the rule counts: one row per call until the count is not 1.
    int rowsSeen = 0, unread = 0;
    for (;;) {
        LPSRowSet rows = nullptr;
        ASSERT_EQ(S_OK, table->QueryRows(1, 0, &rows));
        ASSERT_TRUE(rows);
        const ULONG count = rows->cRows;
        if (count == 1) {
            ++rowsSeen;
            ASSERT_EQ(1u, rows->aRow[0].cValues);
            const SPropValue& flags = rows->aRow[0].lpProps[0];
            if (flags.ulPropTag == PR_MESSAGE_FLAGS && !(flags.Value.l & MSGFLAG_READ)) ++unread;
        }
        FreeProws(rows);
        if (count != 1) break;
    }
    EXPECT_EQ(3, rowsSeen);
    EXPECT_EQ(2, unread);

    // At the end it stays at the end; a seek to the beginning rewinds.
    LPSRowSet rows = nullptr;
    ASSERT_EQ(S_OK, table->QueryRows(1, 0, &rows));
    EXPECT_EQ(0u, rows->cRows);
    FreeProws(rows);
    LONG sought = -1;
    ASSERT_EQ(S_OK, table->SeekRow(BOOKMARK_BEGINNING, 0, &sought));
    EXPECT_EQ(0, sought);
    ASSERT_EQ(S_OK, table->SeekRow(BOOKMARK_CURRENT, 7, &sought));
    EXPECT_EQ(3, sought);
    ASSERT_EQ(S_OK, table->SeekRow(BOOKMARK_BEGINNING, 1, nullptr));
    EXPECT_EQ(S_OK, Columns(table.get(), {PR_SUBJECT}));
    EXPECT_EQ((std::vector<std::u16string>{u"new 1", u"new 2"}), Subjects(table.get(), 1));

    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, table->QueryRows(0, 0, &rows));
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, table->QueryRows(-1, 0, &rows));
    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, table->SetColumns(nullptr, 0));
}

TEST_F(ContentsTableTest, RowsCarryErrorValuesForMissingColumns) {
    Ref<IMAPIFolder> drafts = Open<IMAPIFolder>(FolderId(host::MessageFolder::Drafts));
    Ref<IMessage> bare;
    ASSERT_EQ(S_OK, drafts->CreateMessage(nullptr, 0, bare.out()));
    Ref<IMAPITable> table;
    ASSERT_EQ(S_OK, drafts->GetContentsTable(0, table.out()));
    ASSERT_EQ(S_OK, Columns(table.get(), {PR_SENDER_NAME, PR_ENTRYID}));
    LPSRowSet rows = nullptr;
    ASSERT_EQ(S_OK, table->QueryRows(5, 0, &rows));
    ASSERT_EQ(1u, rows->cRows);
    ASSERT_EQ(2u, rows->aRow[0].cValues);
    EXPECT_EQ(PROP_TAG(PT_ERROR, PROP_ID(PR_SENDER_NAME)), rows->aRow[0].lpProps[0].ulPropTag);
    EXPECT_EQ(MAPI_E_NOT_FOUND, rows->aRow[0].lpProps[0].Value.err);
    EXPECT_EQ(ReadBinary(bare.get(), PR_ENTRYID), BytesOf(rows->aRow[0].lpProps[1].Value.bin));
    FreeProws(rows);
}

TEST_F(ContentsTableTest, FollowsTheFolderAndSortsNewestFirst) {
    Deliver(u"middle", false, 200);
    Deliver(u"oldest", false, 100);
    Ref<IMAPITable> table = TableOf(host::MessageFolder::Inbox);
    ASSERT_EQ(S_OK, Columns(table.get(), {PR_SUBJECT}));
    Deliver(u"newest", false, 300);  // after the table was made

    SSortOrderSet byTime{1, 0, 0, {{PR_MESSAGE_DELIVERY_TIME, TABLE_SORT_DESCEND}}};
    ASSERT_EQ(S_OK, table->SortTable(&byTime, 0));
    EXPECT_EQ((std::vector<std::u16string>{u"newest", u"middle", u"oldest"}), Subjects(table.get(), 3));
    SSortOrderSet byFlags{1, 0, 0, {{PR_MESSAGE_FLAGS, TABLE_SORT_ASCEND}}};
    EXPECT_EQ(MAPI_E_NO_SUPPORT, table->SortTable(&byFlags, 0));
    Buffer<SSortOrderSet> order;
    ASSERT_EQ(S_OK, table->QuerySortOrder(order.out()));
    EXPECT_EQ(1u, order->cSorts);
    EXPECT_EQ(PR_MESSAGE_DELIVERY_TIME, order->aSort[0].ulPropTag);

    // The default order is the order of arrival; the phone hands out at
    // most ten rows per call.
    for (int i = 0; i < 12; ++i) Deliver(u"more");
    SSortOrderSet none{0, 0, 0, {{0, 0}}};
    ASSERT_EQ(S_OK, table->SortTable(&none, 0));
    LPSRowSet rows = nullptr;
    ASSERT_EQ(S_OK, table->QueryRows(100, 0, &rows));
    EXPECT_EQ(10u, rows->cRows);
    EXPECT_EQ(std::u16string(u"middle"), rows->aRow[0].lpProps[0].Value.lpszW);
    FreeProws(rows);
    EXPECT_EQ(5u, Subjects(table.get(), 100).size());
}

// A walk row by row over more rows than the table reads at once sees every
// write of this process as it happens, and the columns last asked for.
TEST_F(ContentsTableTest, AWalkSeesTheProcesssWritesAndTheColumnsAskedForOnTheWay) {
    std::vector<Bytes> ids;
    for (int i = 0; i < 150; ++i)
        ids.push_back(Deliver(u"m" + std::u16string(1, u'0' + i / 100) + std::u16string(1, u'0' + i / 10 % 10) +
                              std::u16string(1, u'0' + i % 10)));
    Ref<IMAPITable> table = TableOf(host::MessageFolder::Inbox);
    ASSERT_EQ(S_OK, Columns(table.get(), {PR_SUBJECT}));
    std::vector<std::u16string> seen;
    std::vector<bool> read;
    auto next = [&] {
        LPSRowSet rows = nullptr;
        EXPECT_EQ(S_OK, table->QueryRows(1, 0, &rows));
        bool more = rows && rows->cRows == 1;
        if (more) {
            const SRow& row = rows->aRow[0];
            seen.push_back(row.lpProps[0].Value.lpszW);
            read.push_back(row.cValues > 1 && row.lpProps[1].ulPropTag == PR_MESSAGE_FLAGS &&
                           (row.lpProps[1].Value.ul & MSGFLAG_READ));
        }
        FreeProws(rows);
        return more;
    };
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(next());
    ASSERT_TRUE(host::DeleteMessage(ids[10]));         // ahead, in the rows read already
    ASSERT_TRUE(host::SetMessageRead(ids[20], true));  // ahead too
    ASSERT_TRUE(host::DeleteMessage(ids[100]));        // beyond them
    ASSERT_EQ(S_OK, Columns(table.get(), {PR_SUBJECT, PR_MESSAGE_FLAGS}));
    while (next()) {
    }
    ASSERT_EQ(seen.size(), 148u);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), u"m010"), 0);
    EXPECT_EQ(std::count(seen.begin(), seen.end(), u"m100"), 0);
    EXPECT_EQ(seen[5], u"m005");
    EXPECT_EQ(seen.back(), u"m149");
    auto m020 = std::find(seen.begin(), seen.end(), u"m020");
    ASSERT_NE(m020, seen.end());
    EXPECT_TRUE(read[m020 - seen.begin()]);
    EXPECT_EQ(std::count(read.begin(), read.end(), true), 1);
}

// A walk that asks only for the read state is answered from the message
// rows, not the props: it must see exactly what a walk of the props sees,
// whatever a message holds as its flags, in either order, and also on a
// store made before the rows kept them.
TEST_F(ContentsTableTest, AWalkOfTheFlagsAloneSeesWhatTheMessagesHold) {
    Bytes plain = Deliver(u"plain", false, 3);
    Bytes read = Deliver(u"read", true, 1);
    Bytes odd = Deliver(u"odd", false, 2);
    Bytes cleared = Deliver(u"cleared", true, 4);
    host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"held back", u"+79161234567", u"");
    {
        Ref<IMessage> message = Open<IMessage>(odd, MAPI_MODIFY);
        SPropValue value{};
        value.ulPropTag = PROP_TAG(PT_UNICODE, PROP_ID(PR_MESSAGE_FLAGS));
        value.Value.lpszW = const_cast<LPWSTR>(u"not a number");
        ASSERT_EQ(S_OK, message->SetProps(1, &value, nullptr));
        Ref<IMessage> other = Open<IMessage>(cleared, MAPI_MODIFY);
        SizedSPropTagArray(1, flags) = {1, {PR_MESSAGE_FLAGS}};
        ASSERT_EQ(S_OK, other->DeleteProps(reinterpret_cast<LPSPropTagArray>(&flags), nullptr));
    }
    // What each row answers for its flags: the value, or the error.
    auto walk = [&](std::vector<ULONG> columns, bool byTime) {
        Ref<IMAPITable> table = TableOf(host::MessageFolder::Inbox);
        EXPECT_EQ(S_OK, Columns(table.get(), columns));
        if (byTime) {
            SSortOrderSet order{1, 0, 0, {{PR_MESSAGE_DELIVERY_TIME, TABLE_SORT_DESCEND}}};
            EXPECT_EQ(S_OK, table->SortTable(&order, 0));
        }
        const size_t at = std::find(columns.begin(), columns.end(), PR_MESSAGE_FLAGS) - columns.begin();
        std::vector<std::pair<ULONG, ULONG>> answers;
        for (;;) {
            LPSRowSet rows = nullptr;
            EXPECT_EQ(S_OK, table->QueryRows(1, 0, &rows));
            const bool more = rows && rows->cRows == 1;
            if (more) {
                const SPropValue& value = rows->aRow[0].lpProps[at];
                answers.emplace_back(value.ulPropTag, value.Value.ul);
            }
            FreeProws(rows);
            if (!more) return answers;
        }
    };
    const std::vector<std::pair<ULONG, ULONG>> expected = {
        {PR_MESSAGE_FLAGS, 0},
        {PR_MESSAGE_FLAGS, MSGFLAG_READ},
        {PROP_TAG(PT_ERROR, PROP_ID(PR_MESSAGE_FLAGS)), static_cast<ULONG>(MAPI_E_NOT_FOUND)},
        {PR_MESSAGE_FLAGS, 0},
    };
    auto check = [&](const char* step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(walk({PR_MESSAGE_FLAGS}, false), expected);
        EXPECT_EQ(walk({PR_SUBJECT, PR_MESSAGE_FLAGS}, false), expected);
        EXPECT_EQ(walk({PR_ENTRYID, PR_MESSAGE_FLAGS}, false), expected);
        // Newest first: cleared, plain, odd, read.
        const std::vector<std::pair<ULONG, ULONG>> byTime = {expected[3], expected[0], expected[2], expected[1]};
        EXPECT_EQ(walk({PR_MESSAGE_FLAGS}, true), byTime);
        EXPECT_EQ(walk({PR_SUBJECT, PR_MESSAGE_FLAGS}, true), byTime);
    };
    check("as written");

    // A copy keeps the flags; marking read changes them.
    ASSERT_TRUE(host::SetMessageRead(plain, false));
    ASSERT_TRUE(host::SetMessageRead(read, false));
    ASSERT_TRUE(host::SetMessageRead(read, true));
    check("after the messaging application marked them");

    // The same store as an older version left it: no flags beside the rows.
    store_.reset();
    host::StopMessageStore();
    {
        std::unique_ptr<host::Database> db = host::Database::Open(host::DevicePath("messages.db"), "", nullptr);
        ASSERT_TRUE(db);
        ASSERT_TRUE(
            db->Exec("DROP INDEX messages_by_folder_flags; ALTER TABLE messages DROP COLUMN flags;"
                     "CREATE INDEX messages_by_folder ON messages(folder, id);"));
    }
    ASSERT_TRUE(host::OpenDevice(device_.folder()));
    store_ = Ref<IMsgStore>(host::OpenMessageStore());
    ASSERT_TRUE(store_);
    check("upgraded");
}

TEST_F(ContentsTableTest, FailuresATestAsksFor) {
    Deliver(u"one");
    Ref<IMAPIFolder> inbox = Open<IMAPIFolder>(FolderId(host::MessageFolder::Inbox));
    Ref<IMAPITable> table;
    host::FailCall("IMAPIFolder::GetContentsTable", 1, MAPI_E_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(MAPI_E_NOT_ENOUGH_MEMORY, inbox->GetContentsTable(MAPI_UNICODE, table.out()));
    EXPECT_FALSE(table);
    ASSERT_EQ(S_OK, inbox->GetContentsTable(MAPI_UNICODE, table.out()));

    host::FailCall("IMAPITable::SetColumns", 1, MAPI_E_BUSY);
    EXPECT_EQ(MAPI_E_BUSY, Columns(table.get(), {PR_MESSAGE_FLAGS}));
    host::FailCall("IMAPITable::QueryRows", 1, MAPI_E_CALL_FAILED);
    LPSRowSet rows = reinterpret_cast<LPSRowSet>(1);
    EXPECT_EQ(MAPI_E_CALL_FAILED, table->QueryRows(1, 0, &rows));
    EXPECT_EQ(nullptr, rows);

    // A row's value made an error comes back in its slot.
    ASSERT_EQ(S_OK, Columns(table.get(), {PR_MESSAGE_FLAGS}));
    host::FailCall("SPropValue", 1, MAPI_E_NOT_FOUND);
    ASSERT_EQ(S_OK, table->QueryRows(1, 0, &rows));
    ASSERT_EQ(1u, rows->cRows);
    EXPECT_EQ(PROP_TAG(PT_ERROR, PROP_ID(PR_MESSAGE_FLAGS)), rows->aRow[0].lpProps[0].ulPropTag);
    FreeProws(rows);

    // Any of a row set's allocations failing frees what was made (ASan
    // tells) and gives no rows; the others give the whole row.
    int failures = 0;
    for (int nth = 1; nth <= 8; ++nth) {
        for (const char* allocator : {"MAPIAllocateBuffer", "MAPIAllocateMore"}) {
            ASSERT_EQ(S_OK, table->SeekRow(BOOKMARK_BEGINNING, 0, nullptr));
            host::FailCall(allocator, nth, MAPI_E_NOT_ENOUGH_MEMORY);
            rows = nullptr;
            HRESULT hr = table->QueryRows(1, 0, &rows);
            host::ClearFaults();
            if (hr == MAPI_E_NOT_ENOUGH_MEMORY) {
                ++failures;
                EXPECT_EQ(nullptr, rows) << nth;
            } else {
                ASSERT_EQ(S_OK, hr) << nth;
                ASSERT_EQ(1u, rows->cRows) << nth;
                EXPECT_EQ(PR_MESSAGE_FLAGS, rows->aRow[0].lpProps[0].ulPropTag) << nth;
                FreeProws(rows);
            }
        }
    }
    EXPECT_GT(failures, 0);
}

// A walk of the flags alone reads them with the folder's order, but does not
// go on answering from that for ever: another process's writes are seen a
// page's length on, as a walk that reads page by page sees them; this
// process's writes at once.
TEST(ContentsTableProcesses, AWalkOfTheFlagsAloneSeesWritesOfEitherProcess) {
    testing_support::TempFolder folder;
    constexpr int kMessages = 5000;  // more than a table reads at once
    int go[2];
    ASSERT_EQ(0, pipe(go));
    pid_t child = fork();
    ASSERT_NE(-1, child);
    if (child == 0) {
        // Marks every message of the inbox read once told to.
        close(go[1]);
        char byte = 0;
        if (read(go[0], &byte, 1) != 1) _exit(10);
        if (!host::OpenDevice(folder.path())) _exit(11);
        for (const host::StoredMessage& message : host::ListMessages(host::MessageFolder::Inbox))
            if (!host::SetMessageRead(message.entry, true)) _exit(12);
        host::StopMessageStore();
        _exit(0);
    }
    close(go[0]);
    ASSERT_TRUE(host::OpenDevice(folder.path()));
    std::string error;
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    std::vector<Bytes> ids;
    for (int i = 0; i < kMessages; ++i) {
        host::StoredMessage message;
        message.messageClass = u"IPM.SMStext";
        message.subject = u"unread";
        ids.push_back(host::StoreMessage(host::MessageFolder::Inbox, message));
    }
    {
        Ref<IMsgStore> store(host::OpenMessageStore());
        ASSERT_TRUE(store);
        Bytes inbox = host::FolderEntryId(host::MessageFolder::Inbox);
        Ref<IMAPIFolder> opened;
        ASSERT_EQ(S_OK, store->OpenEntry(static_cast<ULONG>(inbox.size()), reinterpret_cast<LPENTRYID>(inbox.data()),
                                         nullptr, 0, nullptr, reinterpret_cast<IUnknown**>(opened.out())));
        Ref<IMAPITable> table;
        ASSERT_EQ(S_OK, opened->GetContentsTable(MAPI_UNICODE, table.out()));
        SizedSPropTagArray(1, columns) = {1, {PR_MESSAGE_FLAGS}};
        ASSERT_EQ(S_OK, table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0));
        std::vector<bool> read;
        auto next = [&] {
            LPSRowSet rows = nullptr;
            EXPECT_EQ(S_OK, table->QueryRows(1, 0, &rows));
            const bool more = rows && rows->cRows == 1;
            if (more)
                read.push_back(rows->aRow[0].lpProps[0].ulPropTag == PR_MESSAGE_FLAGS &&
                               (rows->aRow[0].lpProps[0].Value.ul & MSGFLAG_READ));
            FreeProws(rows);
            return more;
        };
        for (int i = 0; i < 10; ++i) ASSERT_TRUE(next());
        // This process: a row ahead is read, and one is deleted.
        ASSERT_TRUE(host::SetMessageRead(ids[20], true));
        ASSERT_TRUE(host::DeleteMessage(ids[30]));
        for (int i = 10; i < 100; ++i) ASSERT_TRUE(next());
        EXPECT_TRUE(read[20]);
        EXPECT_EQ(1, std::count(read.begin(), read.end(), true));

        // The other process reads them all.
        ASSERT_EQ(1, write(go[1], "g", 1));
        close(go[1]);
        int status = 0;
        ASSERT_EQ(child, waitpid(child, &status, 0));
        ASSERT_TRUE(WIFEXITED(status));
        ASSERT_EQ(0, WEXITSTATUS(status));
        while (next()) {
        }
        ASSERT_EQ(static_cast<size_t>(kMessages - 1), read.size());
        EXPECT_TRUE(read.back());
        EXPECT_FALSE(read[99]);
    }
    host::StopMessageStore();
    host::CloseDevice();
}

}  // namespace
