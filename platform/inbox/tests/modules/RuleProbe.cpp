// A rule client for the inbox service's tests ("RuleProbe.dll"). It answers
// every message as HKLM\RuleProbe tells it: "EventType" is ORed into the
// event type, "Handled" is written as the handled answer (each only when
// present), and "MoveToDeleted" set moves the message, marked read, to the
// Deleted Items folder as a client that files reports away would. It counts
// its calls there too ("Calls") and keeps the last subject it was given.
#include <cemapi.h>
#include <objbase.h>

namespace {

// {5E1F0B7A-3C2D-4E8F-9A1B-2C3D4E5F6A70}
DEFINE_GUID(CLSID_RuleProbe, 0x5E1F0B7A, 0x3C2D, 0x4E8F, 0x9A, 0x1B, 0x2C, 0x3D, 0x4E, 0x5F, 0x6A, 0x70);
const WCHAR kClsidText[] = TEXT("{5E1F0B7A-3C2D-4E8F-9A1B-2C3D4E5F6A70}");
const WCHAR kClassKey[] = TEXT("CLSID\\{5E1F0B7A-3C2D-4E8F-9A1B-2C3D4E5F6A70}\\InprocServer32");
const WCHAR kModule[] = TEXT("RuleProbe.dll");
const WCHAR kRulesKey[] = TEXT("Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules");
const WCHAR kProbeKey[] = TEXT("RuleProbe");

LONG g_objects = 0;

bool ReadSetting(LPCWSTR name, DWORD* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kProbeKey, 0, 0, &key) != ERROR_SUCCESS) return false;
    DWORD size = sizeof *value, type = 0;
    LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS && type == REG_DWORD;
}

void Record(LPCWSTR subject) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProbeKey, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD calls = 0, size = sizeof calls;
    RegQueryValueExW(key, TEXT("Calls"), nullptr, nullptr, reinterpret_cast<BYTE*>(&calls), &size);
    ++calls;
    RegSetValueExW(key, TEXT("Calls"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&calls), sizeof calls);
    RegSetValueExW(key, TEXT("LastSubject"), 0, REG_SZ, reinterpret_cast<const BYTE*>(subject),
                   static_cast<DWORD>((wcslen(subject) + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
}

// Marks the message read and moves it into Deleted Items.
void MoveToDeleted(IMsgStore* store, IMessage* message) {
    SPropValue read = {};
    read.ulPropTag = PR_MESSAGE_FLAGS;
    read.Value.ul = MSGFLAG_READ;
    message->SetProps(1, &read, nullptr);

    SizedSPropTagArray(1, wasteTag) = {1, {PR_IPM_WASTEBASKET_ENTRYID}};
    SizedSPropTagArray(2, ids) = {2, {PR_PARENT_ENTRYID, PR_ENTRYID}};
    ULONG count = 0;
    LPSPropValue waste = nullptr, own = nullptr;
    IMAPIFolder *deleted = nullptr, *parent = nullptr;
    if (SUCCEEDED(store->GetProps(reinterpret_cast<LPSPropTagArray>(&wasteTag), 0, &count, &waste)) &&
        waste->ulPropTag == PR_IPM_WASTEBASKET_ENTRYID &&
        SUCCEEDED(message->GetProps(reinterpret_cast<LPSPropTagArray>(&ids), 0, &count, &own)) &&
        own[0].ulPropTag == PR_PARENT_ENTRYID && own[1].ulPropTag == PR_ENTRYID &&
        SUCCEEDED(store->OpenEntry(waste->Value.bin.cb, reinterpret_cast<LPENTRYID>(waste->Value.bin.lpb), nullptr,
                                   MAPI_MODIFY, nullptr, reinterpret_cast<IUnknown**>(&deleted))) &&
        SUCCEEDED(store->OpenEntry(own[0].Value.bin.cb, reinterpret_cast<LPENTRYID>(own[0].Value.bin.lpb), nullptr,
                                   MAPI_MODIFY, nullptr, reinterpret_cast<IUnknown**>(&parent)))) {
        ENTRYLIST list = {1, &own[1].Value.bin};
        parent->CopyMessages(&list, nullptr, deleted, 0, nullptr, MESSAGE_MOVE);
    }
    if (parent) parent->Release();
    if (deleted) deleted->Release();
    if (own) MAPIFreeBuffer(own);
    if (waste) MAPIFreeBuffer(waste);
}

class RuleProbe : public IMailRuleClient {
public:
    RuleProbe() { InterlockedIncrement(&g_objects); }
    virtual ~RuleProbe() { InterlockedDecrement(&g_objects); }

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IMailRuleClient) return E_NOINTERFACE;
        *ppv = static_cast<IMailRuleClient*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return refs;
    }

    STDMETHODIMP Initialize(IMsgStore*, MRCACCESS* desired) override {
        *desired = MRC_ACCESS_WRITE;
        return S_OK;
    }

    STDMETHODIMP ProcessMessage(IMsgStore* store, ULONG cbMsg, LPENTRYID lpMsg, ULONG, LPENTRYID, ULONG* eventType,
                                MRCHANDLED* handled) override {
        IMessage* message = nullptr;
        LPSPropValue subject = nullptr;
        if (SUCCEEDED(store->OpenEntry(cbMsg, lpMsg, nullptr, MAPI_MODIFY, nullptr,
                                       reinterpret_cast<IUnknown**>(&message)))) {
            SizedSPropTagArray(1, tags) = {1, {PR_SUBJECT_W}};
            ULONG count = 0;
            message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &subject);
        }
        Record(subject && subject->ulPropTag == PR_SUBJECT_W ? subject->Value.lpszW : TEXT(""));
        if (subject) MAPIFreeBuffer(subject);

        DWORD value = 0;
        if (message && ReadSetting(TEXT("MoveToDeleted"), &value) && value) MoveToDeleted(store, message);
        if (message) message->Release();
        if (ReadSetting(TEXT("EventType"), &value)) *eventType |= value;
        if (ReadSetting(TEXT("Handled"), &value)) *handled = static_cast<MRCHANDLED>(value);
        return S_OK;
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
        *ppv = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return refs;
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (!ppv) return E_POINTER;
        *ppv = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        RuleProbe* probe = new RuleProbe;
        HRESULT hr = probe->QueryInterface(riid, ppv);
        probe->Release();
        return hr;
    }
    STDMETHODIMP LockServer(BOOL) override { return S_OK; }

private:
    LONG refs_ = 1;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HANDLE, DWORD, LPVOID) { return TRUE; }

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (rclsid != CLSID_RuleProbe) return CLASS_E_CLASSNOTAVAILABLE;
    ProbeFactory* factory = new ProbeFactory;
    HRESULT hr = factory->QueryInterface(riid, ppv);
    factory->Release();
    return hr;
}

STDAPI DllCanUnloadNow() { return g_objects == 0 ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, kClassKey, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kModule), sizeof kModule);
    RegCloseKey(key);
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kRulesKey, 0, nullptr, 0, 0, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return E_FAIL;
    DWORD enabled = 1;
    RegSetValueExW(key, kClsidText, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled), sizeof enabled);
    RegCloseKey(key);
    return S_OK;
}
