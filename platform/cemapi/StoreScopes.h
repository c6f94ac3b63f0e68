// The read and write scopes of StoreDb: a read sees one snapshot of the
// store, a write is one transaction that wakes the notifications when it
// commits. Internal to the store's own files.
#pragma once

#include "StoreDb.h"

#include <mutex>

namespace cemapi {

void CountProcessWrite();

class StoreDb::ReadScope {
public:
    explicit ReadScope(StoreDb& store) : store_(store), lock_(store.db_->lock()) {
        if (store_.readDepth_++ == 0 && !store_.db_->InTransaction()) began_ = store_.db_->Exec("BEGIN");
    }
    ~ReadScope() {
        if (began_) store_.db_->Exec("COMMIT");
        --store_.readDepth_;
    }
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

private:
    StoreDb& store_;
    std::unique_lock<std::recursive_mutex> lock_;
    bool began_ = false;
};

class StoreDb::WriteScope {
public:
    explicit WriteScope(StoreDb& store) : store_(store), tx_(*store.db_) {
        if (tx_.ok()) store_.failed_ = false;
    }
    WriteScope(const WriteScope&) = delete;
    WriteScope& operator=(const WriteScope&) = delete;

    // False when another process held the store past the busy timeout.
    bool ok() const { return tx_.ok(); }
    // Commits unless a statement failed (then everything is undone).
    HRESULT Finish() {
        if (store_.failed_ || !tx_.Commit()) return MAPI_E_CALL_FAILED;
        CountProcessWrite();
        store_.notifier_->Wake();
        return S_OK;
    }

private:
    StoreDb& store_;
    host::Transaction tx_;
};

}  // namespace cemapi
