// The writes of the message store. Each is one transaction that also logs,
// for the notification threads, every change it made.
#include "StoreDb.h"

#include "StoreScopes.h"

#include <algorithm>
#include <chrono>

namespace cemapi {

namespace {

// Log entries are kept long enough for every process's notification thread
// to have read them.
constexpr int64_t kLogKeepMs = 60 * 1000;

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// A message without PR_MESSAGE_FLAGS has never been read.
bool UnreadIn(const std::vector<Prop>& props) {
    const Prop* flags = FindProp(props, PROP_ID(PR_MESSAGE_FLAGS));
    return !(flags && PROP_TYPE(flags->tag) == PT_LONG && (flags->number & MSGFLAG_READ));
}

int64_t DeliveredIn(const std::vector<Prop>& props) {
    const Prop* time = FindProp(props, PROP_ID(PR_MESSAGE_DELIVERY_TIME));
    return time && PROP_TYPE(time->tag) == PT_SYSTIME ? time->number : 0;
}

// What the message's row keeps of its PR_MESSAGE_FLAGS: NULL without one.
void BindFlags(host::Statement& st, int index, const std::vector<Prop>& props) {
    const Prop* flags = FindProp(props, PROP_ID(PR_MESSAGE_FLAGS));
    if (!flags)
        st.BindNull(index);
    else
        st.Bind(index, PROP_TYPE(flags->tag) == PT_LONG ? flags->number : kFlagsOfAnotherType);
}

void Add(CountChanges* changes, RowId folder, LONG count, LONG unread) {
    for (CountChange& change : *changes) {
        if (change.folder != folder) continue;
        change.count += count;
        change.unread += unread;
        return;
    }
    changes->push_back(CountChange{folder, count, unread});
}

std::vector<RowId> Distinct(std::vector<RowId> ids) {
    std::vector<RowId> out;
    for (RowId id : ids)
        if (std::find(out.begin(), out.end(), id) == out.end()) out.push_back(id);
    return out;
}

}  // namespace

void StoreDb::Log(ULONG event, ULONG type, RowId object, RowId parent, RowId oldObject, RowId oldParent,
                  const std::vector<ULONG>& tags) {
    host::Statement st = Prepare(
        "INSERT INTO changes(at, event, type, object, parent, old_object, old_parent, tags) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?)");
    st.Bind(1, NowMs())
        .Bind(2, static_cast<int64_t>(event))
        .Bind(3, static_cast<int64_t>(type))
        .Bind(4, object)
        .Bind(5, parent)
        .Bind(6, oldObject)
        .Bind(7, oldParent);
    if (tags.empty())
        st.BindNull(8);
    else
        st.BindBlob(8, tags.data(), tags.size() * sizeof(ULONG));
    if (!Run(st)) return;
    const int64_t seq = db_->LastInsertId();
    if (seq % 128 == 0) {
        // By the index on the time, so that a busy minute's log is not read
        // through to find that nothing is old enough yet.
        host::Statement prune = Prepare("DELETE FROM changes WHERE at < ? AND seq < ?");
        prune.Bind(1, NowMs() - kLogKeepMs).Bind(2, seq);
        Run(prune);
    }
}

void StoreDb::ApplyCounts(const CountChanges& changes) {
    for (const CountChange& change : changes) {
        std::vector<ULONG> tags;
        if (change.count) tags.push_back(PR_CONTENT_COUNT);
        if (change.unread) tags.push_back(PR_CONTENT_UNREAD);
        if (tags.empty()) continue;
        host::Statement st = Prepare(
            "UPDATE folders SET content_count = content_count + ?, content_unread = content_unread + ? WHERE id = ?");
        st.Bind(1, static_cast<int64_t>(change.count))
            .Bind(2, static_cast<int64_t>(change.unread))
            .Bind(3, change.folder);
        if (!Run(st)) return;
        Log(fnevObjectModified, MAPI_FOLDER, change.folder, kRootFolder, 0, 0, tags);
    }
}

void StoreDb::WriteProp(RowId message, const Prop& prop) {
    host::Statement st = Prepare(
        "INSERT OR REPLACE INTO props(message, id, type, number, bytes) VALUES (?, ?, ?, ?, ?)");
    st.Bind(1, message)
        .Bind(2, static_cast<int64_t>(PROP_ID(prop.tag)))
        .Bind(3, static_cast<int64_t>(PROP_TYPE(prop.tag)))
        .Bind(4, prop.number)
        .BindBlob(5, prop.bytes.data(), prop.bytes.size());
    Run(st);
}

HRESULT StoreDb::CreateMessage(RowId folder, const std::vector<Prop>& props, RowId* id, bool listed) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    const bool unread = UnreadIn(props);
    host::Statement insert = Prepare(
        "INSERT INTO messages(folder, unread, delivered, listed, flags) VALUES (?, ?, ?, ?, ?)");
    insert.Bind(1, folder).Bind(2, unread ? 1 : 0).Bind(3, DeliveredIn(props)).Bind(4, listed ? 1 : 0);
    BindFlags(insert, 5, props);
    if (!Run(insert)) return MAPI_E_CALL_FAILED;
    const RowId message = db_->LastInsertId();
    for (const Prop& prop : props) WriteProp(message, prop);
    Log(fnevObjectCreated, MAPI_MESSAGE, message, folder);
    if (listed) ApplyCounts({CountChange{folder, 1, unread ? 1 : 0}});
    HRESULT hr = write.Finish();
    if (SUCCEEDED(hr)) *id = message;
    return hr;
}

