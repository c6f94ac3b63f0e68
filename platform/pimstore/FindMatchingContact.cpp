// FindMatchingContact: the caller-identification lookup of the contact
// store (the rule itself is in PhoneDigits.h and ContactStore.cpp).
#include "Application.h"
#include "Contact.h"

#include <coredll_host.h>

#include <new>

STDAPI FindMatchingContact(IPOutlookApp* pOlApp, LPCWSTR pszFind, DWORD dwFlags, IItem** ppContact, CEPROPID* ppropid) {
    if (ppContact) *ppContact = nullptr;
    if (!pOlApp || !pszFind || !ppContact || !ppropid) return E_INVALIDARG;
    if (dwFlags & ~DWORD(FMCF_FINDPHONE | FMCF_FINDEMAIL | FMCF_FINDFILEAS)) return E_INVALIDARG;
    // The store keeps no e-mail addresses; file-as search is not offered.
    if (!(dwFlags & FMCF_FINDPHONE)) return E_NOTIMPL;
    long injected = E_FAIL;
    if (host::ShouldFail("FindMatchingContact", &injected)) return static_cast<HRESULT>(injected);

    auto* app = dynamic_cast<pim::Application*>(pOlApp);
    if (!app) return E_INVALIDARG;
    HRESULT hr = S_OK;
    std::shared_ptr<pim::Store> store = app->Session(&hr);
    if (!store) return hr;
    int64_t oid = 0;
    CEPROPID propid = 0;
    hr = store->FindByNumber(std::u16string_view(pszFind, wcslen(pszFind)), &oid, &propid);
    if (hr != S_OK) return hr;
    pim::ContactData data;
    hr = store->Load(oid, &data);
    if (hr != S_OK) return hr;  // S_FALSE: removed by another process meanwhile
    auto* contact = new (std::nothrow) pim::Contact(pOlApp, std::move(store), std::move(data));
    if (!contact) return E_OUTOFMEMORY;
    *ppContact = static_cast<IItem*>(contact);
    *ppropid = propid;
    return S_OK;
}
