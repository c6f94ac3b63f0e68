// A module that records its process attach and detach in the registry
// (HKLM\LoaderProbe), exports one plain function, and serves one COM class
// whose objects count themselves.
#include <objbase.h>

namespace {

// {6F0B5C2E-9A51-4C1E-8E2B-3B7D2B6A1C01}
DEFINE_GUID(CLSID_Probe, 0x6F0B5C2E, 0x9A51, 0x4C1E, 0x8E, 0x2B, 0x3B, 0x7D, 0x2B, 0x6A, 0x1C, 0x01);

LONG g_objects = 0;
LONG g_locks = 0;

void Count(LPCWSTR name) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("LoaderProbe"), 0, nullptr, 0, 0, nullptr, &key, nullptr) != 0) return;
    DWORD value = 0, size = sizeof value;
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    ++value;
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

class ProbeObject : public IUnknown {
public:
    ProbeObject() { InterlockedIncrement(&g_objects); }
    virtual ~ProbeObject() { InterlockedDecrement(&g_objects); }
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown) return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG r = InterlockedDecrement(&refs_);
        if (r == 0) delete this;
        return r;
    }

private:
    LONG refs_ = 1;
};

class ProbeFactory : public IClassFactory {
public:
    virtual ~ProbeFactory() = default;
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
        *ppv = this;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG r = InterlockedDecrement(&refs_);
        if (r == 0) delete this;
        return r;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (outer) return CLASS_E_NOAGGREGATION;
        ProbeObject* object = new ProbeObject;
        HRESULT hr = object->QueryInterface(riid, ppv);
        object->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL lock) override {
        if (lock)
            InterlockedIncrement(&g_locks);
        else
            InterlockedDecrement(&g_locks);
        return S_OK;
    }

private:
    LONG refs_ = 1;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HANDLE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) Count(TEXT("Attach"));
    if (reason == DLL_PROCESS_DETACH) Count(TEXT("Detach"));
    return TRUE;
}

extern "C" int ProbeValue() { return 42; }

extern "C" HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
    if (rclsid != CLSID_Probe) return CLASS_E_CLASSNOTAVAILABLE;
    ProbeFactory* factory = new ProbeFactory;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

extern "C" HRESULT DllCanUnloadNow() { return g_objects == 0 && g_locks == 0 ? S_OK : S_FALSE; }
