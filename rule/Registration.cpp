// DllRegisterServer and DllUnregisterServer: the COM class key and the
// inbox service's SMS rules value.
#include "Registration.h"

#include "RuleClientGuids.h"

namespace {

// Closes a registry key when the holder goes.
class RegKey {
public:
    ~RegKey() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Receive() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

LONG CreateKey(HKEY root, LPCWSTR path, RegKey& key) {
    return RegCreateKeyExW(root, path, 0, nullptr, 0, 0, nullptr, key.Receive(), nullptr);
}

}  // namespace

HRESULT RegisterRuleClient() {
    {
        RegKey classKey, server;
        if (CreateKey(HKEY_CLASSES_ROOT, RULE_CLIENT_CLASS_KEY, classKey) != ERROR_SUCCESS) return E_FAIL;
        if (CreateKey(classKey.Get(), TEXT("InprocServer32"), server) != ERROR_SUCCESS) return E_FAIL;
        DWORD bytes = static_cast<DWORD>((wcslen(RULE_CLIENT_MODULE) + 1) * sizeof(WCHAR));
        if (RegSetValueExW(server.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(RULE_CLIENT_MODULE),
                           bytes) != ERROR_SUCCESS)
            return E_FAIL;
    }
    RegKey rules;
    if (CreateKey(HKEY_LOCAL_MACHINE, SMS_RULES_KEY, rules) != ERROR_SUCCESS) return E_FAIL;
    DWORD enabled = 1;
    if (RegSetValueExW(rules.Get(), RULE_CLIENT_CLSID_TEXT, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&enabled),
                       sizeof(enabled)) != ERROR_SUCCESS)
        return E_FAIL;
    return S_OK;
}

HRESULT UnregisterRuleClient() {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, RULE_CLIENT_CLASS_KEY);
    RegKey rules;
    if (CreateKey(HKEY_LOCAL_MACHINE, SMS_RULES_KEY, rules) != ERROR_SUCCESS) return E_FAIL;
    RegDeleteValueW(rules.Get(), RULE_CLIENT_CLSID_TEXT);
    return S_OK;
}
