#include "StoreDb.h"

#include "StoreScopes.h"

#include <coredll_host.h>
#include <device_store.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <unordered_set>

namespace cemapi {

namespace {

// The folders are rows 1 to 6: the root, then the five folders the phone's
// messaging application shows. Message rows are never reused, so that an
// entry identifier of a deleted message cannot come to name a newer one.
const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS store_info(key TEXT PRIMARY KEY, value BLOB NOT NULL);
INSERT OR IGNORE INTO store_info(key, value) VALUES ('uid', randomblob(16));
CREATE TABLE IF NOT EXISTS folders(
    id INTEGER PRIMARY KEY, parent INTEGER NOT NULL, name TEXT NOT NULL,
    content_count INTEGER NOT NULL DEFAULT 0, content_unread INTEGER NOT NULL DEFAULT 0);
INSERT OR IGNORE INTO folders(id, parent, name) VALUES
    (1, 1, ''), (2, 1, 'Inbox'), (3, 1, 'Outbox'), (4, 1, 'Sent Items'), (5, 1, 'Drafts'), (6, 1, 'Deleted Items');
CREATE TABLE IF NOT EXISTS messages(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    folder INTEGER NOT NULL REFERENCES folders(id),
    unread INTEGER NOT NULL DEFAULT 1,
    delivered INTEGER NOT NULL DEFAULT 0,
    listed INTEGER NOT NULL DEFAULT 1,
    flags INTEGER);
CREATE TABLE IF NOT EXISTS props(
    message INTEGER NOT NULL REFERENCES messages(id) ON DELETE CASCADE,
    id INTEGER NOT NULL,
    type INTEGER NOT NULL,
    number INTEGER NOT NULL DEFAULT 0,
    bytes BLOB,
    PRIMARY KEY(message, id)) WITHOUT ROWID;
CREATE TABLE IF NOT EXISTS changes(
    seq INTEGER PRIMARY KEY AUTOINCREMENT,
    at INTEGER NOT NULL,
    event INTEGER NOT NULL,
    type INTEGER NOT NULL,
    object INTEGER NOT NULL,
    parent INTEGER NOT NULL,
    old_object INTEGER NOT NULL DEFAULT 0,
    old_parent INTEGER NOT NULL DEFAULT 0,
    tags BLOB);
CREATE INDEX IF NOT EXISTS changes_by_time ON changes(at);
)sql";

// A store made before the folders kept their counts, and the messages their
// read state and delivery time, gets them once, computed from the props.
const char kUpgrade[] = R"sql(
ALTER TABLE folders ADD COLUMN content_count INTEGER NOT NULL DEFAULT 0;
ALTER TABLE folders ADD COLUMN content_unread INTEGER NOT NULL DEFAULT 0;
ALTER TABLE messages ADD COLUMN unread INTEGER NOT NULL DEFAULT 1;
ALTER TABLE messages ADD COLUMN delivered INTEGER NOT NULL DEFAULT 0;
ALTER TABLE messages ADD COLUMN listed INTEGER NOT NULL DEFAULT 1;
UPDATE messages SET
    unread = coalesce((SELECT (p.number & 1) = 0 FROM props p
                       WHERE p.message = messages.id AND p.id = 3591 AND p.type = 3), 1),
    delivered = coalesce((SELECT p.number FROM props p
                          WHERE p.message = messages.id AND p.id = 3590 AND p.type = 64), 0);
UPDATE folders SET
    content_count = (SELECT count(*) FROM messages m WHERE m.folder = folders.id),
    content_unread = (SELECT count(*) FROM messages m WHERE m.folder = folders.id AND m.unread);
)sql";

// A store upgraded while arriving messages were not yet held back.
const char kUpgradeListed[] = "ALTER TABLE messages ADD COLUMN listed INTEGER NOT NULL DEFAULT 1";

// A store made before the messages kept their flags on their rows.
const char kUpgradeFlags[] = R"sql(
ALTER TABLE messages ADD COLUMN flags INTEGER;
UPDATE messages SET flags =
    (SELECT CASE WHEN p.type = 3 THEN p.number ELSE 4294967296 END FROM props p
     WHERE p.message = messages.id AND p.id = 3591);
)sql";

// The newest messages of a folder are read from the end of the first index;
// the few messages held back are found through the second.
// A folder's messages in the order of arrival, with their flags, are read
// from the third alone (it replaces an index without the flags).
const char kIndexes[] =
    "CREATE INDEX IF NOT EXISTS messages_by_delivery ON messages(folder, delivered, id);"
    "CREATE INDEX IF NOT EXISTS messages_held_back ON messages(id) WHERE listed = 0;"
    "CREATE INDEX IF NOT EXISTS messages_by_folder_flags ON messages(folder, id, flags);"
    "DROP INDEX IF EXISTS messages_by_folder;";

