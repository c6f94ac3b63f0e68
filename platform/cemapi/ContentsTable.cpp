#include "ContentsTable.h"

#include "Message.h"

#include <algorithm>
#include <span>
#include <utility>

namespace cemapi {

namespace {

// The phone's store hands out at most this many rows per QueryRows.
constexpr LONG kMaxRowsPerQuery = 10;
// Rows read from the store at once; more of those that carry only the
// message's flags, which are small and read from one index.
constexpr size_t kPageRows = 256;
constexpr size_t kFlagsPageRows = 4096;

const ULONG kDefaultColumns[] = {
    PR_ENTRYID,     PR_MESSAGE_FLAGS,        PR_MESSAGE_CLASS,         PR_SUBJECT,
    PR_SENDER_NAME, PR_SENDER_EMAIL_ADDRESS, PR_MESSAGE_DELIVERY_TIME,
};

// Columns that a message's row answers without its props: the read state
// that lists show, and what is computed from the row itself.
bool RowsAnswer(const std::vector<ULONG>& columns) {
    return std::all_of(columns.begin(), columns.end(),
                       [](ULONG tag) { return PROP_ID(tag) == PROP_ID(PR_MESSAGE_FLAGS) || IsComputed(tag); });
}

// A page's row whose message is no longer in the folder.
constexpr int64_t kGone = int64_t{1} << 34;

// The flags as the props of a message whose row keeps them as a value or as
// none; nullopt when they are kept with another type.
std::optional<Prop> FlagsProp(int64_t flags) {
    if (flags == kNoFlags || flags == kFlagsOfAnotherType) return std::nullopt;
    return LongProp(PR_MESSAGE_FLAGS, static_cast<LONG>(flags));
}

// The messages of a page of flags, for columns computed from the message:
// flags kept with another type are read from the props.
std::optional<std::vector<MessageData>> FlagsMessages(StoreDb& db, RowId folder, const std::vector<FlagsRow>& rows) {
    std::vector<MessageData> messages;
    messages.reserve(rows.size());
    std::vector<RowId> otherTypes;
    for (const FlagsRow& row : rows) {
        MessageData& message = messages.emplace_back(MessageData{row.id, folder, {}});
        if (std::optional<Prop> flags = FlagsProp(row.flags)) message.props.push_back(std::move(*flags));
        if (row.flags == kFlagsOfAnotherType) otherTypes.push_back(row.id);
    }
    if (otherTypes.empty()) return messages;
    std::optional<std::vector<MessageData>> stored = db.Messages(otherTypes, {PROP_ID(PR_MESSAGE_FLAGS)});
    if (!stored) return std::nullopt;
    for (MessageData& message : messages)
        for (MessageData& other : *stored)
            if (other.id == message.id) message.props = std::move(other.props);
    return messages;
}

bool IsSortable(ULONG tag) {
    const ULONG id = PROP_ID(tag);
    return id == PROP_ID(PR_MESSAGE_DELIVERY_TIME) || id == PROP_ID(PR_SENDER_NAME) || id == PROP_ID(PR_SUBJECT);
}

// Negative, zero or positive as a sorts before, with or after b; a message
// without the value sorts first, texts compare without regard to case.
int Compare(const std::optional<Prop>& a, const std::optional<Prop>& b) {
    if (!a || !b) return (a ? 1 : 0) - (b ? 1 : 0);
    if (PROP_TYPE(a->tag) != PROP_TYPE(b->tag)) return PROP_TYPE(a->tag) < PROP_TYPE(b->tag) ? -1 : 1;
    if (PROP_TYPE(a->tag) == PT_UNICODE) {
        std::u16string x = TextOf(*a), y = TextOf(*b);
        for (size_t i = 0; i < x.size() && i < y.size(); ++i) {
            WCHAR cx = towlower(x[i]), cy = towlower(y[i]);
            if (cx != cy) return cx < cy ? -1 : 1;
        }
        return x.size() == y.size() ? 0 : (x.size() < y.size() ? -1 : 1);
    }
    if (PROP_TYPE(a->tag) == PT_SYSTIME) {
        uint64_t x = static_cast<uint64_t>(a->number), y = static_cast<uint64_t>(b->number);
        return x == y ? 0 : (x < y ? -1 : 1);
    }
    return a->number == b->number ? 0 : (a->number < b->number ? -1 : 1);
}

}  // namespace

ContentsTable::ContentsTable(MsgStore* store, RowId folder)
    : store_(store), folder_(folder), columns_(std::begin(kDefaultColumns), std::end(kDefaultColumns)) {
    store_->AddRef();
    MakeColumnArray();
}

void ContentsTable::MakeColumnArray() {
    columnArray_.assign(1, static_cast<ULONG>(columns_.size()));
    columnArray_.insert(columnArray_.end(), columns_.begin(), columns_.end());
    computedColumns_ = std::any_of(columns_.begin(), columns_.end(), IsComputed);
    flagsAlone_ = RowsAnswer(columns_) && !computedColumns_;
}

ContentsTable::~ContentsTable() { store_->Release(); }

STDMETHODIMP ContentsTable::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_INVALIDARG;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IMAPITable) return E_NOINTERFACE;
    *ppvObject = static_cast<IMAPITable*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP ContentsTable::GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) {
    if (lppMAPIError) *lppMAPIError = nullptr;
    return MAPI_E_NO_SUPPORT;
}

