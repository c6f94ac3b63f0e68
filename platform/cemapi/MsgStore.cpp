#include "MsgStore.h"

#include "Folder.h"
#include "Message.h"

#include <cstring>
#include <new>

namespace cemapi {

MsgStore::MsgStore(std::shared_ptr<StoreDb> db) : db_(std::move(db)) {}

// A store that goes away takes its advise registrations with it.
MsgStore::~MsgStore() { db_->notifier().UnadviseAll(this); }

STDMETHODIMP MsgStore::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_INVALIDARG;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IMAPIProp && riid != IID_IMsgStore) return E_NOINTERFACE;
    *ppvObject = static_cast<IMsgStore*>(this);
    AddRef();
    return S_OK;
}

HRESULT MsgStore::Available(std::vector<Prop>* props) {
    *props = {
        StringProp(PR_DISPLAY_NAME, u"SMS"),
        BinaryProp(PR_ENTRYID, db_->EntryId(MAPI_STORE, 0)),
        LongProp(PR_OBJECT_TYPE, MAPI_STORE),
        BinaryProp(PR_IPM_OUTBOX_ENTRYID, db_->EntryId(MAPI_FOLDER, kOutbox)),
        BinaryProp(PR_IPM_WASTEBASKET_ENTRYID, db_->EntryId(MAPI_FOLDER, kDeletedItems)),
        BinaryProp(PR_IPM_SENTMAIL_ENTRYID, db_->EntryId(MAPI_FOLDER, kSentItems)),
        BinaryProp(PR_CE_IPM_DRAFTS_ENTRYID, db_->EntryId(MAPI_FOLDER, kDrafts)),
        BinaryProp(PR_CE_IPM_INBOX_ENTRYID, db_->EntryId(MAPI_FOLDER, kInbox)),
    };
    return S_OK;
}

HRESULT MsgStore::Open(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags, ULONG* lpulObjType,
                       LPUNKNOWN* lppUnk) {
    if (!lppUnk) return MAPI_E_INVALID_PARAMETER;
    *lppUnk = nullptr;
    if (ulFlags & ~(MAPI_MODIFY | MAPI_BEST_ACCESS | MAPI_DEFERRED_ERRORS)) return MAPI_E_UNKNOWN_FLAGS;
    // No identifier opens the root folder.
    ObjectRef ref{MAPI_FOLDER, kRootFolder};
    if (lpEntryID) {
        if (ParseEntryId(db_->uid(), cbEntryID, lpEntryID, &ref) != ParseResult::Ok) return MAPI_E_INVALID_ENTRYID;
    } else if (cbEntryID) {
        return MAPI_E_INVALID_PARAMETER;
    }

    // Objects are always opened for reading and writing: the phone's store
    // grants MAPI_MODIFY whether or not it is asked for.
    IUnknown* object = nullptr;
    switch (ref.kind) {
        case MAPI_STORE:
            if (ref.row != 0) return MAPI_E_NOT_FOUND;
            AddRef();
            object = static_cast<IMsgStore*>(this);
            break;
        case MAPI_FOLDER:
            if (!db_->Folder(ref.row)) return MAPI_E_NOT_FOUND;
            object = static_cast<IMAPIFolder*>(new (std::nothrow) Folder(this, ref.row));
            break;
        case MAPI_MESSAGE:
            if (!db_->Message(ref.row)) return MAPI_E_NOT_FOUND;
            object = static_cast<IMessage*>(new (std::nothrow) Message(this, ref.row));
            break;
    }
    if (!object) return MAPI_E_NOT_ENOUGH_MEMORY;
    if (lpInterface) {
        HRESULT hr = object->QueryInterface(*lpInterface, reinterpret_cast<void**>(lppUnk));
        object->Release();
        if (FAILED(hr)) return MAPI_E_INTERFACE_NOT_SUPPORTED;
    } else {
        *lppUnk = object;
    }
    if (lpulObjType) *lpulObjType = ref.kind;
    return S_OK;
}