bool HasColumn(host::Database& db, const char* table, const char* column) {
    host::Statement st = db.Prepare("SELECT 1 FROM pragma_table_info(?) WHERE name = ?");
    st.Bind(1, table).Bind(2, column);
    return st.Step();
}

// Another process may upgrade the same store at once: the check is repeated
// inside the write transaction.
bool Upgrade(host::Database& db) {
    if (!HasColumn(db, "messages", "delivered")) {
        host::Transaction tx(db);
        if (!tx.ok()) return false;
        if (!HasColumn(db, "messages", "delivered") && !db.Exec(kUpgrade)) return false;
        if (!tx.Commit()) return false;
    }
    if (!HasColumn(db, "messages", "listed")) {
        host::Transaction tx(db);
        if (!tx.ok()) return false;
        if (!HasColumn(db, "messages", "listed") && !db.Exec(kUpgradeListed)) return false;
        if (!tx.Commit()) return false;
    }
    if (!HasColumn(db, "messages", "flags")) {
        host::Transaction tx(db);
        if (!tx.ok()) return false;
        if (!HasColumn(db, "messages", "flags") && !db.Exec(kUpgradeFlags)) return false;
        if (!tx.Commit()) return false;
    }
    return db.Exec(kIndexes);
}

// "?,?,...,?": n parameters of an IN list.
std::string Placeholders(size_t n) {
    std::string list = "?";
    for (size_t i = 1; i < n; ++i) list += ",?";
    return list;
}

// Messages from a query whose rows are a message's id and folder, then one
// of its properties (id, type, number, bytes; NULL for a message without
// any), a message's rows together. Each is handed to `each` once its rows
// are read, in one buffer that the next message reuses (`each` may take
// what it holds); only the properties listed in `wanted` are kept (all of
// them when it is empty).
bool EachJoinedMessage(host::Statement& st, const std::vector<ULONG>& wanted,
                       const std::function<void(MessageData&)>& each) {
    MessageData message;
    bool any = false;
    while (st.Step()) {
        const RowId id = st.Int(0);
        if (!any || message.id != id) {
            if (any) each(message);
            any = true;
            message.id = id;
            message.folder = st.Int(1);
            message.props.clear();
        }
        if (st.IsNull(2)) continue;
        const ULONG propId = static_cast<ULONG>(st.Int(2));
        if (!wanted.empty() && std::find(wanted.begin(), wanted.end(), propId) == wanted.end()) continue;
        message.props.push_back(Prop{PROP_TAG(static_cast<ULONG>(st.Int(3)), propId), st.Int(4), st.Blob(5)});
    }
    if (st.error() != SQLITE_OK) return false;
    if (any) each(message);
    return true;
}

std::optional<std::vector<MessageData>> JoinedMessages(host::Statement& st) {
    std::vector<MessageData> messages;
    if (!EachJoinedMessage(st, {}, [&](MessageData& message) { messages.push_back(std::move(message)); }))
        return std::nullopt;
    return messages;
}

}  // namespace

std::shared_ptr<StoreDb> StoreDb::Current(HRESULT* hr) {
    static host::DeviceStore<StoreDb> current;
    return current.Get([hr](unsigned generation) -> std::shared_ptr<StoreDb> {
        std::string path = host::DevicePath("messages.db");
        if (path.empty()) {
            *hr = MAPI_E_NOT_INITIALIZED;
            return nullptr;
        }
        // Every read and write holds the connection's lock (the scopes).
        std::unique_ptr<host::Database> db = host::Database::Open(path, kSchema, nullptr,
                                                                  host::Database::Locking::Owner);
        if (!db || !Upgrade(*db)) {
            *hr = MAPI_E_CALL_FAILED;
            return nullptr;
        }
        StoreUid uid{};
        host::Statement st = db->Prepare("SELECT value FROM store_info WHERE key = 'uid'");
        std::vector<uint8_t> bytes = st.Step() ? st.Blob(0) : std::vector<uint8_t>();
        if (bytes.size() != uid.size()) {
            *hr = MAPI_E_CORRUPT_DATA;
            return nullptr;
        }
        std::memcpy(uid.data(), bytes.data(), uid.size());
        return std::make_shared<StoreDb>(std::move(db), path, uid, generation);
    });
}

void StoreDb::StopAllNotifications() {
    for (auto& notifier : Notifier::All()) notifier->Stop();
}

StoreDb::StoreDb(std::unique_ptr<host::Database> db, std::string path, const StoreUid& uid, unsigned generation)
    : db_(std::move(db)),
      uid_(uid),
      generation_(generation),
      notifier_(std::make_shared<Notifier>(std::move(path), uid)) {}