HRESULT ContentsTable::Refresh() {
    const int64_t last = store_->db().LastChange();
    if (last == seenChange_) return S_OK;
    page_.clear();
    flagsPage_.clear();
    listedFlags_ = false;
    if (!sortTag_ && flagsAlone_) {
        // The listing reads the index that holds the flags: it brings them
        // along, as a page of the whole folder.
        const int64_t writes = StoreDb::ProcessWrites();
        std::vector<RowId> ids;
        if (!store_->db().ListedFlags(folder_, &ids, &flagsPage_)) {
            flagsPage_.clear();
            return MAPI_E_CALL_FAILED;
        }
        rows_ = std::move(ids);
        listedFlags_ = true;
        pageStart_ = 0;
        pageWrites_ = writes;
    } else if (!sortTag_) {
        std::optional<std::vector<RowId>> ids = store_->db().ListedIds(folder_);
        if (!ids) return MAPI_E_CALL_FAILED;
        rows_ = std::move(*ids);
    } else {
        std::optional<std::vector<SortKey>> keys = store_->db().SortKeys(folder_, PROP_ID(sortTag_));
        if (!keys) return MAPI_E_CALL_FAILED;
        // Equal values keep the order of arrival, reversed with the sort.
        const bool descend = sortOrder_ == TABLE_SORT_DESCEND;
        std::sort(keys->begin(), keys->end(), [descend](const SortKey& a, const SortKey& b) {
            int c = Compare(a.value, b.value);
            if (c == 0) c = a.id < b.id ? -1 : (a.id > b.id ? 1 : 0);
            return descend ? c > 0 : c < 0;
        });
        rows_.clear();
        for (const SortKey& key : *keys) rows_.push_back(key.id);
    }
    position_ = std::min(position_, rows_.size());
    pageEnd_ = 0;  // the next read says how far the rows stand
    seenChange_ = last;
    return S_OK;
}

