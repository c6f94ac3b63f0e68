#include "Folder.h"

#include "ContentsTable.h"
#include "Message.h"

#include <new>

namespace cemapi {

Folder::Folder(MsgStore* store, RowId row) : store_(store), row_(row) { store_->AddRef(); }

Folder::~Folder() { store_->Release(); }

STDMETHODIMP Folder::QueryInterface(REFIID riid, void** ppvObject) {
    if (!ppvObject) return E_INVALIDARG;
    *ppvObject = nullptr;
    if (riid != IID_IUnknown && riid != IID_IMAPIProp && riid != IID_IMAPIContainer && riid != IID_IMAPIFolder &&
        riid != IID_CemapiFolder)
        return E_NOINTERFACE;
    *ppvObject = static_cast<IMAPIFolder*>(this);
    AddRef();
    return S_OK;
}

HRESULT Folder::Available(std::vector<Prop>* props) {
    std::optional<FolderInfo> info = store_->db().Folder(row_);
    if (!info) return MAPI_E_CALL_FAILED;
    *props = {
        StringProp(PR_DISPLAY_NAME, info->name),
        BinaryProp(PR_ENTRYID, store_->db().EntryId(MAPI_FOLDER, row_)),
        BinaryProp(PR_PARENT_ENTRYID, store_->db().EntryId(MAPI_FOLDER, info->parent)),
        LongProp(PR_OBJECT_TYPE, MAPI_FOLDER),
        LongProp(PR_CONTENT_COUNT, info->count),
        LongProp(PR_CONTENT_UNREAD, info->unread),
    };
    return S_OK;
}

STDMETHODIMP Folder::GetContentsTable(ULONG ulFlags, LPMAPITABLE* lppTable) {
    HRESULT hr;
    if (Injected("IMAPIFolder::GetContentsTable", &hr)) {
        if (lppTable) *lppTable = nullptr;
        return hr;
    }
    if (!lppTable) return MAPI_E_INVALID_PARAMETER;
    *lppTable = nullptr;
    if (ulFlags & ~(MAPI_UNICODE | MAPI_DEFERRED_ERRORS)) return MAPI_E_UNKNOWN_FLAGS;
    ContentsTable* table = new (std::nothrow) ContentsTable(store_, row_);
    if (!table) return MAPI_E_NOT_ENOUGH_MEMORY;
    *lppTable = table;
    return S_OK;
}

STDMETHODIMP Folder::GetHierarchyTable(ULONG, LPMAPITABLE* lppTable) {
    if (lppTable) *lppTable = nullptr;
    return MAPI_E_NO_SUPPORT;
}

STDMETHODIMP Folder::OpenEntry(ULONG cbEntryID, LPENTRYID lpEntryID, LPCIID lpInterface, ULONG ulFlags,
                               ULONG* lpulObjType, LPUNKNOWN* lppUnk) {
    HRESULT hr;
    if (Injected("IMAPIFolder::OpenEntry", &hr)) {
        if (lppUnk) *lppUnk = nullptr;
        return hr;
    }
    return store_->Open(cbEntryID, lpEntryID, lpInterface, ulFlags, lpulObjType, lppUnk);
}

STDMETHODIMP Folder::CreateMessage(LPCIID lpInterface, ULONG ulFlags, LPMESSAGE* lppMessage) {
    HRESULT hr;
    if (Injected("IMAPIFolder::CreateMessage", &hr)) {
        if (lppMessage) *lppMessage = nullptr;
        return hr;
    }
    if (!lppMessage) return MAPI_E_INVALID_PARAMETER;
    *lppMessage = nullptr;
    if (lpInterface && *lpInterface != IID_IMessage) return MAPI_E_INTERFACE_NOT_SUPPORTED;
    if (ulFlags & ~MAPI_DEFERRED_ERRORS) return MAPI_E_UNKNOWN_FLAGS;
    // The new message is a row of the folder at once: its entry identifier
    // is valid and it is in the contents table before any SaveChanges.
    RowId row = 0;
    hr = store_->db().CreateMessage(row_, {}, &row);
    if (FAILED(hr)) return hr;
    Message* message = new (std::nothrow) Message(store_, row);
    if (!message) return MAPI_E_NOT_ENOUGH_MEMORY;
    *lppMessage = message;
    return S_OK;
}

HRESULT Folder::MessageRows(const ENTRYLIST* list, std::vector<RowId>* rows) {
    if (list->cValues && !list->lpbin) return MAPI_E_INVALID_PARAMETER;
    for (ULONG i = 0; i < list->cValues; ++i) {
        const SBinary& entry = list->lpbin[i];
        ObjectRef ref;
        if (ParseEntryId(store_->db().uid(), entry.cb, reinterpret_cast<const ENTRYID*>(entry.lpb), &ref) !=
                ParseResult::Ok ||
            ref.kind != MAPI_MESSAGE)
            return MAPI_E_INVALID_ENTRYID;
        rows->push_back(ref.row);
    }
    return S_OK;
}

STDMETHODIMP Folder::CopyMessages(LPENTRYLIST lpMsgList, LPCIID lpInterface, LPVOID lpDestFolder, ULONG_PTR,
                                  LPMAPIPROGRESS, ULONG ulFlags) {
    HRESULT hr;
    if (Injected("IMAPIFolder::CopyMessages", &hr)) return hr;
    if (!lpMsgList || !lpDestFolder) return MAPI_E_INVALID_PARAMETER;
    if (ulFlags & ~(MESSAGE_MOVE | MESSAGE_DIALOG)) return MAPI_E_UNKNOWN_FLAGS;
    if (lpInterface && *lpInterface != IID_IMAPIFolder && *lpInterface != IID_IMAPIContainer &&
        *lpInterface != IID_IMAPIProp && *lpInterface != IID_IUnknown)
        return MAPI_E_INTERFACE_NOT_SUPPORTED;

    // Each of those interfaces starts with IUnknown.
    IUnknown* destination = static_cast<IUnknown*>(lpDestFolder);
    void* ours = nullptr;
    if (FAILED(destination->QueryInterface(IID_CemapiFolder, &ours))) return MAPI_E_INVALID_PARAMETER;
    Folder* dest = static_cast<Folder*>(static_cast<IMAPIFolder*>(ours));
    const RowId destRow = dest->row();
    const bool sameStore = dest->store()->shared() == store_->shared();
    dest->Release();
    if (!sameStore) return MAPI_E_NO_SUPPORT;

    std::vector<RowId> rows;
    hr = MessageRows(lpMsgList, &rows);
    if (FAILED(hr)) return hr;
    if (rows.empty()) return S_OK;
    return store_->db().Transfer(rows, row_, destRow, (ulFlags & MESSAGE_MOVE) != 0);
}

STDMETHODIMP Folder::DeleteMessages(LPENTRYLIST lpMsgList, ULONG_PTR, LPMAPIPROGRESS, ULONG ulFlags) {
    HRESULT hr;
    if (Injected("IMAPIFolder::DeleteMessages", &hr)) return hr;
    if (!lpMsgList) return MAPI_E_INVALID_PARAMETER;
    if (ulFlags & ~MESSAGE_DIALOG) return MAPI_E_UNKNOWN_FLAGS;
    std::vector<RowId> rows;
    hr = MessageRows(lpMsgList, &rows);
    if (FAILED(hr)) return hr;
    if (rows.empty()) return S_OK;
    return store_->db().Delete(rows, row_);
}

STDMETHODIMP Folder::CreateFolder(ULONG, LPWSTR, LPWSTR, LPCIID, ULONG, LPMAPIFOLDER* lppFolder) {
    if (lppFolder) *lppFolder = nullptr;
    return MAPI_E_NO_SUPPORT;
}

}  // namespace cemapi
