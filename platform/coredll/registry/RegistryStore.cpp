// The registry of the device on SQLite (registry.db in the device folder).
#include "registry/RegistryStore.h"

#include <coredll_host.h>
#include <device_store.h>

#include <cstring>

namespace registry {

namespace {

// Names and classes are kept as UTF-16LE blobs, so that any name the
// platform accepts (lone surrogates included) survives unchanged.
// Roots are rows 1 to 4; ids are never reused, so that a handle of a
// deleted key cannot come to name a newer one. reg_versions counts the
// writes to a key's subkeys and values, so that an enumeration can tell
// that the rows it walks are still the ones it began on.
const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS reg_keys(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER,
    name BLOB NOT NULL,
    folded BLOB NOT NULL,
    class BLOB NOT NULL DEFAULT x'',
    UNIQUE(parent, folded));
CREATE INDEX IF NOT EXISTS reg_keys_by_parent ON reg_keys(parent, id);
CREATE TABLE IF NOT EXISTS reg_values(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    key INTEGER NOT NULL,
    name BLOB NOT NULL,
    folded BLOB NOT NULL,
    type INTEGER NOT NULL,
    data BLOB NOT NULL,
    UNIQUE(key, folded));
CREATE INDEX IF NOT EXISTS reg_values_by_key ON reg_values(key, id);
CREATE TABLE IF NOT EXISTS reg_versions(
    key INTEGER PRIMARY KEY,
    version INTEGER NOT NULL);
INSERT OR IGNORE INTO reg_keys(id, parent, name, folded) VALUES
    (1, NULL, x'', x''), (2, NULL, x'', x''), (3, NULL, x'', x''), (4, NULL, x'', x'');
)sql";

std::vector<uint8_t> Bytes(const Name& text) {
    std::vector<uint8_t> out(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return out;
}

Name FromBytes(const std::vector<uint8_t>& bytes) {
    Name out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

void BindName(host::Statement& st, int index, const Name& text) {
    std::vector<uint8_t> bytes = Bytes(text);
    st.BindBlob(index, bytes.data(), bytes.size());
}

}  // namespace

Name Fold(const Name& name) {
    Name out(name);
    for (char16_t& c : out) c = towlower(c);
    return out;
}

KeyId RootId(HKEY key) {
    if (key == HKEY_CLASSES_ROOT) return 1;
    if (key == HKEY_CURRENT_USER) return 2;
    if (key == HKEY_LOCAL_MACHINE) return 3;
    if (key == HKEY_USERS) return 4;
    return 0;
}

Store::Store(std::unique_ptr<host::Database> db, unsigned generation) : db_(std::move(db)), generation_(generation) {}

host::Statement Store::Prepare(const char* sql) {
    host::Statement st = db_->Prepare(sql);
    if (!st.ok()) failed_ = true;
    return st;
}

bool Store::Check(host::Statement& st, bool ok) {
    if (!ok && st.error() != SQLITE_OK) failed_ = true;
    return ok;
}

bool Store::KeyExists(KeyId key) {
    host::Statement st = Prepare("SELECT 1 FROM reg_keys WHERE id = ?");
    st.Bind(1, key);
    return Check(st, st.Step());
}

KeyId Store::FindChild(KeyId parent, const Name& folded) {
    host::Statement st = Prepare("SELECT id FROM reg_keys WHERE parent = ? AND folded = ?");
    st.Bind(1, parent);
    BindName(st, 2, folded);
    return Check(st, st.Step()) ? st.Int(0) : 0;
}

int64_t Store::Version(KeyId key) {
    host::Statement st = Prepare("SELECT version FROM reg_versions WHERE key = ?");
    st.Bind(1, key);
    return Check(st, st.Step()) ? st.Int(0) : 0;
}

void Store::Touch(KeyId key) {
    host::Statement st = Prepare(
        "INSERT INTO reg_versions(key, version) VALUES (?, 1) ON CONFLICT(key) DO UPDATE SET version = version + 1");
    st.Bind(1, key);
    if (!st.Run()) failed_ = true;
}

KeyId Store::CreateChild(KeyId parent, const Name& name, const Name& keyClass) {
    host::Statement st = Prepare("INSERT INTO reg_keys(parent, name, folded, class) VALUES (?, ?, ?, ?)");
    st.Bind(1, parent);
    BindName(st, 2, name);
    BindName(st, 3, Fold(name));
    BindName(st, 4, keyClass);
    if (!st.Run()) {
        failed_ = true;
        return 0;
    }
    KeyId id = db_->LastInsertId();
    Touch(parent);
    return id;
}

void Store::DeleteTree(KeyId key) {
    // SQLite walks a recursive query with a queue, not the stack, so a tree
    // of any depth goes in three statements.
    static const char kTree[] =
        "WITH RECURSIVE tree(id) AS (SELECT ? UNION ALL SELECT k.id FROM reg_keys k JOIN tree ON k.parent = tree.id) ";
    host::Statement parent = Prepare("SELECT parent FROM reg_keys WHERE id = ?");
    parent.Bind(1, key);
    KeyId above = Check(parent, parent.Step()) ? parent.Int(0) : 0;
    for (const char* target : {"DELETE FROM reg_values WHERE key IN tree", "DELETE FROM reg_versions WHERE key IN tree",
                               "DELETE FROM reg_keys WHERE id IN tree"}) {
        host::Statement st = Prepare((std::string(kTree) + target).c_str());
        st.Bind(1, key);
        if (!st.Run()) failed_ = true;
    }
    if (above) Touch(above);
}

std::optional<Value> Store::GetValue(KeyId key, const Name& folded) {
    host::Statement st = Prepare("SELECT name, type, data FROM reg_values WHERE key = ? AND folded = ?");
    st.Bind(1, key);
    BindName(st, 2, folded);
    if (!Check(st, st.Step())) return std::nullopt;
    return Value{FromBytes(st.Blob(0)), static_cast<DWORD>(st.Int(1)), st.Blob(2)};
}

void Store::SetValue(KeyId key, const Name& name, DWORD type, const BYTE* data, size_t size) {
    // A rewritten value keeps its row: its place in the enumeration and the
    // spelling of its name as first written.
    host::Statement st = Prepare(
        "INSERT INTO reg_values(key, name, folded, type, data) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    st.Bind(1, key);
    BindName(st, 2, name);
    BindName(st, 3, Fold(name));
    st.Bind(4, static_cast<int64_t>(type));
    st.BindBlob(5, data, size);
    if (!st.Run()) failed_ = true;
    Touch(key);
}

bool Store::DeleteValue(KeyId key, const Name& folded) {
    host::Statement st = Prepare("DELETE FROM reg_values WHERE key = ? AND folded = ?");
    st.Bind(1, key);
    BindName(st, 2, folded);
    if (!st.Run()) {
        failed_ = true;
        return false;
    }
    if (db_->Changes() == 0) return false;
    Touch(key);
    return true;
}

std::optional<Subkey> Store::SubkeyAt(KeyId key, const Position& at, RowId* row) {
    host::Statement st = Prepare(
        at.from ? "SELECT id, name, class FROM reg_keys WHERE parent = ? AND id >= ? ORDER BY id LIMIT 1"
                : "SELECT id, name, class FROM reg_keys WHERE parent = ? ORDER BY id LIMIT 1 OFFSET ?");
    st.Bind(1, key);
    st.Bind(2, at.from ? at.from : static_cast<int64_t>(at.index));
    if (!Check(st, st.Step())) return std::nullopt;
    *row = st.Int(0);
    return Subkey{FromBytes(st.Blob(1)), FromBytes(st.Blob(2))};
}

std::optional<Value> Store::ValueAt(KeyId key, const Position& at, RowId* row) {
    host::Statement st = Prepare(
        at.from ? "SELECT id, name, type, data FROM reg_values WHERE key = ? AND id >= ? ORDER BY id LIMIT 1"
                : "SELECT id, name, type, data FROM reg_values WHERE key = ? ORDER BY id LIMIT 1 OFFSET ?");
    st.Bind(1, key);
    st.Bind(2, at.from ? at.from : static_cast<int64_t>(at.index));
    if (!Check(st, st.Step())) return std::nullopt;
    *row = st.Int(0);
    return Value{FromBytes(st.Blob(1)), static_cast<DWORD>(st.Int(2)), st.Blob(3)};
}

KeyInfo Store::Info(KeyId key) {
    KeyInfo info;
    host::Statement keys = Prepare(
        "SELECT count(*), coalesce(max(length(name)), 0) / 2, coalesce(max(length(class)), 0) / 2 "
        "FROM reg_keys WHERE parent = ?");
    keys.Bind(1, key);
    if (Check(keys, keys.Step())) {
        info.subkeys = static_cast<DWORD>(keys.Int(0));
        info.maxSubkeyName = static_cast<DWORD>(keys.Int(1));
        info.maxClass = static_cast<DWORD>(keys.Int(2));
    }
    host::Statement values = Prepare(
        "SELECT count(*), coalesce(max(length(name)), 0) / 2, coalesce(max(length(data)), 0) "
        "FROM reg_values WHERE key = ?");
    values.Bind(1, key);
    if (Check(values, values.Step())) {
        info.values = static_cast<DWORD>(values.Int(0));
        info.maxValueName = static_cast<DWORD>(values.Int(1));
        info.maxValueData = static_cast<DWORD>(values.Int(2));
    }
    return info;
}

Name Store::ClassOf(KeyId key) {
    host::Statement st = Prepare("SELECT class FROM reg_keys WHERE id = ?");
    st.Bind(1, key);
    return Check(st, st.Step()) ? FromBytes(st.Blob(0)) : Name();
}

std::shared_ptr<Store> CurrentStore(LONG* error) {
    static host::DeviceStore<Store> current;
    std::shared_ptr<Store> store = current.Get([](unsigned generation) -> std::shared_ptr<Store> {
        std::string path = host::DevicePath("registry.db");
        if (path.empty()) return nullptr;
        std::unique_ptr<host::Database> db = host::Database::Open(path, kSchema, nullptr);
        if (!db) return nullptr;
        return std::make_shared<Store>(std::move(db), generation);
    });
    if (!store) *error = ERROR_CANTOPEN;
    return store;
}

ReadScope::ReadScope(Store& store) : store_(store), lock_(store.db().lock()) {
    store_.ClearFailed();
    if (!store_.db().InTransaction()) began_ = store_.db().Exec("BEGIN");
}

ReadScope::~ReadScope() {
    if (began_) store_.db().Exec("COMMIT");
}

WriteScope::WriteScope(Store& store) : store_(store), active_(store.db().Begin()) {
    if (active_) store_.ClearFailed();
}

WriteScope::~WriteScope() {
    if (active_) Finish();
}

bool WriteScope::Finish() {
    if (!active_) return false;
    active_ = false;
    if (store_.failed()) {
        store_.db().Rollback();
        return false;
    }
    return store_.db().Commit();
}

}  // namespace registry