HRESULT ContentsTable::ReadPage(size_t count) {
    const int64_t writes = StoreDb::ProcessWrites();
    auto covered = [&] {
        return writes == pageWrites_ && position_ >= pageStart_ &&
               std::min(position_ + count, rows_.size()) <= pageEnd_ && pageEnd_ > pageStart_;
    };
    if (covered()) return S_OK;
    HRESULT hr = Refresh();
    if (FAILED(hr)) return hr;
    // Flags read with the listing hold for as long as neither this process
    // nor another one has changed the store: the store is looked at again
    // a page's length on, as a page would be read again.
    if (listedFlags_ && writes == pageWrites_ && position_ >= pageStart_)
        pageEnd_ = std::min(rows_.size(), position_ + std::max(count, kFlagsPageRows));
    if (covered()) return S_OK;
    listedFlags_ = false;
    const bool flagsOnly = RowsAnswer(columns_);
    const size_t end = std::min(rows_.size(), position_ + std::max(count, flagsOnly ? kFlagsPageRows : kPageRows));
    std::vector<RowId> ids(rows_.begin() + static_cast<ptrdiff_t>(position_),
                           rows_.begin() + static_cast<ptrdiff_t>(end));
    // The page's rows in id order, as the store answers: in arrival order
    // they are that already.
    std::vector<size_t> byId(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) byId[i] = i;
    if (!std::is_sorted(ids.begin(), ids.end()))
        std::sort(byId.begin(), byId.end(), [&ids](size_t a, size_t b) { return ids[a] < ids[b]; });
    // Calls place(row, found) for each row whose message was found; found
    // is in id order and holds only messages of the page.
    auto match = [&ids, &byId](auto& found, auto place) {
        auto slot = byId.begin();
        for (auto& message : found) {
            while (slot != byId.end() && ids[*slot] < message.id) ++slot;
            if (slot != byId.end() && ids[*slot] == message.id) place(*slot++, message);
        }
    };

    std::optional<std::vector<MessageData>> found;
    if (flagsOnly) {
        std::optional<std::vector<FlagsRow>> flags = store_->db().MessageFlags(folder_, ids);
        if (!flags) return MAPI_E_CALL_FAILED;
        if (flagsAlone_) {
            page_.clear();
            flagsPage_.assign(ids.size(), kGone);
            match(*flags, [this](size_t row, const FlagsRow& message) { flagsPage_[row] = message.flags; });
            pageStart_ = position_;
            pageEnd_ = end;
            pageWrites_ = writes;
            return S_OK;
        }
        found = FlagsMessages(store_->db(), folder_, *flags);
    } else {
        std::vector<ULONG> propIds;
        for (ULONG tag : columns_) propIds.push_back(PROP_ID(tag));
        found = store_->db().Messages(ids, propIds);
        if (found) std::erase_if(*found, [this](const MessageData& message) { return message.folder != folder_; });
    }
    if (!found) return MAPI_E_CALL_FAILED;
    flagsPage_.clear();
    page_.assign(ids.size(), std::nullopt);
    match(*found, [this](size_t row, MessageData& message) { page_[row] = std::move(message); });
    pageStart_ = position_;
    pageEnd_ = end;
    pageWrites_ = writes;
    return S_OK;
}

HRESULT ContentsTable::AnswerFlagsRow(size_t row, SRow* out) {
    const int64_t flags = flagsPage_[row - pageStart_];
    const auto* columns = reinterpret_cast<const SPropTagArray*>(columnArray_.data());
    if (std::optional<Prop> prop = FlagsProp(flags))
        return AnswerProps(std::span<const Prop>(&*prop, 1), columns, &out->cValues, &out->lpProps);
    // Without flags the message answers as a message does; with flags of
    // another type, as they are stored.
    MessageData message{rows_[row], folder_, {}};
    if (flags == kFlagsOfAnotherType) {
        std::optional<std::vector<MessageData>> stored = store_->db().Messages({message.id},
                                                                               {PROP_ID(PR_MESSAGE_FLAGS)});
        if (!stored) return MAPI_E_CALL_FAILED;
        if (!stored->empty()) message.props = std::move(stored->front().props);
    }
    return AnswerProps(MessageProps(store_->db(), message, &columns_), columns, &out->cValues, &out->lpProps);
}

