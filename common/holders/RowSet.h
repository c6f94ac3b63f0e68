// RowSet: the rows a table gave back, freed with FreeProws when the holder
// goes or takes the next batch.
#pragma once

#include <cemapi.h>

class RowSet {
public:
    RowSet() : rows_(nullptr) {}
    ~RowSet() { Free(); }
    RowSet(const RowSet&) = delete;
    RowSet& operator=(const RowSet&) = delete;

    LPSRowSet Get() const { return rows_; }
    // For QueryRows' out-parameter: frees what is held and gives the slot.
    LPSRowSet* Receive() {
        Free();
        return &rows_;
    }
    void Free() {
        if (rows_) FreeProws(rows_);
        rows_ = nullptr;
    }

private:
    LPSRowSet rows_;
};
