// The registry of the device as SQLite tables: keys, each with its values.
// Internal to coredll; the Reg* functions (Registry.cpp) check arguments and
// handles and then call this.
#pragma once

#include <windows.h>

#include <sqlite_db.h>

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace registry {

using Name = std::u16string;
using KeyId = int64_t;
using RowId = int64_t;

// Names compare case-insensitively: a name is looked up by its folded form
// (the platform's towlower of every UTF-16 unit) and kept as written.
Name Fold(const Name& name);

// The predefined roots are rows of their own with fixed ids; 0 for a handle
// that is not a root.
KeyId RootId(HKEY key);
inline bool IsRoot(KeyId key) { return key >= 1 && key <= 4; }

struct Value {
    Name name;
    DWORD type = REG_NONE;
    std::vector<uint8_t> data;
};

struct Subkey {
    Name name;
    Name keyClass;
};

struct KeyInfo {
    DWORD subkeys = 0;
    DWORD maxSubkeyName = 0;  // characters
    DWORD maxClass = 0;       // characters
    DWORD values = 0;
    DWORD maxValueName = 0;  // characters
    DWORD maxValueData = 0;  // bytes
};

// The registry database of one device. Every method expects the caller to
// hold a ReadScope or WriteScope; a failed SQL statement sets failed().
class Store {
public:
    Store(std::unique_ptr<host::Database> db, unsigned generation);

    host::Database& db() { return *db_; }
    // The device generation the store belongs to: handles of an earlier
    // device are refused.
    unsigned generation() const { return generation_; }
    bool failed() const { return failed_; }
    void ClearFailed() { failed_ = false; }

    bool KeyExists(KeyId key);
    // The child of parent with this folded name, or 0.
    KeyId FindChild(KeyId parent, const Name& folded);
    KeyId CreateChild(KeyId parent, const Name& name, const Name& keyClass);
    // Removes the key with its values and its whole subtree.
    void DeleteTree(KeyId key);

    std::optional<Value> GetValue(KeyId key, const Name& folded);
    void SetValue(KeyId key, const Name& name, DWORD type, const BYTE* data, size_t size);
    // False when there was no such value.
    bool DeleteValue(KeyId key, const Name& folded);

    // Counts the writes to a key's subkeys and values: any change of the
    // rows an enumeration walks changes it.
    int64_t Version(KeyId key);

    // Enumeration is in creation order: stable while nothing is added or
    // removed, and a value rewritten in place keeps its position. A row is
    // found by its index, or, when from is set, as the first row at or
    // after that row id: the cheap way for a walk that knows where it is.
    struct Position {
        DWORD index = 0;
        RowId from = 0;
    };
    std::optional<Subkey> SubkeyAt(KeyId key, const Position& at, RowId* row);
    std::optional<Value> ValueAt(KeyId key, const Position& at, RowId* row);
    KeyInfo Info(KeyId key);
    Name ClassOf(KeyId key);

private:
    void Touch(KeyId key);
    host::Statement Prepare(const char* sql);
    bool Check(host::Statement& st, bool ok);

    std::unique_ptr<host::Database> db_;
    unsigned generation_;
    bool failed_ = false;
};

// The store of the open device, opened on first use and reopened when
// another device is opened. Null, with *error set, when there is none.
std::shared_ptr<Store> CurrentStore(LONG* error);

// A consistent view for reading: several statements see one snapshot, so
// a reader never meets a half-written value or a half-deleted tree. Inside
// this thread's own batch it sees the batch's writes.
class ReadScope {
public:
    explicit ReadScope(Store& store);
    ~ReadScope();
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

private:
    Store& store_;
    std::unique_lock<std::recursive_mutex> lock_;
    bool began_ = false;
};

// One write transaction (nested inside this thread's registry batch when
// one is open). A call that finds nothing to change still ends it with a
// commit: only a failed statement rolls back, since a rollback inside a
// batch undoes the whole batch.
class WriteScope {
public:
    explicit WriteScope(Store& store);
    ~WriteScope();
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    bool ok() const { return active_; }
    // Commits; false, with the transaction undone, when a statement failed.
    bool Finish();

private:
    Store& store_;
    bool active_;
};

}  // namespace registry
