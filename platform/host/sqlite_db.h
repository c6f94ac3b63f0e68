// A small wrapper over SQLite for the device's stores. Every store of the
// device is one database file in the device folder, opened in WAL mode with
// a busy timeout so that several processes can share it; every write is a
// transaction.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// True once a store of this process stayed busy past the wait: another
// process held it, so that a failure can say so.
bool DeviceWasBusy();
// How long a store waits for another process's transaction to end.
int StoreBusyWaitMs();
// For tests: a shorter wait, for stores opened from now on.
void SetStoreBusyWait(int milliseconds);

class Database;

class Statement {
public:
    Statement() = default;
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return stmt_ != nullptr; }
    Statement& Bind(int index, int64_t value);
    Statement& Bind(int index, std::string_view text);
    Statement& BindBlob(int index, const void* data, size_t size);
    Statement& BindNull(int index);

    // Steps once: true while a row is available. Errors are kept in error().
    bool Step();
    // Runs to completion; true on success.
    bool Run();
    void Reset();

    int64_t Int(int column) const;
    std::string Text(int column) const;
    std::vector<uint8_t> Blob(int column) const;
    bool IsNull(int column) const;
    int error() const { return error_; }

private:
    friend class Database;
    // Made by Database::Prepare: home is the cache the statement goes back
    // to when done with (none: it is finalized).
    Statement(sqlite3_stmt* stmt, Database* home, int error) : stmt_(stmt), home_(home), error_(error) {}
    void Close();

    sqlite3_stmt* stmt_ = nullptr;
    Database* home_ = nullptr;
    int error_ = SQLITE_OK;
};

class Database {
public:
    // How the connection's threads take turns: SQLite's own lock around
    // every call, or only lock(), which the owner then holds around every use
    // of the connection and of its statements (a store whose reads run row by
    // row saves a lock a call).
    enum class Locking { PerCall, Owner };
    // Opens or creates the file, turns on WAL and the busy timeout, and runs
    // the schema (a script of CREATE ... IF NOT EXISTS statements).
    static std::unique_ptr<Database> Open(const std::string& path, std::string_view schema, std::string* error,
                                          Locking locking = Locking::PerCall);
    ~Database();

    sqlite3* handle() const { return db_; }
    // One lock per connection: SQLite transactions belong to the connection,
    // so threads of this process take turns.
    std::recursive_mutex& lock() { return lock_; }

    bool Exec(std::string_view sql);
    // A statement made once per text and kept: the stores run the same few
    // queries over and over, and parsing one costs more than running it.
    Statement Prepare(std::string_view sql);
    int64_t LastInsertId() const;
    int Changes() const;

    // BEGIN IMMEDIATE / COMMIT / ROLLBACK, nesting by depth so that a batch
    // can enclose calls that make transactions of their own.
    bool Begin();
    bool Commit();
    void Rollback();
    bool InTransaction() const { return depth_ > 0; }

private:
    friend class Statement;
    explicit Database(sqlite3* db) : db_(db) {}
    // Takes back a statement of the cache, reset and unbound.
    void GiveBack(sqlite3_stmt* stmt);

    sqlite3* db_;
    std::mutex cacheLock_;
    // Statements not in use, by their text; one text may have several when
    // a query runs inside another of the same text.
    std::multimap<std::string, sqlite3_stmt*, std::less<>> idle_;
    // The text each statement of the cache was made from.
    std::map<sqlite3_stmt*, std::string> texts_;
    std::recursive_mutex lock_;
    int depth_ = 0;
    bool failed_ = false;
};

// A write transaction for the scope: commits in Commit(), rolls back when
// left without it.
class Transaction {
public:
    explicit Transaction(Database& db) : db_(db), active_(db.Begin()) {}
    ~Transaction() {
        if (active_) db_.Rollback();
    }
    bool ok() const { return active_; }
    bool Commit() {
        bool r = active_ && db_.Commit();
        active_ = false;
        return r;
    }

private:
    Database& db_;
    bool active_;
};

}  // namespace host
