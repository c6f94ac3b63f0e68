// IMsgStore: the device's SMS message store. Folders, messages and tables
// opened through it hold a reference on it.
#pragma once

#include "MapiObject.h"
#include "StoreDb.h"

#include <memory>

namespace cemapi {

class MsgStore final : public PropObject<IMsgStore> {
public:
    explicit MsgStore(std::shared_ptr<StoreDb> db);

    StoreDb& db() { return *db_; }
    const std::shared_ptr<StoreDb>& shared() const { return db_; }
    // OpenEntry of the store and of its folders.
    HRESULT Open(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                 LPUNKNOWN* lppUnk);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;

    STDMETHODIMP Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink,
                        ULONG* lpulConnection) override;
    STDMETHODIMP Unadvise(ULONG ulConnection) override;
    STDMETHODIMP CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                 ULONG ulFlags, ULONG* lpulResult) override;
    STDMETHODIMP OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                           LPUNKNOWN* lppUnk) override;
    STDMETHODIMP SetReceiveFolder(LPWSTR, ULONG, ULONG, LPENTRYID) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetReceiveFolder(LPWSTR lpszMessageClass, ULONG ulFlags, ULONG* lpcbEntryID, LPENTRYID* lppEntryID,
                                  LPWSTR* lppszExplicitClass) override;
    STDMETHODIMP GetReceiveFolderTable(ULONG, LPMAPITABLE*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP StoreLogoff(ULONG*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP AbortSubmit(ULONG, LPENTRYID, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetOutgoingQueue(ULONG, LPMAPITABLE*) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SetLockState(LPMESSAGE, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP FinishedMsg(ULONG, ULONG, LPENTRYID) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP NotifyNewMail(LPNOTIFICATION) override { return MAPI_E_NO_SUPPORT; }

protected:
    HRESULT Available(std::vector<Prop>* props) override;
    const char* InterfaceName() const override { return "IMsgStore"; }

private:
    ~MsgStore() override;

    std::shared_ptr<StoreDb> db_;
};

}  // namespace cemapi
