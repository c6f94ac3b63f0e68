// The module's entry and its four exports.
#include "BubbleThread.h"
#include "Registration.h"
#include "RuleClientFactory.h"
#include "RuleClientGuids.h"

#include <new>

namespace {
// Stored at process attach; the bubble registers its window class and the
// HTML view with it and loads its menus from it.
HINSTANCE g_hInstance = nullptr;
}  // namespace

extern "C" BOOL WINAPI DllMain(HANDLE hinstDLL, DWORD fdwReason, LPVOID) {
    switch (fdwReason) {
        case DLL_PROCESS_ATTACH:
            g_hInstance = static_cast<HINSTANCE>(hinstDLL);
            CreateBubbleThreadState(g_hInstance);
            break;
        case DLL_PROCESS_DETACH:
            StopBubbleThread();
            FreeBubbleThreadState();
            break;
    }
    return TRUE;
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (rclsid != CLSID_RuleClient) return CLASS_E_CLASSNOTAVAILABLE;
    RuleClientFactory* factory = new (std::nothrow) RuleClientFactory;
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow(void) { return ServerLockCount() != 0 ? S_FALSE : S_OK; }

STDAPI DllRegisterServer(void) { return RegisterRuleClient(); }

STDAPI DllUnregisterServer(void) { return UnregisterRuleClient(); }
