// The message store of the device as SQLite tables (messages.db in the
// device folder): folders, messages with their properties, and the change
// log from which every process's notification thread learns what changed.
// Internal to cemapi; the COM objects check arguments and call this.
#pragma once

#include "EntryId.h"
#include "Notifier.h"
#include "PropValues.h"

#include <sqlite_db.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_set>
#include <vector>

namespace cemapi {

// The folders keep their PR_CONTENT_COUNT and PR_CONTENT_UNREAD (of their
// listed messages) in their rows, and each message its read state and delivery time beside its props,
// changed in the same transaction as what they follow, so that no read or
// write has to walk a folder to count it.
//
// The folders have fixed rows, so that every process agrees on them
// however the store was made.
enum : RowId {
    kRootFolder = 1,
    kInbox = 2,
    kOutbox = 3,
    kSentItems = 4,
    kDrafts = 5,
    kDeletedItems = 6,
};

// A message's row keeps its PR_MESSAGE_FLAGS beside its props, so that the
// lists that show the read state need not read the props; NULL when it has
// none, and this value when the property was stored with another type (the
// props hold it then).
constexpr int64_t kFlagsOfAnotherType = int64_t{1} << 32;
// What a read of the rows' flags answers for a message without them.
constexpr int64_t kNoFlags = int64_t{1} << 33;

// A message's flags as its row keeps them: a LONG's value, kNoFlags or
// kFlagsOfAnotherType.
struct FlagsRow {
    RowId id = 0;
    int64_t flags = kNoFlags;
};

struct FolderInfo {
    std::u16string name;
    RowId parent = 0;
    LONG count = 0;
    LONG unread = 0;
};

struct MessageData {
    RowId id = 0;
    RowId folder = 0;
    std::vector<Prop> props;
};

// How one write changes the counts of a folder.
struct CountChange {
    RowId folder = 0;
    LONG count = 0;
    LONG unread = 0;
};
// The folders a write touches, in the order it first touched them.
using CountChanges = std::vector<CountChange>;

// A message of a folder with the value it is sorted by (when it has one).
struct SortKey {
    RowId id = 0;
    std::optional<Prop> value;
};

class StoreDb {
public:
    // The store of the open device, opened on first use (making the folders
    // if the device has none) and reopened when another device is opened.
    static std::shared_ptr<StoreDb> Current(HRESULT* hr);
    // Every notifier of the process, so that the host can stop them.
    static void StopAllNotifications();

    StoreDb(std::unique_ptr<host::Database> db, std::string path, const StoreUid& uid, unsigned generation);
    ~StoreDb();
    StoreDb(const StoreDb&) = delete;
    StoreDb& operator=(const StoreDb&) = delete;

    const StoreUid& uid() const { return uid_; }
    std::vector<BYTE> EntryId(ULONG kind, RowId row) const { return MakeEntryId(uid_, {kind, row}); }
    Notifier& notifier() { return *notifier_; }

    // Reads: nullopt when the object is not there, or the read failed.
    std::optional<FolderInfo> Folder(RowId folder);
    std::optional<MessageData> Message(RowId message);
    // Several messages in one query, in any order, each with only the
    // properties whose ids are listed (all of them when none is); a message
    // no longer in the store is left out.
    std::optional<std::vector<MessageData>> Messages(const std::vector<RowId>& messages,
                                                     const std::vector<ULONG>& propIds);
    // The flags of several messages from their rows alone, for the lists that
    // show only the read state: the folder's messages among those listed, in
    // ascending id order. Ids in ascending order are read as one range.
    std::optional<std::vector<FlagsRow>> MessageFlags(RowId folder, const std::vector<RowId>& messages);
    // The messages of a folder newest first (latest delivery time, and of one
    // moment the last to arrive), read in one query, each handed to `each` as
    // it is read, with only the properties whose ids are listed (all of them
    // when none is): a folder of any size is listed without holding it whole.
    bool NewestFirst(RowId folder, const std::vector<ULONG>& propIds,
                     const std::function<void(MessageData&)>& each);
    // The nth of them (1 = the newest).
    std::optional<RowId> NthNewest(RowId folder, LONG n);
    // The listed messages of a folder in the order of arrival, from the
    // folder's index alone; and with the values of one property to sort by.
    std::optional<std::vector<RowId>> ListedIds(RowId folder);
    // The same with each message's flags (as a FlagsRow keeps them), read
    // from the same index; false when the store cannot be read.
    bool ListedFlags(RowId folder, std::vector<RowId>* ids, std::vector<int64_t>* flags);
    std::optional<std::vector<SortKey>> SortKeys(RowId folder, ULONG sortPropId);
    // The newest entry of the change log: any write of any process moves it.
    int64_t LastChange();
    // Moves with every write this process commits to any store, at no cost
    // to read: what a reader of this process has read is stale once it moved.
    static int64_t ProcessWrites();

    // Writes: each is one transaction, and logs what it changed.
    // An unlisted message is in its folder (it can be opened, changed, moved
    // and deleted) but neither in the folder's contents table nor in its
    // counts until List: an arriving message while the rule clients run.
    HRESULT CreateMessage(RowId folder, const std::vector<Prop>& props, RowId* id, bool listed = true);
    // Lists a message in the folder it is in now; nothing for a listed one.
    HRESULT List(RowId message);
    HRESULT ListHeldBack();
    // Sets (props) and removes (propIds) properties; one notification lists
    // the tags whose values really changed.
    HRESULT SetProps(RowId message, const std::vector<Prop>& props, const std::vector<ULONG>& removeIds);
    // Moves or copies messages of folder from to folder to: all or nothing,
    // MAPI_E_NOT_FOUND when one of them is not in from.
    HRESULT Transfer(const std::vector<RowId>& messages, RowId from, RowId to, bool move);
    HRESULT Delete(const std::vector<RowId>& messages, RowId from);

private:
    class ReadScope;
    class WriteScope;
    struct MessageRow {
        RowId folder = 0;
        bool unread = true;
        bool listed = true;
    };

    host::Statement Prepare(const char* sql);
    bool Run(host::Statement& st);
    std::optional<MessageRow> RowOf(RowId message);
    // The few messages held back from the listings, from their own index.
    std::optional<std::unordered_set<RowId>> HeldBack();
    bool ReadProps(RowId message, std::vector<Prop>* props);
    void WriteProp(RowId message, const Prop& prop);
    void Log(ULONG event, ULONG type, RowId object, RowId parent, RowId oldObject = 0, RowId oldParent = 0,
             const std::vector<ULONG>& tags = {});
    // Writes the new counts into the folders' rows and logs each folder
    // whose counts changed.
    void ApplyCounts(const CountChanges& changes);

    std::unique_ptr<host::Database> db_;
    const StoreUid uid_;
    const unsigned generation_;
    std::shared_ptr<Notifier> notifier_;
    bool failed_ = false;  // a statement of the current scope failed
    int readDepth_ = 0;
};

}  // namespace cemapi
