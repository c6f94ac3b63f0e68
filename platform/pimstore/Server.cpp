// The COM server exports of pimstore.dll: the class factory of
// CLSID_Application and the unload check.
#include "Application.h"
#include "ServerObjects.h"

#include <ComObject.h>
#include <atomic>
#include <new>

namespace pim {

namespace {

std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};

class ClassFactory : public platform::ComObject<IClassFactory> {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        Application* app = new (std::nothrow) Application;
        if (!app) return E_OUTOFMEMORY;
        HRESULT hr = app->QueryInterface(riid, ppv);
        app->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        ServerLocked(lock != FALSE);
        return S_OK;
    }
};

}  // namespace

void ObjectCreated() { ++g_objects; }
void ObjectDestroyed() { --g_objects; }
void ServerLocked(bool lock) {
    if (lock)
        ++g_locks;
    else
        --g_locks;
}
bool ServerInUse() { return g_objects.load() > 0 || g_locks.load() > 0; }

}  // namespace pim

extern "C" HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_Application) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) pim::ClassFactory;
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

extern "C" HRESULT DllCanUnloadNow() { return pim::ServerInUse() ? S_FALSE : S_OK; }
