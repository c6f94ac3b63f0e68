// IUnknown and IClassFactory.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <guiddef.h>

// Interfaces are shared between modules, so their type information must be
// one across the process.
#define MIDL_INTERFACE(x)               struct __attribute__((visibility("default")))
#define DECLARE_INTERFACE(iface)        struct __attribute__((visibility("default"))) iface
#define DECLARE_INTERFACE_(iface, base) struct __attribute__((visibility("default"))) iface : public base
#define STDMETHOD(method)               virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method)        virtual type STDMETHODCALLTYPE method
#define STDMETHODIMP                    HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type)             type STDMETHODCALLTYPE
#define STDAPI                          EXTERN_C HRESULT STDAPICALLTYPE
#define STDAPI_(type)                   EXTERN_C type STDAPICALLTYPE
#define PURE                            = 0
#define THIS_
#define THIS void

DEFINE_GUID(IID_IUnknown, 0x00000000, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);
DEFINE_GUID(IID_IClassFactory, 0x00000001, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46);

MIDL_INTERFACE("00000000-0000-0000-C000-000000000046") IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) PURE;
    STDMETHOD_(ULONG, AddRef)() PURE;
    STDMETHOD_(ULONG, Release)() PURE;
};
typedef IUnknown* LPUNKNOWN;

MIDL_INTERFACE("00000001-0000-0000-C000-000000000046") IClassFactory : public IUnknown {
    STDMETHOD(CreateInstance)(IUnknown * pUnkOuter, REFIID riid, void** ppvObject) PURE;
    STDMETHOD(LockServer)(BOOL fLock) PURE;
};
typedef IClassFactory* LPCLASSFACTORY;
