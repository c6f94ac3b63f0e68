#include "RuleClientFactory.h"

#include "RuleClient.h"

#include <new>

namespace {
LONG g_serverLocks = 0;
}

LONG ServerLockCount() { return InterlockedCompareExchange(&g_serverLocks, 0, 0); }

STDMETHODIMP RuleClientFactory::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_INVALIDARG;
    if (riid != IID_IUnknown && riid != IID_IClassFactory) {
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    *ppv = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) RuleClientFactory::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) RuleClientFactory::Release() {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP RuleClientFactory::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) {
    if (pUnkOuter) return CLASS_E_NOAGGREGATION;
    RuleClient* client = new (std::nothrow) RuleClient;
    if (!client) return E_OUTOFMEMORY;
    HRESULT hr = client->QueryInterface(riid, ppv);
    client->Release();
    return hr;
}

STDMETHODIMP RuleClientFactory::LockServer(BOOL fLock) {
    if (fLock)
        InterlockedIncrement(&g_serverLocks);
    else
        InterlockedDecrement(&g_serverLocks);
    return S_OK;
}