StoreDb::~StoreDb() { notifier_->Stop(); }

host::Statement StoreDb::Prepare(const char* sql) {
    host::Statement st = db_->Prepare(sql);
    if (!st.ok()) failed_ = true;
    return st;
}

bool StoreDb::Run(host::Statement& st) {
    if (st.Run()) return true;
    failed_ = true;
    return false;
}

std::optional<StoreDb::MessageRow> StoreDb::RowOf(RowId message) {
    host::Statement st = Prepare("SELECT folder, unread, listed FROM messages WHERE id = ?");
    st.Bind(1, message);
    if (!st.Step()) return std::nullopt;
    return MessageRow{st.Int(0), st.Int(1) != 0, st.Int(2) != 0};
}

bool StoreDb::ReadProps(RowId message, std::vector<Prop>* props) {
    host::Statement st = Prepare("SELECT id, type, number, bytes FROM props WHERE message = ? ORDER BY id");
    st.Bind(1, message);
    while (st.Step())
        props->push_back(
            Prop{PROP_TAG(static_cast<ULONG>(st.Int(1)), static_cast<ULONG>(st.Int(0))), st.Int(2), st.Blob(3)});
    return st.error() == SQLITE_OK;
}

std::optional<FolderInfo> StoreDb::Folder(RowId folder) {
    ReadScope read(*this);
    host::Statement st = Prepare("SELECT name, parent, content_count, content_unread FROM folders WHERE id = ?");
    st.Bind(1, folder);
    if (!st.Step()) return std::nullopt;
    return FolderInfo{host::FromUtf8(st.Text(0)), st.Int(1), static_cast<LONG>(st.Int(2)),
                      static_cast<LONG>(st.Int(3))};
}

std::optional<MessageData> StoreDb::Message(RowId message) {
    ReadScope read(*this);
    std::optional<MessageRow> row = RowOf(message);
    if (!row) return std::nullopt;
    MessageData data{message, row->folder, {}};
    if (!ReadProps(message, &data.props)) return std::nullopt;
    return data;
}

std::optional<std::vector<MessageData>> StoreDb::Messages(const std::vector<RowId>& messages,
                                                          const std::vector<ULONG>& propIds) {
    if (messages.empty()) return std::vector<MessageData>();
    std::string sql =
        "SELECT m.id, m.folder, p.id, p.type, p.number, p.bytes FROM messages m LEFT JOIN props p ON p.message = m.id";
    if (!propIds.empty()) sql += " AND p.id IN (" + Placeholders(propIds.size()) + ")";
    sql += " WHERE m.id IN (" + Placeholders(messages.size()) + ") ORDER BY m.id, p.id";
    ReadScope read(*this);
    host::Statement st = Prepare(sql.c_str());
    int index = 1;
    for (ULONG id : propIds) st.Bind(index++, static_cast<int64_t>(id));
    for (RowId id : messages) st.Bind(index++, id);
    return JoinedMessages(st);
}

std::optional<std::vector<FlagsRow>> StoreDb::MessageFlags(RowId folder, const std::vector<RowId>& messages) {
    if (messages.empty()) return std::vector<FlagsRow>();
    ReadScope read(*this);
    const bool ascending = std::is_sorted(messages.begin(), messages.end());
    std::vector<RowId> sorted;
    if (!ascending) {
        sorted = messages;
        std::sort(sorted.begin(), sorted.end());
    }
    const std::vector<RowId>& wanted = ascending ? messages : sorted;
    host::Statement st;
    // A NULL is read as kNoFlags in the same column: one call a row less.
    if (ascending) {
        st = Prepare("SELECT id, ifnull(flags, ?) FROM messages WHERE folder = ? AND id BETWEEN ? AND ? ORDER BY id");
        st.Bind(1, kNoFlags).Bind(2, folder).Bind(3, wanted.front()).Bind(4, wanted.back());
    } else {
        const std::string sql = "SELECT id, ifnull(flags, ?) FROM messages WHERE folder = ? AND id IN (" +
                                Placeholders(messages.size()) + ") ORDER BY id";
        st = Prepare(sql.c_str());
        st.Bind(1, kNoFlags).Bind(2, folder);
        int index = 3;
        for (RowId id : messages) st.Bind(index++, id);
    }
    std::vector<FlagsRow> found;
    found.reserve(wanted.size());
    // Both in id order: a message that arrived in the range since the ids
    // were listed, or is held back, is passed over.
    auto next = wanted.begin();
    while (st.Step()) {
        const RowId id = st.Int(0);
        while (next != wanted.end() && *next < id) ++next;
        if (next == wanted.end()) break;
        if (*next == id) found.push_back(FlagsRow{id, st.Int(1)});
    }
    if (st.error() != SQLITE_OK) return std::nullopt;
    return found;
}

