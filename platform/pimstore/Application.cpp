#include "Application.h"

#include "Contact.h"
#include "ServerObjects.h"

#include <coredll_host.h>

#include <new>

namespace pim {

Application::Application() { ObjectCreated(); }

Application::~Application() { ObjectDestroyed(); }

std::shared_ptr<Store> Application::Session(HRESULT* hr) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!loggedOn_) {
        *hr = E_UNEXPECTED;
        return nullptr;
    }
    // Follows the device: the emulator may open another one meanwhile.
    std::shared_ptr<Store> store = CurrentStore();
    if (!store) {
        *hr = E_FAIL;
        return nullptr;
    }
    store_ = store;
    *hr = S_OK;
    return store;
}

STDMETHODIMP Application::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IDispatch && riid != IID_IPOutlookApp) return E_NOINTERFACE;
    *ppv = static_cast<IPOutlookApp*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP Application::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP Application::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP Application::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP Application::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
    return E_NOTIMPL;
}

STDMETHODIMP Application::Logon(long) {
    long injected = E_FAIL;
    if (host::ShouldFail("IPOutlookApp::Logon", &injected)) return static_cast<HRESULT>(injected);
    std::lock_guard<std::mutex> guard(lock_);
    if (loggedOn_) return S_FALSE;
    std::shared_ptr<Store> store = CurrentStore();
    if (!store) return E_FAIL;
    store_ = std::move(store);
    loggedOn_ = true;
    return S_OK;
}

STDMETHODIMP Application::Logoff() {
    std::lock_guard<std::mutex> guard(lock_);
    if (!loggedOn_) return S_FALSE;
    loggedOn_ = false;
    store_.reset();
    return S_OK;
}

STDMETHODIMP Application::get_Version(BSTR*) { return E_NOTIMPL; }

STDMETHODIMP Application::CreateItem(int olItem, IDispatch** ppPOOMObj) {
    if (!ppPOOMObj) return E_INVALIDARG;
    *ppPOOMObj = nullptr;
    // Contacts are the only items this store keeps.
    if (olItem != olContactItem) return E_INVALIDARG;
    HRESULT hr = S_OK;
    std::shared_ptr<Store> store = Session(&hr);
    if (!store) return hr;
    Contact* contact = new (std::nothrow) Contact(this, std::move(store), ContactData{});
    if (!contact) return E_OUTOFMEMORY;
    *ppPOOMObj = static_cast<IContact*>(contact);
    return S_OK;
}

STDMETHODIMP Application::GetItemFromOid(long oid, IDispatch** ppPOOMObj) {
    if (!ppPOOMObj) return E_INVALIDARG;
    *ppPOOMObj = nullptr;
    HRESULT hr = S_OK;
    std::shared_ptr<Store> store = Session(&hr);
    if (!store) return hr;
    if (oid <= 0) return E_INVALIDARG;
    ContactData data;
    hr = store->Load(oid, &data);
    if (hr == S_FALSE) return E_INVALIDARG;
    if (FAILED(hr)) return hr;
    Contact* contact = new (std::nothrow) Contact(this, std::move(store), std::move(data));
    if (!contact) return E_OUTOFMEMORY;
    *ppPOOMObj = static_cast<IContact*>(contact);
    return S_OK;
}

}  // namespace pim