STDMETHODIMP ContentsTable::SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) {
    HRESULT hr;
    if (Injected("IMAPITable::SetColumns", &hr)) return hr;
    if (!lpPropTagArray || lpPropTagArray->cValues == 0) return MAPI_E_INVALID_PARAMETER;
    if (ulFlags & ~(TBL_ASYNC | TBL_BATCH)) return MAPI_E_UNKNOWN_FLAGS;
    std::lock_guard<std::mutex> lock(mutex_);
    const ULONG* tags = lpPropTagArray->aulPropTag;
    columns_.assign(tags, tags + lpPropTagArray->cValues);
    MakeColumnArray();
    // A page holds the properties of the columns it was read for.
    page_.clear();
    flagsPage_.clear();
    listedFlags_ = false;
    pageEnd_ = 0;
    return S_OK;
}

STDMETHODIMP ContentsTable::QueryColumns(ULONG, LPSPropTagArray* lpPropTagArray) {
    if (!lpPropTagArray) return MAPI_E_INVALID_PARAMETER;
    *lpPropTagArray = nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    return CopyTagArray(columns_, lpPropTagArray);
}

STDMETHODIMP ContentsTable::GetRowCount(ULONG ulFlags, ULONG* lpulCount) {
    HRESULT hr;
    if (Injected("IMAPITable::GetRowCount", &hr)) return hr;
    if (!lpulCount) return MAPI_E_INVALID_PARAMETER;
    *lpulCount = 0;
    if (ulFlags) return MAPI_E_UNKNOWN_FLAGS;
    std::lock_guard<std::mutex> lock(mutex_);
    hr = Refresh();
    if (FAILED(hr)) return hr;
    *lpulCount = static_cast<ULONG>(rows_.size());
    return S_OK;
}

STDMETHODIMP ContentsTable::SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought) {
    HRESULT hr;
    if (Injected("IMAPITable::SeekRow", &hr)) return hr;
    std::lock_guard<std::mutex> lock(mutex_);
    hr = Refresh();
    if (FAILED(hr)) return hr;
    int64_t origin;
    switch (bkOrigin) {
        case BOOKMARK_BEGINNING:
            origin = 0;
            break;
        case BOOKMARK_CURRENT:
            origin = static_cast<int64_t>(position_);
            break;
        case BOOKMARK_END:
            origin = static_cast<int64_t>(rows_.size());
            break;
        default:
            return MAPI_E_INVALID_BOOKMARK;
    }
    const int64_t target = std::clamp<int64_t>(origin + lRowCount, 0, static_cast<int64_t>(rows_.size()));
    position_ = static_cast<size_t>(target);
    if (lplRowsSought) *lplRowsSought = static_cast<LONG>(target - origin);
    return S_OK;
}

STDMETHODIMP ContentsTable::QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator) {
    if (!lpulRow || !lpulNumerator || !lpulDenominator) return MAPI_E_INVALID_PARAMETER;
    std::lock_guard<std::mutex> lock(mutex_);
    HRESULT hr = Refresh();
    if (FAILED(hr)) return hr;
    *lpulRow = static_cast<ULONG>(position_);
    *lpulNumerator = static_cast<ULONG>(position_);
    *lpulDenominator = static_cast<ULONG>(std::max<size_t>(rows_.size(), 1));
    return S_OK;
}

