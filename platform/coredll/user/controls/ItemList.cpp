#include "user/controls/ItemList.h"

namespace controls {

int ItemList::Add(LPCWSTR text, bool sorted) {
    std::u16string entry = text ? text : u"";
    size_t at = items_.size();
    if (sorted) {
        at = 0;
        while (at < items_.size() && _wcsicmp(items_[at].text.c_str(), entry.c_str()) <= 0) ++at;
    }
    return Insert(static_cast<int>(at), entry.c_str());
}

int ItemList::Insert(int index, LPCWSTR text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return LB_ERR;
    items_.insert(items_.begin() + index, Item{text ? text : u"", 0});
    // The selection stays on its entry.
    if (selection_ >= index) ++selection_;
    return index;
}

int ItemList::Delete(int index) {
    if (!Valid(index)) return LB_ERR;
    items_.erase(items_.begin() + index);
    if (selection_ == index)
        selection_ = -1;
    else if (selection_ > index)
        --selection_;
    return Count();
}

void ItemList::Clear() {
    items_.clear();
    selection_ = -1;
}

int ItemList::Text(int index, LPWSTR buffer) const {
    if (!Valid(index)) return LB_ERR;
    const std::u16string& text = TextAt(index);
    if (buffer) {
        text.copy(buffer, text.size());
        buffer[text.size()] = 0;
    }
    return static_cast<int>(text.size());
}

int ItemList::TextLength(int index) const { return Valid(index) ? static_cast<int>(TextAt(index).size()) : LB_ERR; }

LRESULT ItemList::Data(int index) const {
    return Valid(index) ? items_[static_cast<size_t>(index)].data : static_cast<LRESULT>(LB_ERR);
}

int ItemList::SetData(int index, LPARAM data) {
    if (!Valid(index)) return LB_ERR;
    items_[static_cast<size_t>(index)].data = data;
    return LB_OKAY;
}

int ItemList::Find(int start, LPCWSTR text, bool exact) const {
    if (!text || items_.empty()) return LB_ERR;
    size_t length = 0;
    while (text[length]) ++length;
    int first = Valid(start) ? start + 1 : 0;
    for (int k = 0; k < Count(); ++k) {
        int i = (first + k) % Count();
        const std::u16string& entry = TextAt(i);
        bool match = exact ? _wcsicmp(entry.c_str(), text) == 0
                           : entry.size() >= length && _wcsnicmp(entry.c_str(), text, length) == 0;
        if (match) return i;
    }
    return LB_ERR;
}

int ItemList::Select(int index) {
    if (index == -1) {
        selection_ = -1;
        return LB_ERR;
    }
    if (!Valid(index)) return LB_ERR;
    selection_ = index;
    return index;
}

}  // namespace controls
