// COM activation of in-process servers: the InprocServer32 key of the
// class under HKEY_CLASSES_ROOT\CLSID names the module, whose DllGetClassObject gives the class
// factory. Servers stay loaded until CoFreeUnusedLibraries finds that their
// DllCanUnloadNow allows unloading.
#include <coredll_host.h>
#include <objbase.h>

#include <map>
#include <mutex>

namespace {

thread_local int t_comInitCount = 0;

std::mutex g_serversLock;
std::map<HMODULE, int> g_servers;  // modules loaded for COM

const char kHex[] = "0123456789ABCDEF";

// Loads the server module of a class; one reference is kept per module.
HRESULT LoadServer(REFCLSID rclsid, HMODULE* module) {
    WCHAR key[6 + CHARS_IN_GUID + 16] = u"CLSID\\";
    StringFromGUID2(rclsid, key + 6, CHARS_IN_GUID);
    wcscat(key, u"\\InprocServer32");
    HKEY hkey = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, key, 0, 0, &hkey) != ERROR_SUCCESS) return REGDB_E_CLASSNOTREG;
    WCHAR path[MAX_PATH] = {};
    DWORD type = 0, size = sizeof(path) - sizeof(WCHAR);
    LONG rc = RegQueryValueExW(hkey, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(hkey);
    if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ) || !path[0]) return REGDB_E_CLASSNOTREG;
    HMODULE loaded = LoadLibraryW(path);
    if (!loaded) return CO_E_DLLNOTFOUND;
    std::lock_guard<std::mutex> lock(g_serversLock);
    if (g_servers[loaded]++ > 0) FreeLibrary(loaded);  // COM holds one reference per server
    *module = loaded;
    return S_OK;
}

}  // namespace

STDAPI CoInitializeEx(LPVOID, DWORD) { return t_comInitCount++ == 0 ? S_OK : S_FALSE; }

STDAPI_(void) CoUninitialize(void) {
    if (t_comInitCount > 0) --t_comInitCount;
}

STDAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (t_comInitCount == 0) return CO_E_NOTINITIALIZED;
    if (!(dwClsContext & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    HMODULE module = nullptr;
    HRESULT hr = LoadServer(rclsid, &module);
    if (FAILED(hr)) return hr;
    auto getClassObject = reinterpret_cast<LPFNGETCLASSOBJECT>(GetProcAddressW(module, u"DllGetClassObject"));
    if (!getClassObject) return CO_E_ERRORINDLL;
    return getClassObject(rclsid, riid, ppv);
}

STDAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    long injected = E_FAIL;
    if (host::ShouldFail("CoCreateInstance", &injected)) return static_cast<HRESULT>(injected);
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(pUnkOuter, riid, ppv);
    factory->Release();
    return hr;
}

STDAPI_(void) CoFreeUnusedLibraries(void) {
    std::lock_guard<std::mutex> lock(g_serversLock);
    for (auto it = g_servers.begin(); it != g_servers.end();) {
        auto canUnload = reinterpret_cast<LPFNCANUNLOADNOW>(GetProcAddressW(it->first, u"DllCanUnloadNow"));
        if (canUnload && canUnload() == S_OK) {
            FreeLibrary(it->first);
            it = g_servers.erase(it);
        } else {
            ++it;
        }
    }
}

STDAPI_(int) StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
    if (!lpsz || cchMax < CHARS_IN_GUID) return 0;
    uint8_t bytes[16] = {
        static_cast<uint8_t>(rguid.Data1 >> 24), static_cast<uint8_t>(rguid.Data1 >> 16),
        static_cast<uint8_t>(rguid.Data1 >> 8),  static_cast<uint8_t>(rguid.Data1),
        static_cast<uint8_t>(rguid.Data2 >> 8),  static_cast<uint8_t>(rguid.Data2),
        static_cast<uint8_t>(rguid.Data3 >> 8),  static_cast<uint8_t>(rguid.Data3),
    };
    for (int i = 0; i < 8; ++i) bytes[8 + i] = rguid.Data4[i];
    int n = 0;
    lpsz[n++] = u'{';
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) lpsz[n++] = u'-';
        lpsz[n++] = static_cast<OLECHAR>(kHex[bytes[i] >> 4]);
        lpsz[n++] = static_cast<OLECHAR>(kHex[bytes[i] & 0xF]);
    }
    lpsz[n++] = u'}';
    lpsz[n++] = 0;
    return n;
}

STDAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
    if (!lpsz || !pclsid) return E_INVALIDARG;
    static const int kLayout[] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};
    if (wcslen(lpsz) != CHARS_IN_GUID - 1 || lpsz[0] != u'{' || lpsz[37] != u'}' || lpsz[9] != u'-' ||
        lpsz[14] != u'-' || lpsz[19] != u'-' || lpsz[24] != u'-')
        return CO_E_CLASSSTRING;
    uint8_t bytes[16];
    for (int i = 0; i < 16; ++i) {
        int v = 0;
        for (int k = 0; k < 2; ++k) {
            OLECHAR c = lpsz[kLayout[i] + k];
            int d = (c >= u'0' && c <= u'9')   ? c - u'0'
                    : (c >= u'a' && c <= u'f') ? c - u'a' + 10
                    : (c >= u'A' && c <= u'F') ? c - u'A' + 10
                                               : -1;
            if (d < 0) return CO_E_CLASSSTRING;
            v = v * 16 + d;
        }
        bytes[i] = static_cast<uint8_t>(v);
    }
    pclsid->Data1 = (uint32_t(bytes[0]) << 24) | (uint32_t(bytes[1]) << 16) | (uint32_t(bytes[2]) << 8) | bytes[3];
    pclsid->Data2 = static_cast<uint16_t>((bytes[4] << 8) | bytes[5]);
    pclsid->Data3 = static_cast<uint16_t>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i) pclsid->Data4[i] = bytes[8 + i];
    return S_OK;
}
