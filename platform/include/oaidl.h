// IDispatch, the base of the automation interfaces.
#pragma once

#include <unknwn.h>
#include <oleauto.h>

typedef LONG DISPID;
typedef DWORD LCID;
struct ITypeInfo;
struct tagDISPPARAMS;
struct tagVARIANT;
struct tagEXCEPINFO;
typedef struct tagDISPPARAMS DISPPARAMS;
typedef struct tagVARIANT VARIANT;
typedef struct tagEXCEPINFO EXCEPINFO;

DEFINE_GUID(IID_IDispatch, 0x00020400, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

MIDL_INTERFACE("00020400-0000-0000-C000-000000000046") IDispatch : public IUnknown {
    STDMETHOD(GetTypeInfoCount)(UINT * pctinfo) PURE;
    STDMETHOD(GetTypeInfo)(UINT iTInfo, LCID lcid, ITypeInfo * *ppTInfo) PURE;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR * rgszNames, UINT cNames, LCID lcid, DISPID * rgDispId) PURE;
    STDMETHOD(Invoke)
    (DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS * pDispParams, VARIANT * pVarResult,
     EXCEPINFO * pExcepInfo, UINT * puArgErr) PURE;
};