STDMETHODIMP MsgStore::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                                 ULONG* lpulObjType, LPUNKNOWN* lppUnk) {
    HRESULT hr;
    if (Injected("IMsgStore::OpenEntry", &hr)) {
        if (lppUnk) *lppUnk = nullptr;
        return hr;
    }
    return Open(cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk);
}

STDMETHODIMP MsgStore::GetReceiveFolder(LPWSTR, ULONG ulFlags, ULONG* lpcbEntryID, LPENTRYID* lppEntryID,
                                        LPWSTR* lppszExplicitClass) {
    HRESULT hr;
    if (Injected("IMsgStore::GetReceiveFolder", &hr)) return hr;
    if (!lpcbEntryID || !lppEntryID) return MAPI_E_INVALID_PARAMETER;
    *lpcbEntryID = 0;
    *lppEntryID = nullptr;
    if (lppszExplicitClass) *lppszExplicitClass = nullptr;
    if (ulFlags & ~MAPI_UNICODE) return MAPI_E_UNKNOWN_FLAGS;

    // Every class of message arrives in the Inbox; no class has a receive
    // folder of its own, so the explicit class is the empty one.
    const std::vector<BYTE> inbox = db_->EntryId(MAPI_FOLDER, kInbox);
    LPVOID entry = nullptr;
    hr = MAPIAllocateBuffer(static_cast<ULONG>(inbox.size()), &entry);
    if (FAILED(hr)) return hr;
    std::memcpy(entry, inbox.data(), inbox.size());
    if (lppszExplicitClass) {
        LPVOID text = nullptr;
        hr = MAPIAllocateBuffer(sizeof(WCHAR), &text);
        if (FAILED(hr)) {
            MAPIFreeBuffer(entry);
            return hr;
        }
        *static_cast<WCHAR*>(text) = 0;
        *lppszExplicitClass = static_cast<LPWSTR>(text);
    }
    *lpcbEntryID = static_cast<ULONG>(inbox.size());
    *lppEntryID = static_cast<LPENTRYID>(entry);
    return S_OK;
}

STDMETHODIMP MsgStore::Advise(ULONG cbEntryID, LPENTRYID lpEntryID, ULONG ulEventMask, LPMAPIADVISESINK lpAdviseSink,
                              ULONG* lpulConnection) {
    HRESULT hr;
    if (Injected("IMsgStore::Advise", &hr)) return hr;
    // The phone's store takes advice for the whole store only.
    if (cbEntryID || lpEntryID || !lpAdviseSink || !lpulConnection || !ulEventMask) return MAPI_E_INVALID_PARAMETER;
    *lpulConnection = 0;
    return db_->notifier().Advise(this, ulEventMask, lpAdviseSink, db_->LastChange(), lpulConnection);
}

STDMETHODIMP MsgStore::Unadvise(ULONG ulConnection) {
    HRESULT hr;
    if (Injected("IMsgStore::Unadvise", &hr)) return hr;
    if (!ulConnection) return MAPI_E_INVALID_PARAMETER;
    return db_->notifier().Unadvise(this, ulConnection);
}

STDMETHODIMP MsgStore::CompareEntryIDs(ULONG cbEntryID1, LPENTRYID lpEntryID1, ULONG cbEntryID2, LPENTRYID lpEntryID2,
                                       ULONG, ULONG* lpulResult) {
    if (!lpulResult) return MAPI_E_INVALID_PARAMETER;
    ObjectRef first, second;
    if (ParseEntryId(db_->uid(), cbEntryID1, lpEntryID1, &first) != ParseResult::Ok ||
        ParseEntryId(db_->uid(), cbEntryID2, lpEntryID2, &second) != ParseResult::Ok)
        return MAPI_E_INVALID_ENTRYID;
    *lpulResult = first == second;
    return S_OK;
}

}  // namespace cemapi