STDMETHODIMP ContentsTable::SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) {
    HRESULT hr;
    if (Injected("IMAPITable::SortTable", &hr)) return hr;
    if (!lpSortCriteria) return MAPI_E_INVALID_PARAMETER;
    if (ulFlags & ~(TBL_ASYNC | TBL_BATCH)) return MAPI_E_UNKNOWN_FLAGS;
    // One key at most, no categories, and only the columns the phone's
    // messaging application sorts its lists by.
    if (lpSortCriteria->cSorts > 1 || lpSortCriteria->cCategories || lpSortCriteria->cExpanded)
        return MAPI_E_TOO_COMPLEX;
    ULONG tag = 0, order = TABLE_SORT_ASCEND;
    if (lpSortCriteria->cSorts == 1) {
        tag = lpSortCriteria->aSort[0].ulPropTag;
        order = lpSortCriteria->aSort[0].ulOrder;
        if (!IsSortable(tag) || (order != TABLE_SORT_ASCEND && order != TABLE_SORT_DESCEND)) return MAPI_E_NO_SUPPORT;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    sortTag_ = tag;
    sortOrder_ = order;
    seenChange_ = -1;
    position_ = 0;
    return S_OK;
}

STDMETHODIMP ContentsTable::QuerySortOrder(LPSSortOrderSet* lppSortCriteria) {
    if (!lppSortCriteria) return MAPI_E_INVALID_PARAMETER;
    *lppSortCriteria = nullptr;
    LPSSortOrderSet set = nullptr;
    HRESULT hr = MAPIAllocateBuffer(sizeof(SSortOrderSet), reinterpret_cast<LPVOID*>(&set));
    if (FAILED(hr)) return hr;
    std::lock_guard<std::mutex> lock(mutex_);
    *set = SSortOrderSet{sortTag_ ? 1u : 0u, 0, 0, {{sortTag_, sortOrder_}}};
    *lppSortCriteria = set;
    return S_OK;
}

STDMETHODIMP ContentsTable::QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) {
    HRESULT hr;
    if (Injected("IMAPITable::QueryRows", &hr)) {
        if (lppRows) *lppRows = nullptr;
        return hr;
    }
    if (!lppRows) return MAPI_E_INVALID_PARAMETER;
    *lppRows = nullptr;
    // The phone's tables read forwards only.
    if (lRowCount <= 0) return MAPI_E_INVALID_PARAMETER;
    if (ulFlags & ~TBL_NOADVANCE) return MAPI_E_UNKNOWN_FLAGS;

    std::lock_guard<std::mutex> lock(mutex_);
    hr = ReadPage(static_cast<size_t>(std::min(lRowCount, kMaxRowsPerQuery)));
    if (FAILED(hr)) return hr;
    const size_t wanted = std::min<size_t>(std::min(lRowCount, kMaxRowsPerQuery), rows_.size() - position_);
    // A message deleted or moved away since the order was read is left out.
    auto present = [this](size_t row) {
        return flagsAlone_ ? flagsPage_[row - pageStart_] != kGone : page_[row - pageStart_].has_value();
    };
    size_t presentCount = 0;
    for (size_t row = position_; row != position_ + wanted; ++row) presentCount += present(row) ? 1 : 0;

    LPSRowSet rows = nullptr;
    hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewSRowSet(std::max<size_t>(presentCount, 1))),
                            reinterpret_cast<LPVOID*>(&rows));
    if (FAILED(hr)) return hr;
    rows->cRows = 0;
    const auto* columns = reinterpret_cast<const SPropTagArray*>(columnArray_.data());
    for (size_t row = position_; row != position_ + wanted; ++row) {
        if (!present(row)) continue;
        SRow& out = rows->aRow[rows->cRows];
        out.ulAdrEntryPad = 0;
        if (flagsAlone_) {
            hr = AnswerFlagsRow(row, &out);
        } else {
            // The props as read answer the columns unless one is computed.
            const MessageData& message = *page_[row - pageStart_];
            hr = computedColumns_ || !FindProp(message.props, PROP_ID(PR_MESSAGE_FLAGS))
                     ? AnswerProps(MessageProps(store_->db(), message, &columns_), columns, &out.cValues, &out.lpProps)
                     : AnswerProps(message.props, columns, &out.cValues, &out.lpProps);
        }
        if (FAILED(hr)) {
            FreeProws(rows);
            return hr;
        }
        ++rows->cRows;
    }
    if (!(ulFlags & TBL_NOADVANCE)) position_ += wanted;
    *lppRows = rows;
    return S_OK;
}

}  // namespace cemapi
