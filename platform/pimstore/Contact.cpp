#include "Contact.h"

#include "ServerObjects.h"

#include <coredll_host.h>

namespace pim {

namespace {

HRESULT GetText(const std::u16string& text, BSTR* pbstr) {
    if (!pbstr) return E_INVALIDARG;
    *pbstr = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *pbstr ? S_OK : E_OUTOFMEMORY;
}

// Callers commonly pass a plain string where a BSTR is due, so the text
// ends at its terminator rather than at a length prefix; NULL is empty.
std::u16string TextOf(BSTR bstr) { return bstr ? std::u16string(bstr, wcslen(bstr)) : std::u16string(); }

}  // namespace

Contact::Contact(IPOutlookApp* app, std::shared_ptr<Store> store, ContactData data)
    : app_(app), store_(std::move(store)), data_(std::move(data)) {
    app_->AddRef();
    ObjectCreated();
}

Contact::~Contact() {
    app_->Release();
    ObjectDestroyed();
}

STDMETHODIMP Contact::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (riid == IID_IContact) {
        long injected = E_NOINTERFACE;
        if (host::ShouldFail("IItem::QueryInterface(IContact)", &injected))
            return FAILED(injected) ? static_cast<HRESULT>(injected) : E_NOINTERFACE;
        *ppv = static_cast<IContact*>(this);
    } else if (riid == IID_IItem) {
        *ppv = static_cast<IItem*>(this);
    } else if (riid == IID_IUnknown || riid == IID_IDispatch) {
        *ppv = static_cast<IContact*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP Contact::GetTypeInfoCount(UINT*) { return E_NOTIMPL; }
STDMETHODIMP Contact::GetTypeInfo(UINT, LCID, ITypeInfo**) { return E_NOTIMPL; }
STDMETHODIMP Contact::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) { return E_NOTIMPL; }
STDMETHODIMP Contact::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) { return E_NOTIMPL; }

STDMETHODIMP Contact::get_Oid(long* poid) {
    if (!poid) return E_INVALIDARG;
    *poid = static_cast<long>(data_.oid);
    return S_OK;
}

STDMETHODIMP Contact::Save() {
    // An item of a device that has since been closed has nowhere to go.
    if (store_->generation() != host::DeviceGeneration()) return E_UNEXPECTED;
    HRESULT hr = store_->Save(&data_);
    if (hr == E_INVALIDARG) return hr;  // a text longer than a property holds
    return hr == S_OK ? S_OK : E_FAIL;
}

STDMETHODIMP Contact::Delete() {
    if (data_.oid == 0) return S_OK;
    if (store_->generation() != host::DeviceGeneration()) return E_UNEXPECTED;
    HRESULT hr = store_->Remove(data_.oid);
    if (FAILED(hr)) return hr;
    // What is left is an unsaved copy: Save would store it as a new contact.
    data_.oid = 0;
    return S_OK;
}

STDMETHODIMP Contact::get_Application(IPOutlookApp** polApp) {
    if (!polApp) return E_INVALIDARG;
    app_->AddRef();
    *polApp = app_;
    return S_OK;
}

STDMETHODIMP Contact::get_FileAs(BSTR* pbstr) { return GetText(data_.fileAs, pbstr); }

STDMETHODIMP Contact::put_FileAs(BSTR bstr) {
    data_.fileAs = TextOf(bstr);
    // Clearing the file-as text hands it back to the store's default.
    data_.fileAsExplicit = !data_.fileAs.empty();
    return S_OK;
}

STDMETHODIMP Contact::get_FirstName(BSTR* pbstr) { return GetText(data_.firstName, pbstr); }
STDMETHODIMP Contact::put_FirstName(BSTR bstr) {
    data_.firstName = TextOf(bstr);
    return S_OK;
}
STDMETHODIMP Contact::get_LastName(BSTR* pbstr) { return GetText(data_.lastName, pbstr); }
STDMETHODIMP Contact::put_LastName(BSTR bstr) {
    data_.lastName = TextOf(bstr);
    return S_OK;
}
STDMETHODIMP Contact::get_CompanyName(BSTR* pbstr) { return GetText(data_.companyName, pbstr); }
STDMETHODIMP Contact::put_CompanyName(BSTR bstr) {
    data_.companyName = TextOf(bstr);
    return S_OK;
}

HRESULT Contact::GetPhone(CEPROPID propid, BSTR* pbstr) { return GetText(data_.phones[PhoneSlot(propid)], pbstr); }

HRESULT Contact::PutPhone(CEPROPID propid, BSTR bstr) {
    data_.phones[PhoneSlot(propid)] = TextOf(bstr);
    return S_OK;
}

#define PHONE_PROPERTY(Name, propid)                                                  \
    STDMETHODIMP Contact::get_##Name(BSTR* pbstr) { return GetPhone(propid, pbstr); } \
    STDMETHODIMP Contact::put_##Name(BSTR bstr) { return PutPhone(propid, bstr); }

PHONE_PROPERTY(MobileTelephoneNumber, PIMPR_MOBILE_TELEPHONE_NUMBER)
PHONE_PROPERTY(BusinessTelephoneNumber, PIMPR_BUSINESS_TELEPHONE_NUMBER)
PHONE_PROPERTY(Business2TelephoneNumber, PIMPR_BUSINESS2_TELEPHONE_NUMBER)
PHONE_PROPERTY(HomeTelephoneNumber, PIMPR_HOME_TELEPHONE_NUMBER)
PHONE_PROPERTY(Home2TelephoneNumber, PIMPR_HOME2_TELEPHONE_NUMBER)
PHONE_PROPERTY(PagerNumber, PIMPR_PAGER_NUMBER)
PHONE_PROPERTY(CarTelephoneNumber, PIMPR_CAR_TELEPHONE_NUMBER)
PHONE_PROPERTY(RadioTelephoneNumber, PIMPR_RADIO_TELEPHONE_NUMBER)
PHONE_PROPERTY(CompanyTelephoneNumber, PIMPR_COMPANY_TELEPHONE_NUMBER)
PHONE_PROPERTY(AssistantTelephoneNumber, PIMPR_ASSISTANT_TELEPHONE_NUMBER)

#undef PHONE_PROPERTY

}  // namespace pim
