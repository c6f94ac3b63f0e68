// The entries of a list box or a combo box: text and item data, the
// selection, sorted insertion. Indexes are the messages' ints; a bad one
// answers LB_ERR (which CB_ERR equals).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace controls {

class ItemList {
public:
    // The index the entry took (sorted: after the entries that compare
    // equal or lower, case-insensitively).
    int Add(LPCWSTR text, bool sorted);
    // At index, or at the end for -1; LB_ERR past the end.
    int Insert(int index, LPCWSTR text);
    // The count left, or LB_ERR.
    int Delete(int index);
    void Clear();

    int Count() const { return static_cast<int>(items_.size()); }
    bool Valid(int index) const { return index >= 0 && index < Count(); }
    // LB_ERR for a bad index; otherwise the length copied (buffer may be null
    // to ask for the length alone).
    int Text(int index, LPWSTR buffer) const;
    int TextLength(int index) const;
    const std::u16string& TextAt(int index) const { return items_[static_cast<size_t>(index)].text; }
    LRESULT Data(int index) const;
    int SetData(int index, LPARAM data);
    // The first entry after start (wrapping; -1 searches from the top) whose
    // text begins with, or (exact) equals, text; LB_ERR when none.
    int Find(int start, LPCWSTR text, bool exact) const;

    int Selection() const { return selection_; }
    // -1 clears it; LB_ERR (and no change) for a bad index.
    int Select(int index);

private:
    struct Item {
        std::u16string text;
        LPARAM data = 0;
    };
    std::vector<Item> items_;
    int selection_ = -1;
};

}  // namespace controls
