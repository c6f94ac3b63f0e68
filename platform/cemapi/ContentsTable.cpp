#include "ContentsTable.h"

#include "Message.h"

#include <algorithm>
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
    if (!sortTag_) {
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
    page_.clear();
    position_ = std::min(position_, rows_.size());
    seenChange_ = last;
    return S_OK;
}

HRESULT ContentsTable::ReadPage(size_t count) {
    const int64_t writes = StoreDb::ProcessWrites();
    const size_t pageEnd = pageStart_ + page_.size();
    if (writes == pageWrites_ && position_ >= pageStart_ && std::min(position_ + count, rows_.size()) <= pageEnd &&
        !page_.empty())
        return S_OK;
    HRESULT hr = Refresh();
    if (FAILED(hr)) return hr;
    std::vector<ULONG> propIds;
    for (ULONG tag : columns_) propIds.push_back(PROP_ID(tag));
    const bool flagsOnly = RowsAnswer(columns_);
    const size_t end = std::min(rows_.size(), position_ + std::max(count, flagsOnly ? kFlagsPageRows : kPageRows));
    std::vector<RowId> ids(rows_.begin() + static_cast<ptrdiff_t>(position_),
                           rows_.begin() + static_cast<ptrdiff_t>(end));
    std::optional<std::vector<MessageData>> found = flagsOnly ? store_->db().MessageFlags(folder_, ids)
                                                              : store_->db().Messages(ids, propIds);
    if (!found) return MAPI_E_CALL_FAILED;
    page_.assign(ids.size(), std::nullopt);
    // Each message found goes to its row: the page's ids with their rows,
    // in id order, searched.
    std::vector<std::pair<RowId, size_t>> slots(ids.size());
    for (size_t i = 0; i < ids.size(); ++i) slots[i] = {ids[i], i};
    std::sort(slots.begin(), slots.end());
    for (MessageData& message : *found) {
        auto it = std::lower_bound(slots.begin(), slots.end(), std::pair<RowId, size_t>{message.id, 0});
        if (message.folder == folder_ && it != slots.end() && it->first == message.id)
            page_[it->second] = std::move(message);
    }
    pageStart_ = position_;
    pageWrites_ = writes;
    return S_OK;
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
    page_.clear();  // a page holds the properties of the columns it was read for
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
    const std::optional<MessageData>* first = wanted ? &page_[position_ - pageStart_] : nullptr;
    const size_t present = static_cast<size_t>(
        std::count_if(first, first + wanted, [](const auto& message) { return message.has_value(); }));

    LPSRowSet rows = nullptr;
    hr = MAPIAllocateBuffer(static_cast<ULONG>(CbNewSRowSet(std::max<size_t>(present, 1))),
                            reinterpret_cast<LPVOID*>(&rows));
    if (FAILED(hr)) return hr;
    rows->cRows = 0;
    const auto* columns = reinterpret_cast<const SPropTagArray*>(columnArray_.data());
    for (const std::optional<MessageData>* message = first; message != first + wanted; ++message) {
        if (!*message) continue;
        SRow& row = rows->aRow[rows->cRows];
        row.ulAdrEntryPad = 0;
        // The props as read answer the columns unless one is computed.
        const std::vector<Prop>& props = (*message)->props;
        hr = computedColumns_ || !FindProp(props, PROP_ID(PR_MESSAGE_FLAGS))
                 ? AnswerProps(MessageProps(store_->db(), **message, &columns_), columns, &row.cValues, &row.lpProps)
                 : AnswerProps(props, columns, &row.cValues, &row.lpProps);
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
