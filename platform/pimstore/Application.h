// The application object of the contact store (IPOutlookApp): a session on
// the device's contacts, begun by Logon and ended by Logoff.
#pragma once

#include "ContactStore.h"

#include <ComObject.h>
#include <pimstore.h>

#include <memory>
#include <mutex>

namespace pim {

class Application : public platform::ComObject<IPOutlookApp> {
public:
    Application();
    virtual ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The store of a logged-on session: E_UNEXPECTED in *hr before Logon
    // or after Logoff, E_FAIL when the store cannot be opened.
    std::shared_ptr<Store> Session(HRESULT* hr);

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    // IDispatch: late binding is not offered.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    // IPOutlookApp
    STDMETHODIMP Logon(long hWnd) override;
    STDMETHODIMP Logoff() override;
    STDMETHODIMP get_Version(BSTR* pVersion) override;
    STDMETHODIMP CreateItem(int olItem, IDispatch** ppPOOMObj) override;
    STDMETHODIMP GetItemFromOid(long oid, IDispatch** ppPOOMObj) override;

private:
    std::mutex lock_;
    bool loggedOn_ = false;
    // Held while logged on, so that lookups find the connection warm.
    std::shared_ptr<Store> store_;
};

}  // namespace pim
