// SQLite for the device's stores: WAL, a busy timeout, one transaction per
// write.
#include <sqlite_db.h>

#include <atomic>
#include <chrono>
#include <cstring>

namespace host {

namespace {
// A writer holds a store for one transaction; the longest ones (an import
// of a large file) take minutes, and a waiting process must outlast them.
std::atomic<int> g_busyWaitMs{5 * 60 * 1000};
std::atomic<bool> g_wasBusy{false};

int Checked(int rc) {
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) g_wasBusy.store(true);
    return rc;
}
}  // namespace

bool DeviceWasBusy() { return g_wasBusy.load(); }

int StoreBusyWaitMs() { return g_busyWaitMs.load(); }

void SetStoreBusyWait(int milliseconds) { g_busyWaitMs.store(milliseconds); }

Statement::~Statement() { Close(); }

void Statement::Close() {
    if (!stmt_) return;
    if (home_)
        home_->GiveBack(stmt_);
    else
        sqlite3_finalize(stmt_);
    stmt_ = nullptr;
}

Statement::Statement(Statement&& other) noexcept : stmt_(other.stmt_), home_(other.home_), error_(other.error_) {
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Close();
        stmt_ = other.stmt_;
        home_ = other.home_;
        error_ = other.error_;
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement& Statement::Bind(int index, int64_t value) {
    if (stmt_) sqlite3_bind_int64(stmt_, index, value);
    return *this;
}

Statement& Statement::Bind(int index, std::string_view text) {
    if (stmt_) sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindBlob(int index, const void* data, size_t size) {
    if (!stmt_) return *this;
    // A zero-length blob must stay a blob, not become NULL.
    static const char empty = 0;
    sqlite3_bind_blob(stmt_, index, size ? data : &empty, static_cast<int>(size), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindNull(int index) {
    if (stmt_) sqlite3_bind_null(stmt_, index);
    return *this;
}

bool Statement::Step() {
    if (!stmt_) return false;
    int rc = Checked(sqlite3_step(stmt_));
    if (rc == SQLITE_ROW) return true;
    if (rc != SQLITE_DONE) error_ = rc;
    return false;
}

bool Statement::Run() {
    if (!stmt_) return false;
    int rc;
    while ((rc = Checked(sqlite3_step(stmt_))) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        error_ = rc;
        return false;
    }
    return true;
}

void Statement::Reset() {
    if (stmt_) {
        sqlite3_reset(stmt_);
        sqlite3_clear_bindings(stmt_);
    }
}

int64_t Statement::Int(int column) const { return stmt_ ? sqlite3_column_int64(stmt_, column) : 0; }

std::string Statement::Text(int column) const {
    if (!stmt_) return {};
    const unsigned char* p = sqlite3_column_text(stmt_, column);
    int n = sqlite3_column_bytes(stmt_, column);
    return p ? std::string(reinterpret_cast<const char*>(p), n) : std::string();
}

std::vector<uint8_t> Statement::Blob(int column) const {
    if (!stmt_) return {};
    const void* p = sqlite3_column_blob(stmt_, column);
    int n = sqlite3_column_bytes(stmt_, column);
    if (!p || n <= 0) return {};
    const uint8_t* b = static_cast<const uint8_t*>(p);
    return std::vector<uint8_t>(b, b + n);
}

bool Statement::IsNull(int column) const { return !stmt_ || sqlite3_column_type(stmt_, column) == SQLITE_NULL; }

std::unique_ptr<Database> Database::Open(const std::string& path, std::string_view schema, std::string* error,
                                         Locking locking) {
    sqlite3* db = nullptr;
    const int threading = locking == Locking::Owner ? SQLITE_OPEN_NOMUTEX : SQLITE_OPEN_FULLMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | threading, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = db ? sqlite3_errmsg(db) : "cannot open " + path;
        if (db) sqlite3_close(db);
        return nullptr;
    }
    std::unique_ptr<Database> result(new Database(db));
    sqlite3_busy_timeout(db, g_busyWaitMs.load());
    // A connection's memory is bounded, whatever the store holds: no map of
    // the file (its pages would stay resident as the store grows) and a page
    // cache of 512 KiB. With 1 MiB the caches filling made the emulator grow
    // 1.8 MB over its first 100,000 messages, with 512 KiB 0.5 MB, and the
    // walks and lookups measured no slower.
    std::string setup =
        "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; PRAGMA foreign_keys=ON; PRAGMA mmap_size=0; PRAGMA cache_size=-512;";
    // Two processes making a store at the same moment can meet in the switch
    // to WAL or in the schema, where SQLite answers busy at once instead of
    // waiting (waiting could deadlock there): such a start is tried again
    // for as long as any busy store is waited for.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(g_busyWaitMs.load());
    while (!result->Exec(setup) || !result->Exec(schema)) {
        int rc = sqlite3_errcode(db);
        if ((rc != SQLITE_BUSY && rc != SQLITE_LOCKED) || std::chrono::steady_clock::now() >= giveUp) {
            if (error) *error = sqlite3_errmsg(db);
            return nullptr;
        }
        sqlite3_sleep(5);
    }
    return result;
}

Database::~Database() {
    for (auto& [sql, stmt] : idle_) sqlite3_finalize(stmt);
    if (db_) sqlite3_close_v2(db_);
}

namespace {
// Distinct statements a database keeps; beyond them a statement is
// finalized when done with.
constexpr size_t kMaxCachedStatements = 256;
}  // namespace

Statement Database::Prepare(std::string_view sql) {
    {
        std::lock_guard<std::mutex> lock(cacheLock_);
        auto it = idle_.find(sql);
        if (it != idle_.end()) {
            sqlite3_stmt* stmt = it->second;
            idle_.erase(it);
            return Statement(stmt, this, SQLITE_OK);
        }
    }
    sqlite3_stmt* stmt = nullptr;
    int rc = Checked(
        sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt, nullptr));
    if (rc != SQLITE_OK) return Statement(nullptr, nullptr, rc);
    std::lock_guard<std::mutex> lock(cacheLock_);
    if (texts_.size() >= kMaxCachedStatements) return Statement(stmt, nullptr, SQLITE_OK);
    texts_.emplace(stmt, std::string(sql));
    return Statement(stmt, this, SQLITE_OK);
}

void Database::GiveBack(sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    std::lock_guard<std::mutex> lock(cacheLock_);
    idle_.emplace(texts_[stmt], stmt);
}

bool Database::Exec(std::string_view sql) {
    std::string text(sql);
    return Checked(sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr)) == SQLITE_OK;
}

int64_t Database::LastInsertId() const { return sqlite3_last_insert_rowid(db_); }

int Database::Changes() const { return sqlite3_changes(db_); }

bool Database::Begin() {
    lock_.lock();
    if (depth_ == 0) {
        if (!Exec("BEGIN IMMEDIATE")) {
            lock_.unlock();
            return false;
        }
        failed_ = false;
    }
    ++depth_;
    return true;
}

bool Database::Commit() {
    bool ok = true;
    if (--depth_ == 0) {
        if (failed_) {
            Exec("ROLLBACK");
            ok = false;
        } else if (!Exec("COMMIT")) {
            Exec("ROLLBACK");
            ok = false;
        }
    }
    lock_.unlock();
    return ok;
}

void Database::Rollback() {
    if (--depth_ == 0)
        Exec("ROLLBACK");
    else
        failed_ = true;
    lock_.unlock();
}

}  // namespace host
