// The contact store of the phone (Pocket Outlook Object Model), as far as
// the system uses it: the application object, items and contacts, and
// FindMatchingContact.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <oaidl.h>

typedef DWORD CEPROPID;
typedef DWORD CEOID;

// {05058F23-20BE-11D2-8F18-0000F87A4335}
DEFINE_GUID(CLSID_Application, 0x05058F23, 0x20BE, 0x11D2, 0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35);
// {05058F22-20BE-11D2-8F18-0000F87A4335}
DEFINE_GUID(IID_IPOutlookApp, 0x05058F22, 0x20BE, 0x11D2, 0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35);
// {7F804E40-2010-11D2-8F18-0000F87A4335}
DEFINE_GUID(IID_IContact, 0x7F804E40, 0x2010, 0x11D2, 0x8F, 0x18, 0x00, 0x00, 0xF8, 0x7A, 0x43, 0x35);
// {B1D0A2E4-6C3F-4D2A-9E51-2A8F0C7D4B10}
DEFINE_GUID(IID_IItem, 0xB1D0A2E4, 0x6C3F, 0x4D2A, 0x9E, 0x51, 0x2A, 0x8F, 0x0C, 0x7D, 0x4B, 0x10);

// Phone-number properties of a contact (wide strings).
#define PIMPR_MOBILE_TELEPHONE_NUMBER    0x0096001F
#define PIMPR_BUSINESS_TELEPHONE_NUMBER  0x0097001F
#define PIMPR_BUSINESS2_TELEPHONE_NUMBER 0x0098001F
#define PIMPR_HOME_TELEPHONE_NUMBER      0x0099001F
#define PIMPR_HOME2_TELEPHONE_NUMBER     0x009A001F
#define PIMPR_PAGER_NUMBER               0x009D001F
#define PIMPR_CAR_TELEPHONE_NUMBER       0x009E001F
#define PIMPR_RADIO_TELEPHONE_NUMBER     0x009F001F
#define PIMPR_COMPANY_TELEPHONE_NUMBER   0x00A0001F
#define PIMPR_ASSISTANT_TELEPHONE_NUMBER 0x00A1001F

// FindMatchingContact flags.
#define FMCF_FINDPHONE  0x00000001
#define FMCF_FINDEMAIL  0x00000002
#define FMCF_FINDFILEAS 0x00000004

// Item types of CreateItem.
#define olContactItem 2

struct IPOutlookApp;

MIDL_INTERFACE("B1D0A2E4-6C3F-4D2A-9E51-2A8F0C7D4B10") IItem : public IDispatch {
    STDMETHOD(get_Oid)(long* poid) PURE;
    STDMETHOD(Save)() PURE;
    STDMETHOD(Delete)() PURE;
    STDMETHOD(get_Application)(IPOutlookApp * *polApp) PURE;
};

MIDL_INTERFACE("7F804E40-2010-11D2-8F18-0000F87A4335") IContact : public IDispatch {
    STDMETHOD(get_Oid)(long* poid) PURE;
    STDMETHOD(get_FileAs)(BSTR * pbstr) PURE;
    STDMETHOD(put_FileAs)(BSTR bstr) PURE;
    STDMETHOD(get_FirstName)(BSTR * pbstr) PURE;
    STDMETHOD(put_FirstName)(BSTR bstr) PURE;
    STDMETHOD(get_LastName)(BSTR * pbstr) PURE;
    STDMETHOD(put_LastName)(BSTR bstr) PURE;
    STDMETHOD(get_CompanyName)(BSTR * pbstr) PURE;
    STDMETHOD(put_CompanyName)(BSTR bstr) PURE;
    STDMETHOD(get_MobileTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_MobileTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_BusinessTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_BusinessTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_Business2TelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_Business2TelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_HomeTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_HomeTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_Home2TelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_Home2TelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_PagerNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_PagerNumber)(BSTR bstr) PURE;
    STDMETHOD(get_CarTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_CarTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_RadioTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_RadioTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_CompanyTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_CompanyTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(get_AssistantTelephoneNumber)(BSTR * pbstr) PURE;
    STDMETHOD(put_AssistantTelephoneNumber)(BSTR bstr) PURE;
    STDMETHOD(Save)() PURE;
    STDMETHOD(Delete)() PURE;
};

MIDL_INTERFACE("05058F22-20BE-11D2-8F18-0000F87A4335") IPOutlookApp : public IDispatch {
    STDMETHOD(Logon)(long hWnd) PURE;
    STDMETHOD(Logoff)() PURE;
    STDMETHOD(get_Version)(BSTR * pVersion) PURE;
    STDMETHOD(CreateItem)(int olItem, IDispatch** ppPOOMObj) PURE;
    STDMETHOD(GetItemFromOid)(long oid, IDispatch** ppPOOMObj) PURE;
};

// Finds the contact that a phone number (FMCF_FINDPHONE) belongs to, by the
// store's own caller-identification rule. S_OK with the item and the id of
// the matched phone property; S_FALSE with a null item when none matches.
STDAPI FindMatchingContact(IPOutlookApp* pOlApp, LPCWSTR pszFind, DWORD dwFlags, IItem** ppContact, CEPROPID* ppropid);
