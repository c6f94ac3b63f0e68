// IMAPITable: the contents table of a folder, a cursor over its messages.
// The table follows the folder: it reloads its order whenever the store's
// change log has moved on. Rows are read a page at a time, so that a walk
// row by row costs one query a page: a page is as the store was when it
// was read, and is read again once this process writes to the store. A
// table of the flags alone in the order of arrival reads them with the
// order, from the same index, and answers from those while the store has
// not changed, which it looks at again a page's length on.
#pragma once

#include "MapiObject.h"
#include "MsgStore.h"

#include <mutex>
#include <optional>
#include <vector>

namespace cemapi {

class ContentsTable final : public MapiObject<IMAPITable> {
public:
    ContentsTable(MsgStore* store, RowId folder);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;

    STDMETHODIMP GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override;
    STDMETHODIMP Advise(ULONG, LPMAPIADVISESINK, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP Unadvise(ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetStatus(ULONG*, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) override;
    STDMETHODIMP QueryColumns(ULONG ulFlags, LPSPropTagArray* lpPropTagArray) override;
    STDMETHODIMP GetRowCount(ULONG ulFlags, ULONG* lpulCount) override;
    STDMETHODIMP SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought) override;
    STDMETHODIMP SeekRowApprox(ULONG, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator) override;
    STDMETHODIMP FindRow(LPSRestriction, BOOKMARK, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP Restrict(LPSRestriction, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP CreateBookmark(BOOKMARK*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP FreeBookmark(BOOKMARK) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) override;
    STDMETHODIMP QuerySortOrder(LPSSortOrderSet* lppSortCriteria) override;
    STDMETHODIMP QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) override;
    STDMETHODIMP Abort() override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP ExpandRow(ULONG, LPBYTE, ULONG, ULONG, LPSRowSet*, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP CollapseRow(ULONG, LPBYTE, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP WaitForCompletion(ULONG, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetCollapseState(ULONG, ULONG, LPBYTE, ULONG*, LPBYTE*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SetCollapseState(ULONG, ULONG, LPBYTE, BOOKMARK*) override { return MAPI_E_NO_SUPPORT; }

private:
    ~ContentsTable() override;
    // Reloads the row order if the store changed since it was read.
    HRESULT Refresh();
    // Makes the page hold the count rows from the position on.
    HRESULT ReadPage(size_t count);
    void MakeColumnArray();
    // Answers one row of a page of flags.
    HRESULT AnswerFlagsRow(size_t row, SRow* out);

    MsgStore* const store_;
    const RowId folder_;
    std::mutex mutex_;
    std::vector<ULONG> columns_;
    std::vector<ULONG> columnArray_;  // columns_ as an SPropTagArray, for the rows' answers
    bool computedColumns_ = false;    // a column the message's props do not hold
    bool flagsAlone_ = false;         // only PR_MESSAGE_FLAGS: the rows' flags answer it
    ULONG sortTag_ = 0;               // 0: the order in which messages came into the folder
    ULONG sortOrder_ = TABLE_SORT_ASCEND;
    std::vector<RowId> rows_;
    int64_t seenChange_ = -1;
    size_t position_ = 0;
    // Rows from pageStart_ on, as read; a message gone from the folder is
    // left empty. Valid while pageWrites_ is the process's write count.
    // A table of the flags alone keeps each row's flags (a FlagsRow's value,
    // or kGone) instead of its message.
    std::vector<std::optional<MessageData>> page_;
    std::vector<int64_t> flagsPage_;
    bool listedFlags_ = false;  // flagsPage_ holds the whole folder, as listed
    size_t pageStart_ = 0;
    size_t pageEnd_ = 0;  // the page answers the rows up to here
    int64_t pageWrites_ = -1;
};

}  // namespace cemapi
