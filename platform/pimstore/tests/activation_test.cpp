// The contact store as a COM server: activation through the registry, the
// session of the application object, and object lifetimes.
#include "PimTest.h"

namespace pimtest {
namespace {

using ActivationTest = PimTest;

HRESULT CanUnloadNow() {
    HMODULE module = LoadLibraryW(TEXT("pimstore.dll"));
    EXPECT_NE(nullptr, module);
    auto canUnload = reinterpret_cast<LPFNCANUNLOADNOW>(GetProcAddressW(module, TEXT("DllCanUnloadNow")));
    EXPECT_NE(nullptr, canUnload);
    HRESULT hr = canUnload ? canUnload() : E_FAIL;
    FreeLibrary(module);
    return hr;
}

TEST_F(ActivationTest, CreatedThroughTheRegisteredInprocServer) {
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExW(HKEY_CLASSES_ROOT, TEXT("CLSID\\{05058F23-20BE-11D2-8F18-0000F87A4335}\\InprocServer32"), 0,
                            0, &key));
    WCHAR module[32] = {};
    DWORD type = 0, size = sizeof module;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(module), &size));
    RegCloseKey(key);
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(std::u16string(u"pimstore.dll"), module);

    Ref<IUnknown> unknown;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, unknown.outVoid()));
    Ref<IPOutlookApp> app;
    EXPECT_EQ(S_OK, unknown->QueryInterface(IID_IPOutlookApp, app.outVoid()));
    Ref<IDispatch> dispatch;
    EXPECT_EQ(S_OK, unknown->QueryInterface(IID_IDispatch, dispatch.outVoid()));
    Ref<IContact> contact;
    EXPECT_EQ(E_NOINTERFACE, unknown->QueryInterface(IID_IContact, contact.outVoid()));
    EXPECT_EQ(nullptr, contact.get());

    // Without its registry entry the class is unknown.
    ASSERT_EQ(ERROR_SUCCESS, RegDeleteKeyW(HKEY_CLASSES_ROOT, TEXT("CLSID\\{05058F23-20BE-11D2-8F18-0000F87A4335}")));
    Ref<IPOutlookApp> none;
    EXPECT_EQ(REGDB_E_CLASSNOTREG,
              CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, none.outVoid()));
}

TEST_F(ActivationTest, NothingWorksOutsideALogonSession) {
    Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}});
    Ref<IPOutlookApp> app;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, app.outVoid()));
    IItem* item = reinterpret_cast<IItem*>(0x1);
    CEPROPID propid = 0;
    EXPECT_EQ(E_UNEXPECTED, FindMatchingContact(app.get(), u"+79161234567", FMCF_FINDPHONE, &item, &propid));
    EXPECT_EQ(nullptr, item);
    Ref<IDispatch> created;
    EXPECT_EQ(E_UNEXPECTED, app->CreateItem(olContactItem, created.out()));
    EXPECT_EQ(S_FALSE, app->Logoff());

    EXPECT_EQ(S_OK, app->Logon(0));
    EXPECT_EQ(S_FALSE, app->Logon(0));  // already logged on
    EXPECT_EQ(S_OK, FindMatchingContact(app.get(), u"+79161234567", FMCF_FINDPHONE, &item, &propid));
    ASSERT_NE(nullptr, item);

    EXPECT_EQ(S_OK, app->Logoff());
    EXPECT_EQ(S_FALSE, app->Logoff());
    IItem* after = nullptr;
    EXPECT_EQ(E_UNEXPECTED, FindMatchingContact(app.get(), u"+79161234567", FMCF_FINDPHONE, &after, &propid));
    // An item already handed out still answers.
    Ref<IContact> contact;
    ASSERT_EQ(S_OK, item->QueryInterface(IID_IContact, contact.outVoid()));
    BSTR name = nullptr;
    EXPECT_EQ(S_OK, contact->get_FileAs(&name));
    EXPECT_EQ(u"Petrov, Ivan", Take(name));
    item->Release();

    // A session can begin again.
    EXPECT_EQ(S_OK, app->Logon(0));
    EXPECT_EQ(S_OK, FindMatchingContact(app.get(), u"89161234567", FMCF_FINDPHONE, &after, &propid));
    if (after) after->Release();
}

