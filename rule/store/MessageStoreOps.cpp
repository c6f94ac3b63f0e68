// The exception texts are kept letter for letter, misspellings included:
// they are the texts this module has always thrown, and tests and logs of
// earlier builds compare them.
#include "MessageStoreOps.h"

#include "ComRef.h"
#include "RowSet.h"

namespace {

// One property of any object; failureText is the exception's text.
LPSPropValue GetOneProp(IMAPIProp* object, ULONG tag, LPCWSTR failureText) {
    SizedSPropTagArray(1, tags) = {1, {tag}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    HRESULT hr = object->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values);
    if (FAILED(hr)) ThrowMapiException(failureText);
    return values;
}

}  // namespace

LPSPropValue GetMessageProp(IMAPIProp* object, ULONG tag) {
    return GetOneProp(object, tag, TEXT("Coundn't get message property"));
}

LPSPropValue GetMessageProps(IMAPIProp* object, ULONG count, const ULONG* tags) {
    MapiBuffer<SPropTagArray> tagArray;
    if (FAILED(MAPIAllocateBuffer(static_cast<ULONG>(CbNewSPropTagArray(count)),
                                  reinterpret_cast<LPVOID*>(tagArray.Receive()))))
        ThrowMapiException(TEXT("Coundn't get message property"));
    tagArray->cValues = count;
    for (ULONG i = 0; i < count; ++i) tagArray->aulPropTag[i] = tags[i];
    ULONG returned = 0;
    PropValueBuffer values;
    HRESULT hr = object->GetProps(tagArray.Get(), 0, &returned, values.Receive());
    tagArray.Free();
    if (FAILED(hr)) ThrowMapiException(TEXT("Coundn't get message property"));
    if (returned != count) ThrowMapiException(TEXT("Wrong num propeties returned"));
    return values.Detach();
}

LPSPropValue GetStoreProp(IMsgStore* store, ULONG tag) {
    return GetOneProp(store, tag, TEXT("Coundn't get message store property"));
}

void MarkMessageRead(IMessage* message) {
    PropValueBuffer flags(GetMessageProp(message, PR_MESSAGE_FLAGS));
    if (!flags) return;
    // A message without flags gets them: an error value is no number to set a bit in.
    if (flags->ulPropTag != PR_MESSAGE_FLAGS) {
        flags->ulPropTag = PR_MESSAGE_FLAGS;
        flags->Value.ul = 0;
    }
    flags->Value.ul |= MSGFLAG_READ;
    HRESULT hr = message->SetProps(1, flags.Get(), nullptr);
    flags.Free();
    if (FAILED(hr)) ThrowMapiException(TEXT("Coundn't set read flag"));
}

IMAPIFolder* OpenDeletedItems(IMsgStore* store) {
    PropValueBuffer entry(GetStoreProp(store, PR_IPM_WASTEBASKET_ENTRYID));
    if (!entry || entry->ulPropTag != PR_IPM_WASTEBASKET_ENTRYID) return nullptr;
    ComRef<IMAPIFolder> folder;
    HRESULT hr = store->OpenEntry(entry->Value.bin.cb, reinterpret_cast<LPENTRYID>(entry->Value.bin.lpb), nullptr,
                                  MAPI_MODIFY, nullptr, folder.ReceiveUnknown());
    entry.Free();
    if (FAILED(hr)) ThrowMapiException(TEXT("Couldn't open delete folder"));
    return folder.Detach();
}

void MoveMessage(IMsgStore* store, IMessage* message, IMAPIFolder* destination, BOOL releaseDestination) {
    // The destination's reference goes on every path out, not only after a
    // move attempt, so that a failure before the move leaks nothing.
    ComRef<IMAPIFolder> released(releaseDestination ? destination : nullptr);
    static const ULONG kTags[] = {PR_PARENT_ENTRYID, PR_ENTRYID};
    PropValueBuffer ids(GetMessageProps(message, 2, kTags));
    if (!ids) return;
    const SPropValue& parent = ids.Get()[0];
    SPropValue& self = ids.Get()[1];
    if (parent.ulPropTag != PR_PARENT_ENTRYID || self.ulPropTag != PR_ENTRYID)
        ThrowMapiException(TEXT("Couldn't open the parent folder"));

    ComRef<IMAPIFolder> parentFolder;
    HRESULT hr = store->OpenEntry(parent.Value.bin.cb, reinterpret_cast<LPENTRYID>(parent.Value.bin.lpb), nullptr, 0,
                                  nullptr, parentFolder.ReceiveUnknown());
    if (FAILED(hr)) ThrowMapiException(TEXT("Couldn't open the parent folder"));

    ENTRYLIST list = {1, &self.Value.bin};
    hr = parentFolder->CopyMessages(&list, nullptr, destination, 0, nullptr, MESSAGE_MOVE);
    ids.Free();
    parentFolder.Release();
    released.Release();
    if (FAILED(hr)) ThrowMapiException(TEXT("Couldn't move message"));
}

LONG CountUnread(IMsgStore* store) {
    MapiBuffer<ENTRYID> entry;
    ULONG entrySize = 0;
    if (FAILED(store->GetReceiveFolder(nullptr, 0, &entrySize, entry.Receive(), nullptr)))
        ThrowMapiException(TEXT("Couldn't get ReceiveFolder"));

    ComRef<IMAPIFolder> folder;
    if (FAILED(store->OpenEntry(entrySize, entry.Get(), nullptr, 0, nullptr, folder.ReceiveUnknown())))
        ThrowMapiException(TEXT("Couldn't open ReceiveFolder"));

    ComRef<IMAPITable> table;
    if (FAILED(folder->GetContentsTable(MAPI_UNICODE, table.Receive()))) ThrowMapiException(TEXT("Couldn't get table"));

    SizedSPropTagArray(1, columns) = {1, {PR_MESSAGE_FLAGS}};
    // A table that keeps its own columns still counts: the flags are checked per row.
    table->SetColumns(reinterpret_cast<LPSPropTagArray>(&columns), 0);

    LONG unread = 0;
    RowSet rows;
    while (SUCCEEDED(table->QueryRows(1, 0, rows.Receive())) && rows.Get() && rows.Get()->cRows == 1) {
        const SRow& row = rows.Get()->aRow[0];
        if (row.cValues >= 1 && row.lpProps && row.lpProps[0].ulPropTag == PR_MESSAGE_FLAGS &&
            !(row.lpProps[0].Value.ul & MSGFLAG_READ))
            ++unread;
    }
    return unread;
}
