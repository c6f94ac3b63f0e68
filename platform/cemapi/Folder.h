// IMAPIFolder: one folder of the store, its contents table and the moves,
// copies and deletions of its messages.
#pragma once

#include "MapiObject.h"
#include "MsgStore.h"

namespace cemapi {

// Answered only by the store's own folders, so that CopyMessages can tell a
// destination of this store from any other object.
DEFINE_GUID(IID_CemapiFolder, 0x6B1D8E2A, 0x4C57, 0x4F0E, 0x9A, 0x3E, 0x51, 0x7D, 0x2C, 0x88, 0x04, 0xB1);

class Folder final : public PropObject<IMAPIFolder> {
public:
    Folder(MsgStore* store, RowId row);

    RowId row() const { return row_; }
    MsgStore* store() const { return store_; }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;

    STDMETHODIMP GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) override;
    STDMETHODIMP GetHierarchyTable(ULONG, LPMAPITABLE* lppTable) override;
    STDMETHODIMP OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                           LPUNKNOWN* lppUnk) override;
    STDMETHODIMP SetSearchCriteria(LPSRestriction, LPENTRYLIST, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetSearchCriteria(ULONG, LPSRestriction*, LPENTRYLIST*, ULONG*) override { return MAPI_E_NO_SUPPORT; }

    STDMETHODIMP CreateMessage(LPCIID lpInterface, ULONG ulFlags, LPMESSAGE* lppMessage) override;
    STDMETHODIMP CopyMessages(LPENTRYLIST lpMsgList, LPCIID lpInterface, LPVOID lpDestFolder, ULONG_PTR ulUIParam,
                              LPMAPIPROGRESS lpProgress, ULONG ulFlags) override;
    STDMETHODIMP DeleteMessages(LPENTRYLIST lpMsgList, ULONG_PTR ulUIParam, LPMAPIPROGRESS lpProgress,
                                ULONG ulFlags) override;
    STDMETHODIMP CreateFolder(ULONG, LPWSTR, LPWSTR, LPCIID, ULONG, LPMAPIFOLDER* lppFolder) override;
    STDMETHODIMP CopyFolder(ULONG, LPENTRYID, LPCIID, LPVOID, LPWSTR, ULONG_PTR, LPMAPIPROGRESS, ULONG) override {
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP DeleteFolder(ULONG, LPENTRYID, ULONG_PTR, LPMAPIPROGRESS, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SetReadFlags(LPENTRYLIST, ULONG_PTR, LPMAPIPROGRESS, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SetMessageStatus(ULONG, LPENTRYID, ULONG, ULONG, ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SaveContentsSort(LPSSortOrderSet, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP EmptyFolder(ULONG_PTR, LPMAPIPROGRESS, ULONG) override { return MAPI_E_NO_SUPPORT; }

protected:
    HRESULT Available(std::vector<Prop>* props) override;
    const char* InterfaceName() const override { return "IMAPIFolder"; }

private:
    ~Folder() override;
    // The message rows of an entry list: MAPI_E_INVALID_ENTRYID when one is
    // not a message identifier of this store.
    HRESULT MessageRows(const ENTRYLIST* list, std::vector<RowId>* rows);

    MsgStore* const store_;
    const RowId row_;
};

}  // namespace cemapi