TEST_F(ActivationTest, InjectedFaultsOfActivationAndLogon) {
    Ref<IPOutlookApp> app;
    host::FailCall("CoCreateInstance", 1, E_OUTOFMEMORY);
    EXPECT_EQ(E_OUTOFMEMORY,
              CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, app.outVoid()));
    EXPECT_EQ(nullptr, app.get());

    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, app.outVoid()));
    host::FailCall("IPOutlookApp::Logon", 1, E_FAIL);
    EXPECT_EQ(E_FAIL, app->Logon(0));
    // The failed logon left the session closed.
    IItem* item = nullptr;
    CEPROPID propid = 0;
    EXPECT_EQ(E_UNEXPECTED, FindMatchingContact(app.get(), u"1234567", FMCF_FINDPHONE, &item, &propid));
    EXPECT_EQ(S_OK, app->Logon(0));
}

TEST_F(ActivationTest, LogonFailsWithoutADevice) {
    Ref<IPOutlookApp> app;
    ASSERT_EQ(S_OK,
              CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp, app.outVoid()));
    host::CloseDevice();
    EXPECT_EQ(E_FAIL, app->Logon(0));
}

TEST_F(ActivationTest, EveryObjectIsFreedOnceAndItemsOutliveTheApplication) {
    Add(u"Ivan", u"Petrov", {{PIMPR_MOBILE_TELEPHONE_NUMBER, u"+79161234567"}});
    EXPECT_EQ(S_OK, CanUnloadNow());
    IItem* item = nullptr;
    {
        Ref<IPOutlookApp> app = LoggedOnApp();
        EXPECT_EQ(S_FALSE, CanUnloadNow());
        CEPROPID propid = 0;
        ASSERT_EQ(S_OK, FindMatchingContact(app.get(), u"+79161234567", FMCF_FINDPHONE, &item, &propid));
        ASSERT_NE(nullptr, item);
        EXPECT_EQ(S_OK, app->Logoff());
    }
    // The application object is released; its item still works and keeps
    // the server in use.
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    Ref<IPOutlookApp> owner;
    ASSERT_EQ(S_OK, item->get_Application(owner.out()));
    EXPECT_NE(nullptr, owner.get());
    owner.reset();

    // IItem and IContact are one object: one identity, one count.
    Ref<IContact> contact;
    ASSERT_EQ(S_OK, item->QueryInterface(IID_IContact, contact.outVoid()));
    Ref<IItem> back;
    ASSERT_EQ(S_OK, contact->QueryInterface(IID_IItem, back.outVoid()));
    EXPECT_EQ(item, back.get());
    Ref<IUnknown> fromItem, fromContact;
    ASSERT_EQ(S_OK, item->QueryInterface(IID_IUnknown, fromItem.outVoid()));
    ASSERT_EQ(S_OK, contact->QueryInterface(IID_IUnknown, fromContact.outVoid()));
    EXPECT_EQ(fromItem.get(), fromContact.get());
    long oid = 0, contactOid = 0;
    EXPECT_EQ(S_OK, item->get_Oid(&oid));
    EXPECT_EQ(S_OK, contact->get_Oid(&contactOid));
    EXPECT_GT(oid, 0);
    EXPECT_EQ(oid, contactOid);
    BSTR first = nullptr;
    EXPECT_EQ(S_OK, contact->get_FirstName(&first));
    EXPECT_EQ(u"Ivan", Take(first));

    fromItem.reset();
    fromContact.reset();
    back.reset();
    contact.reset();
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    EXPECT_EQ(0u, item->Release());
    EXPECT_EQ(S_OK, CanUnloadNow());
}

}  // namespace
}  // namespace pimtest
