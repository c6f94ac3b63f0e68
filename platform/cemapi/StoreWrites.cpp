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
        host::Statement prune = Prepare("DELETE FROM changes WHERE at < ? AND seq < ?");
        prune.Bind(1, NowMs() - kLogKeepMs).Bind(2, seq);
        Run(prune);
    }
}

void StoreDb::LogFolder(RowId folder, const Counts& before) {
    std::optional<Counts> after = CountsOf(folder);
    if (!after) return;
    std::vector<ULONG> tags;
    if (after->count != before.count) tags.push_back(PR_CONTENT_COUNT);
    if (after->unread != before.unread) tags.push_back(PR_CONTENT_UNREAD);
    if (!tags.empty()) Log(fnevObjectModified, MAPI_FOLDER, folder, kRootFolder, 0, 0, tags);
}

HRESULT StoreDb::CreateMessage(RowId folder, const std::vector<Prop>& props, RowId* id) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    std::optional<Counts> before = CountsOf(folder);
    if (!before) return MAPI_E_CALL_FAILED;
    host::Statement insert = Prepare("INSERT INTO messages(folder) VALUES (?)");
    insert.Bind(1, folder);
    if (!Run(insert)) return MAPI_E_CALL_FAILED;
    const RowId message = db_->LastInsertId();
    for (const Prop& prop : props) {
        host::Statement st = Prepare("INSERT OR REPLACE INTO props(message, id, type, number, bytes) VALUES (?, ?, ?, ?, ?)");
        st.Bind(1, message)
            .Bind(2, static_cast<int64_t>(PROP_ID(prop.tag)))
            .Bind(3, static_cast<int64_t>(PROP_TYPE(prop.tag)))
            .Bind(4, prop.number)
            .BindBlob(5, prop.bytes.data(), prop.bytes.size());
        Run(st);
    }
    Log(fnevObjectCreated, MAPI_MESSAGE, message, folder);
    LogFolder(folder, *before);
    HRESULT hr = write.Finish();
    if (SUCCEEDED(hr)) *id = message;
    return hr;
}

HRESULT StoreDb::SetProps(RowId message, const std::vector<Prop>& props, const std::vector<ULONG>& removeIds) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    std::optional<RowId> folder = FolderOf(message);
    if (!folder) return MAPI_E_OBJECT_DELETED;
    std::optional<Counts> before = CountsOf(*folder);
    std::vector<Prop> current;
    if (!before || !ReadProps(message, &current)) return MAPI_E_CALL_FAILED;

    std::vector<ULONG> changed;
    for (const Prop& prop : props) {
        const Prop* old = FindProp(current, PROP_ID(prop.tag));
        if (old && SameValue(*old, prop)) continue;
        host::Statement st = Prepare("INSERT OR REPLACE INTO props(message, id, type, number, bytes) VALUES (?, ?, ?, ?, ?)");
        st.Bind(1, message)
            .Bind(2, static_cast<int64_t>(PROP_ID(prop.tag)))
            .Bind(3, static_cast<int64_t>(PROP_TYPE(prop.tag)))
            .Bind(4, prop.number)
            .BindBlob(5, prop.bytes.data(), prop.bytes.size());
        Run(st);
        changed.push_back(prop.tag);
    }
    for (ULONG id : removeIds) {
        const Prop* old = FindProp(current, id);
        if (!old) continue;
        host::Statement st = Prepare("DELETE FROM props WHERE message = ? AND id = ?");
        st.Bind(1, message).Bind(2, static_cast<int64_t>(id));
        Run(st);
        changed.push_back(old->tag);
    }
    if (!changed.empty()) {
        Log(fnevObjectModified, MAPI_MESSAGE, message, *folder, 0, 0, changed);
        LogFolder(*folder, *before);
    }
    return write.Finish();
}

HRESULT StoreDb::Transfer(const std::vector<RowId>& messages, RowId from, RowId to, bool move) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    for (RowId message : messages) {
        std::optional<RowId> folder = FolderOf(message);
        if (!folder || *folder != from) return MAPI_E_NOT_FOUND;
    }
    std::optional<Counts> beforeFrom = CountsOf(from), beforeTo = CountsOf(to);
    if (!beforeFrom || !beforeTo) return MAPI_E_CALL_FAILED;
    if (move) {
        // A message moved into its own folder stays where it is.
        if (from != to) {
            for (RowId message : Distinct(messages)) {
                host::Statement st = Prepare("UPDATE messages SET folder = ? WHERE id = ?");
                st.Bind(1, to).Bind(2, message);
                Run(st);
                Log(fnevObjectMoved, MAPI_MESSAGE, message, to, message, from);
            }
        }
    } else {
        for (RowId message : messages) {
            host::Statement insert = Prepare("INSERT INTO messages(folder) VALUES (?)");
            insert.Bind(1, to);
            if (!Run(insert)) break;
            const RowId copy = db_->LastInsertId();
            host::Statement props = Prepare(
                "INSERT INTO props(message, id, type, number, bytes) "
                "SELECT ?, id, type, number, bytes FROM props WHERE message = ?");
            props.Bind(1, copy).Bind(2, message);
            Run(props);
            Log(fnevObjectCopied, MAPI_MESSAGE, copy, to, message, from);
        }
    }
    LogFolder(from, *beforeFrom);
    if (to != from) LogFolder(to, *beforeTo);
    return write.Finish();
}

HRESULT StoreDb::Delete(const std::vector<RowId>& messages, RowId from) {
    WriteScope write(*this);
    if (!write.ok()) return MAPI_E_BUSY;
    for (RowId message : messages) {
        std::optional<RowId> folder = FolderOf(message);
        if (!folder || *folder != from) return MAPI_E_NOT_FOUND;
    }
    std::optional<Counts> before = CountsOf(from);
    if (!before) return MAPI_E_CALL_FAILED;
    for (RowId message : Distinct(messages)) {
        host::Statement st = Prepare("DELETE FROM messages WHERE id = ?");
        st.Bind(1, message);
        Run(st);
        Log(fnevObjectDeleted, MAPI_MESSAGE, message, from);
    }
    LogFolder(from, *before);
    return write.Finish();
}

}  // namespace cemapi
