// A contact of the store as a COM object: IContact for its fields and IItem
// for the generic item view, one identity. It works on its own copy of the
// contact; Save writes the copy back.
#pragma once

#include "ContactStore.h"

#include <ComObject.h>
#include <pimstore.h>

#include <memory>

namespace pim {

class Contact : public platform::ComObject<IContact, IItem> {
public:
    // Holds a reference to app (for get_Application) and to the store the
    // contact belongs to, so that the item outlives the application's release.
    Contact(IPOutlookApp* app, std::shared_ptr<Store> store, ContactData data);
    virtual ~Contact();
    Contact(const Contact&) = delete;
    Contact& operator=(const Contact&) = delete;

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    // IDispatch: late binding is not offered.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
    // IItem and IContact
    STDMETHODIMP get_Oid(long* poid) override;
    STDMETHODIMP Save() override;
    STDMETHODIMP Delete() override;
    // IItem
    STDMETHODIMP get_Application(IPOutlookApp** polApp) override;
    // IContact
    STDMETHODIMP get_FileAs(BSTR* pbstr) override;
    STDMETHODIMP put_FileAs(BSTR bstr) override;
    STDMETHODIMP get_FirstName(BSTR* pbstr) override;
    STDMETHODIMP put_FirstName(BSTR bstr) override;
    STDMETHODIMP get_LastName(BSTR* pbstr) override;
    STDMETHODIMP put_LastName(BSTR bstr) override;
    STDMETHODIMP get_CompanyName(BSTR* pbstr) override;
    STDMETHODIMP put_CompanyName(BSTR bstr) override;
    STDMETHODIMP get_MobileTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_MobileTelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_BusinessTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_BusinessTelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_Business2TelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_Business2TelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_HomeTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_HomeTelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_Home2TelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_Home2TelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_PagerNumber(BSTR* pbstr) override;
    STDMETHODIMP put_PagerNumber(BSTR bstr) override;
    STDMETHODIMP get_CarTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_CarTelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_RadioTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_RadioTelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_CompanyTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_CompanyTelephoneNumber(BSTR bstr) override;
    STDMETHODIMP get_AssistantTelephoneNumber(BSTR* pbstr) override;
    STDMETHODIMP put_AssistantTelephoneNumber(BSTR bstr) override;

private:
    HRESULT GetPhone(CEPROPID propid, BSTR* pbstr);
    HRESULT PutPhone(CEPROPID propid, BSTR bstr);

    IPOutlookApp* app_;
    std::shared_ptr<Store> store_;
    ContactData data_;
};

}  // namespace pim