bool StoreDb::NewestFirst(RowId folder, const std::vector<ULONG>& propIds,
                          const std::function<void(MessageData&)>& each) {
    // A message's properties are read as one range and those not wanted
    // skipped: cheaper than a lookup of each wanted one.
    ReadScope read(*this);
    host::Statement st = Prepare(
        "SELECT m.id, m.folder, p.id, p.type, p.number, p.bytes FROM messages m LEFT JOIN props p ON p.message = m.id "
        "WHERE m.folder = ? AND m.listed ORDER BY m.delivered DESC, m.id DESC, p.id");
    st.Bind(1, folder);
    return EachJoinedMessage(st, propIds, each);
}

std::optional<RowId> StoreDb::NthNewest(RowId folder, LONG n) {
    ReadScope read(*this);
    host::Statement st = Prepare(
        "SELECT id FROM messages WHERE folder = ? AND listed ORDER BY delivered DESC, id DESC LIMIT 1 OFFSET ?");
    st.Bind(1, folder).Bind(2, static_cast<int64_t>(n) - 1);
    if (!st.Step()) return std::nullopt;
    return st.Int(0);
}

std::optional<std::unordered_set<RowId>> StoreDb::HeldBack() {
    std::unordered_set<RowId> heldBack;
    host::Statement held = Prepare("SELECT id FROM messages WHERE listed = 0");
    while (held.Step()) heldBack.insert(held.Int(0));
    if (held.error() != SQLITE_OK) return std::nullopt;
    return heldBack;
}

std::optional<std::vector<RowId>> StoreDb::ListedIds(RowId folder) {
    ReadScope read(*this);
    // The folder's index is read without the rows.
    std::optional<std::unordered_set<RowId>> heldBack = HeldBack();
    if (!heldBack) return std::nullopt;
    host::Statement st = Prepare("SELECT id FROM messages WHERE folder = ? ORDER BY id");
    st.Bind(1, folder);
    std::vector<RowId> ids;
    while (st.Step())
        if (const RowId id = st.Int(0); heldBack->empty() || !heldBack->count(id)) ids.push_back(id);
    if (st.error() != SQLITE_OK) return std::nullopt;
    return ids;
}

bool StoreDb::ListedFlags(RowId folder, std::vector<RowId>* ids, std::vector<int64_t>* flags) {
    ReadScope read(*this);
    std::optional<std::unordered_set<RowId>> heldBack = HeldBack();
    if (!heldBack) return false;
    ids->clear();
    flags->clear();
    // The folder's count says how many there are: a large folder's listing
    // is not grown a doubling at a time.
    if (std::optional<FolderInfo> info = Folder(folder); info && info->count > 0) {
        ids->reserve(static_cast<size_t>(info->count));
        flags->reserve(static_cast<size_t>(info->count));
    }
    host::Statement st = Prepare("SELECT id, ifnull(flags, ?) FROM messages WHERE folder = ? ORDER BY id");
    st.Bind(1, kNoFlags).Bind(2, folder);
    while (st.Step()) {
        const RowId id = st.Int(0);
        if (!heldBack->empty() && heldBack->count(id)) continue;
        ids->push_back(id);
        flags->push_back(st.Int(1));
    }
    return st.error() == SQLITE_OK;
}

std::optional<std::vector<SortKey>> StoreDb::SortKeys(RowId folder, ULONG sortPropId) {
    ReadScope read(*this);
    host::Statement st = Prepare(
        "SELECT m.id, p.type, p.number, p.bytes FROM messages m "
        "LEFT JOIN props p ON p.message = m.id AND p.id = ? WHERE m.folder = ? AND m.listed ORDER BY m.id");
    st.Bind(1, static_cast<int64_t>(sortPropId)).Bind(2, folder);
    std::vector<SortKey> keys;
    while (st.Step()) {
        SortKey key{st.Int(0), std::nullopt};
        if (!st.IsNull(1)) key.value = Prop{PROP_TAG(static_cast<ULONG>(st.Int(1)), sortPropId), st.Int(2), st.Blob(3)};
        keys.push_back(std::move(key));
    }
    if (st.error() != SQLITE_OK) return std::nullopt;
    return keys;
}

namespace {
std::atomic<int64_t> g_processWrites{0};
}  // namespace

void CountProcessWrite() { g_processWrites.fetch_add(1, std::memory_order_relaxed); }

int64_t StoreDb::ProcessWrites() { return g_processWrites.load(std::memory_order_relaxed); }

int64_t StoreDb::LastChange() {
    ReadScope read(*this);
    host::Statement st = Prepare("SELECT seq FROM sqlite_sequence WHERE name = 'changes'");
    return st.Step() ? st.Int(0) : 0;
}

}  // namespace cemapi
