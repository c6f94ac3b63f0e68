#include "ContactLookup.h"

HRESULT ContactStoreConnection::Open() {
    Close();
    HRESULT hr = CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                                  app_.ReceiveVoid());
    if (FAILED(hr)) {
        app_.Release();
        return hr;
    }
    if (!app_) return E_POINTER;
    hr = app_->Logon(0);
    usable_ = SUCCEEDED(hr);
    return hr;
}

void ContactStoreConnection::Close() {
    if (app_) app_->Logoff();
    app_.Release();
    usable_ = false;
}

LPWSTR BuildLookupKey(LPCWSTR text, const NumberSpan& span) {
    int count = span.end - span.lookupStart + 1;
    if (!text || count < 0) count = 0;
    LPWSTR key = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, (static_cast<UINT>(count) + 1) * sizeof(WCHAR)));
    if (!key) return nullptr;
    int length = 0;
    for (int i = 0; i < count; ++i) {
        WCHAR c = text[span.lookupStart + i];
        if (c != TEXT(' ')) key[length++] = c;
    }
    key[length] = 0;
    return key;
}

bool FindContactByNumber(const ContactStoreConnection& connection, LPCWSTR key, ContactMatch* match) {
    if (!connection.IsUsable() || !key || !match) return false;
    ComRef<IItem> item;
    CEPROPID propId = 0;
    HRESULT hr = FindMatchingContact(connection.App(), key, FMCF_FINDPHONE, item.Receive(), &propId);
    if (hr != S_OK || !item) return false;
    if (FAILED(item->QueryInterface(IID_IContact, match->contact.ReceiveVoid())) || !match->contact) {
        match->contact.Release();
        return false;
    }
    match->propId = propId;
    return true;
}