HRESULT StoreDb::List(RowId message) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    std::optional<MessageRow> row = RowOf(message);
    if (!row) return MAPI_E_OBJECT_DELETED;
    if (row->listed) return S_OK;
    host::Statement st = Prepare("UPDATE messages SET listed = 1 WHERE id = ?");
    st.Bind(1, message);
    Run(st);
    ApplyCounts({CountChange{row->folder, 1, row->unread ? 1 : 0}});
    return write.Finish();
}

HRESULT StoreDb::ListHeldBack() {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    CountChanges counts;
    {
        host::Statement st = Prepare("SELECT folder, unread FROM messages WHERE listed = 0");
        while (st.Step()) Add(&counts, st.Int(0), 1, st.Int(1) ? 1 : 0);
        if (st.error() != SQLITE_OK) return MAPI_E_CALL_FAILED;
    }
    if (counts.empty()) return S_OK;
    host::Statement st = Prepare("UPDATE messages SET listed = 1 WHERE listed = 0");
    Run(st);
    ApplyCounts(counts);
    return write.Finish();
}

HRESULT StoreDb::SetProps(RowId message, const std::vector<Prop>& props, const std::vector<ULONG>& removeIds) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    std::optional<MessageRow> row = RowOf(message);
    if (!row) return MAPI_E_OBJECT_DELETED;
    std::vector<Prop> current;
    if (!ReadProps(message, &current)) return MAPI_E_CALL_FAILED;

    std::vector<ULONG> changed;
    std::vector<Prop> after = current;
    for (const Prop& prop : props) {
        const Prop* old = FindProp(current, PROP_ID(prop.tag));
        if (old && SameValue(*old, prop)) continue;
        WriteProp(message, prop);
        changed.push_back(prop.tag);
        std::erase_if(after, [&](const Prop& p) { return PROP_ID(p.tag) == PROP_ID(prop.tag); });
        after.push_back(prop);
    }
    for (ULONG id : removeIds) {
        const Prop* old = FindProp(current, id);
        if (!old) continue;
        host::Statement st = Prepare("DELETE FROM props WHERE message = ? AND id = ?");
        st.Bind(1, message).Bind(2, static_cast<int64_t>(id));
        Run(st);
        changed.push_back(old->tag);
        std::erase_if(after, [&](const Prop& p) { return PROP_ID(p.tag) == id; });
    }
    if (!changed.empty()) {
        const bool unread = UnreadIn(after);
        host::Statement st = Prepare("UPDATE messages SET unread = ?, delivered = ?, flags = ? WHERE id = ?");
        st.Bind(1, unread ? 1 : 0).Bind(2, DeliveredIn(after)).Bind(4, message);
        BindFlags(st, 3, after);
        Run(st);
        Log(fnevObjectModified, MAPI_MESSAGE, message, row->folder, 0, 0, changed);
        if (row->listed)
            ApplyCounts({CountChange{row->folder, 0, static_cast<LONG>(unread) - static_cast<LONG>(row->unread)}});
    }
    return write.Finish();
}

HRESULT StoreDb::Transfer(const std::vector<RowId>& messages, RowId from, RowId to, bool move) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    std::vector<MessageRow> rows;
    for (RowId message : messages) {
        std::optional<MessageRow> row = RowOf(message);
        if (!row || row->folder != from) return MAPI_E_NOT_FOUND;
        rows.push_back(*row);
    }
    CountChanges counts;
    if (move) {
        // A message moved into its own folder stays where it is.
        if (from != to) {
            for (RowId message : Distinct(messages)) {
                const MessageRow& row = rows[std::find(messages.begin(), messages.end(), message) - messages.begin()];
                host::Statement st = Prepare("UPDATE messages SET folder = ? WHERE id = ?");
                st.Bind(1, to).Bind(2, message);
                Run(st);
                Log(fnevObjectMoved, MAPI_MESSAGE, message, to, message, from);
                // An unlisted message stays so, to be listed where it is then.
                if (!row.listed) continue;
                Add(&counts, from, -1, row.unread ? -1 : 0);
                Add(&counts, to, 1, row.unread ? 1 : 0);
            }
        }
    } else {
        for (size_t i = 0; i < messages.size(); ++i) {
            host::Statement insert = Prepare(
                "INSERT INTO messages(folder, unread, delivered, listed, flags) SELECT ?, unread, delivered, 1, flags "
                "FROM messages "
                "WHERE id = ?");
            insert.Bind(1, to).Bind(2, messages[i]);
            if (!Run(insert)) break;
            const RowId copy = db_->LastInsertId();
            host::Statement props = Prepare(
                "INSERT INTO props(message, id, type, number, bytes) "
                "SELECT ?, id, type, number, bytes FROM props WHERE message = ?");
            props.Bind(1, copy).Bind(2, messages[i]);
            Run(props);
            Log(fnevObjectCopied, MAPI_MESSAGE, copy, to, messages[i], from);
            Add(&counts, to, 1, rows[i].unread ? 1 : 0);
        }
    }
    ApplyCounts(counts);
    return write.Finish();
}

HRESULT StoreDb::Delete(const std::vector<RowId>& messages, RowId from) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    std::vector<std::pair<RowId, MessageRow>> found;
    for (RowId message : Distinct(messages)) {
        std::optional<MessageRow> row = RowOf(message);
        if (!row || row->folder != from) return MAPI_E_NOT_FOUND;
        found.emplace_back(message, *row);
    }
    CountChanges counts;
    for (const auto& [message, row] : found) {
        host::Statement st = Prepare("DELETE FROM messages WHERE id = ?");
        st.Bind(1, message);
        Run(st);
        Log(fnevObjectDeleted, MAPI_MESSAGE, message, from);
        if (row.listed) Add(&counts, from, -1, row.unread ? -1 : 0);
    }
    ApplyCounts(counts);
    return write.Finish();
}

}  // namespace cemapi
