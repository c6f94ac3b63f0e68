// The rule client as a COM server, loaded by name as the inbox service
// loads it.
#include "RuleTestSupport.h"

#include <TempDevice.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

DEFINE_GUID(CLSID_Rule, 0x79FEEFFE, 0x10DE, 0x4B52, 0xB1, 0x7C, 0x2E, 0x5E, 0x1C, 0xA6, 0x6B, 0x0D);
DEFINE_GUID(CLSID_Other, 0x79FEEFFE, 0x10DE, 0x4B52, 0xB1, 0x7C, 0x2E, 0x5E, 0x1C, 0xA6, 0x6B, 0x0E);

class ComServer : public ::testing::Test {
protected:
    void SetUp() override {
        module_ = LoadLibraryW(TEXT("Lumenrest.dll"));
        ASSERT_NE(module_, nullptr);
        getClassObject_ = reinterpret_cast<LPFNGETCLASSOBJECT>(GetProcAddressW(module_, TEXT("DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<LPFNCANUNLOADNOW>(GetProcAddressW(module_, TEXT("DllCanUnloadNow")));
        registerServer_ = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module_, TEXT("DllRegisterServer")));
        unregisterServer_ = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module_, TEXT("DllUnregisterServer")));
        ASSERT_TRUE(getClassObject_ && canUnloadNow_ && registerServer_ && unregisterServer_);
    }
    void TearDown() override { FreeLibrary(module_); }

    testing_support::TempDevice device_;
    HMODULE module_ = nullptr;
    LPFNGETCLASSOBJECT getClassObject_ = nullptr;
    LPFNCANUNLOADNOW canUnloadNow_ = nullptr;
    HRESULT (*registerServer_)() = nullptr;
    HRESULT (*unregisterServer_)() = nullptr;
};

// Every key and value under a key, as text, for comparing registries.
std::string Dump(HKEY root, const std::u16string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, 0, &key) != ERROR_SUCCESS) return "<missing>";
    std::string out;
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        DWORD nameLength = 256, type = 0, size = 512;
        BYTE data[512];
        if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        out += host::ToUtf8(name) + "=" + std::to_string(type) + ":" +
               std::string(reinterpret_cast<char*>(data), size) + ";";
    }
    for (DWORD i = 0;; ++i) {
        WCHAR name[256];
        DWORD nameLength = 256;
        if (RegEnumKeyExW(key, i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out += "[" + host::ToUtf8(name) + "]" + Dump(root, path + u"\\" + name);
    }
    RegCloseKey(key);
    return out;
}

TEST_F(ComServer, ClassObjectAnswersOnlyForItsClassAndInterfaces) {
    void* untouched = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(getClassObject_(CLSID_Other, IID_IClassFactory, &untouched), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(untouched, reinterpret_cast<void*>(0x1234));

    void* result = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(getClassObject_(CLSID_Rule, IID_IMailRuleClient, &result), E_NOINTERFACE);
    EXPECT_EQ(result, nullptr);  // and the factory is gone (the sanitizer build checks the leak)
    EXPECT_EQ(getClassObject_(CLSID_Rule, IID_IClassFactory, nullptr), E_INVALIDARG);

    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject_(CLSID_Rule, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    IUnknown* unknown = nullptr;
    ASSERT_EQ(factory->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
    EXPECT_EQ(unknown, static_cast<IUnknown*>(factory));
    EXPECT_EQ(unknown->Release(), 1u);  // the caller holds the only other reference

    // No aggregation, and nothing made.
    IUnknown* outer = factory;
    void* made = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &made), CLASS_E_NOAGGREGATION);

    IMailRuleClient* client = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IMailRuleClient, reinterpret_cast<void**>(&client)), S_OK);
    void* asFactory = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(client->QueryInterface(IID_IClassFactory, &asFactory), E_NOINTERFACE);
    EXPECT_EQ(asFactory, nullptr);
    EXPECT_EQ(client->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
    MRCACCESS access = MRC_ACCESS_NONE;
    EXPECT_EQ(client->Initialize(nullptr, &access), S_OK);
    EXPECT_EQ(access, MRC_ACCESS_WRITE);
    EXPECT_EQ(client->AddRef(), 2u);
    EXPECT_EQ(client->Release(), 1u);
    EXPECT_EQ(client->Release(), 0u);
    EXPECT_EQ(factory->Release(), 0u);
}

TEST_F(ComServer, ServerLocksDecideWhetherTheModuleMayGo) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(getClassObject_(CLSID_Rule, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_OK);
    EXPECT_EQ(factory->LockServer(TRUE), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_FALSE);
    IMailRuleClient* client = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IMailRuleClient, reinterpret_cast<void**>(&client)), S_OK);
    EXPECT_EQ(factory->LockServer(FALSE), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_OK);  // whether or not objects are alive
    client->Release();
    factory->Release();
}

TEST_F(ComServer, RegistrationIsRepeatableAndUnregistrationQuiet) {
    const std::u16string classKey = u"CLSID\\{79FEEFFE-10DE-4B52-B17C-2E5E1CA66B0D}";
    const std::u16string rulesKey = u"Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules";
    EXPECT_EQ(unregisterServer_(), S_OK);  // nothing registered yet
    ASSERT_EQ(registerServer_(), S_OK);
    std::string classes = Dump(HKEY_CLASSES_ROOT, classKey), rules = Dump(HKEY_LOCAL_MACHINE, rulesKey);
    EXPECT_NE(classes.find("[InprocServer32]=1:"), std::string::npos);
    ASSERT_EQ(registerServer_(), S_OK);
    EXPECT_EQ(Dump(HKEY_CLASSES_ROOT, classKey), classes);
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, rulesKey), rules);

    // The module name is stored with its terminator; the rule value is a DWORD 1.
    HKEY server = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, (classKey + u"\\InprocServer32").c_str(), 0, 0, &server), ERROR_SUCCESS);
    WCHAR module[64];
    DWORD type = 0, size = sizeof module;
    ASSERT_EQ(RegQueryValueExW(server, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(module), &size), ERROR_SUCCESS);
    RegCloseKey(server);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, sizeof(u"Lumenrest.dll"));
    EXPECT_EQ(std::u16string(module), u"Lumenrest.dll");

    EXPECT_EQ(unregisterServer_(), S_OK);
    EXPECT_EQ(Dump(HKEY_CLASSES_ROOT, classKey), "<missing>");
    EXPECT_EQ(Dump(HKEY_LOCAL_MACHINE, rulesKey), "");  // the key stays, the value goes
}

TEST(ModuleExports, OnlyTheFourEntriesAndTheEntryPointAreExported) {
    std::string command = std::string("nm -D --defined-only '") + LUMENREST_MODULE + "'";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::set<std::string> names;
    char line[512];
    while (fgets(line, sizeof line, pipe)) {
        std::string text(line);
        size_t last = text.find_last_of(' ');
        std::string name = text.substr(last + 1);
        name.erase(std::remove(name.begin(), name.end(), '\n'), name.end());
        names.insert(name);
    }
    pclose(pipe);
    std::set<std::string> expected = {"DllCanUnloadNow", "DllGetClassObject", "DllMain", "DllRegisterServer",
                                      "DllUnregisterServer"};
    EXPECT_EQ(names, expected);
}

}  // namespace
