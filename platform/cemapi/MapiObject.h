// What every object of the store shares: the platform's reference counting,
// fault injection by method name, and IMAPIProp answered from the values
// an object has.
#pragma once

#include "PropValues.h"

#include <ComObject.h>

#include <coredll_host.h>
#include <mapiutil.h>

#include <string>
#include <string_view>
#include <vector>

namespace cemapi {

// True when a test made this call fail; *hr receives the result to return.
inline bool Injected(std::string_view name, HRESULT* hr) {
    long result = MAPI_E_CALL_FAILED;
    if (!host::ShouldFail(name, &result)) return false;
    *hr = static_cast<HRESULT>(result);
    return true;
}

template <class Interface>
using MapiObject = platform::ComObject<Interface>;

// IMAPIProp for an object whose values are computed or read on demand.
// Writing is left to the objects that allow it (messages).
template <class Interface>
class PropObject : public MapiObject<Interface> {
public:
    STDMETHODIMP GetLastError(HRESULT, ULONG, LPMAPIERROR* lppMAPIError) override {
        if (lppMAPIError) *lppMAPIError = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    // Changes are stored as they are made.
    STDMETHODIMP SaveChanges(ULONG) override { return S_OK; }

    STDMETHODIMP GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues,
                          LPSPropValue* lppPropArray) override {
        HRESULT hr;
        if (Injected(Method("GetProps"), &hr)) return hr;
        if (!lpcValues || !lppPropArray) return MAPI_E_INVALID_PARAMETER;
        *lpcValues = 0;
        *lppPropArray = nullptr;
        if (ulFlags & ~MAPI_UNICODE) return MAPI_E_UNKNOWN_FLAGS;
        if (lpPropTagArray && lpPropTagArray->cValues == 0) return MAPI_E_INVALID_PARAMETER;
        std::vector<Prop> available;
        hr = Available(&available);
        if (FAILED(hr)) return hr;
        return AnswerProps(available, lpPropTagArray, lpcValues, lppPropArray);
    }

    STDMETHODIMP GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) override {
        HRESULT hr;
        if (Injected(Method("GetPropList"), &hr)) return hr;
        if (!lppPropTagArray) return MAPI_E_INVALID_PARAMETER;
        *lppPropTagArray = nullptr;
        if (ulFlags & ~MAPI_UNICODE) return MAPI_E_UNKNOWN_FLAGS;
        std::vector<Prop> available;
        hr = Available(&available);
        if (FAILED(hr)) return hr;
        return AnswerPropList(available, lppPropTagArray);
    }

    STDMETHODIMP SetProps(ULONG, LPSPropValue, LPSPropProblemArray* lppProblems) override {
        if (lppProblems) *lppProblems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP DeleteProps(LPSPropTagArray, LPSPropProblemArray* lppProblems) override {
        if (lppProblems) *lppProblems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP OpenProperty(ULONG, LPCIID, ULONG, ULONG, LPUNKNOWN* lppUnk) override {
        if (lppUnk) *lppUnk = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP CopyTo(ULONG, LPCIID, LPSPropTagArray, ULONG_PTR, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                        LPSPropProblemArray* lppProblems) override {
        if (lppProblems) *lppProblems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP CopyProps(LPSPropTagArray, ULONG_PTR, LPMAPIPROGRESS, LPCIID, LPVOID, ULONG,
                           LPSPropProblemArray* lppProblems) override {
        if (lppProblems) *lppProblems = nullptr;
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP GetNamesFromIDs(LPSPropTagArray*, LPGUID, ULONG, ULONG*, LPMAPINAMEID**) override {
        return MAPI_E_NO_SUPPORT;
    }
    STDMETHODIMP GetIDsFromNames(ULONG, LPMAPINAMEID*, ULONG, LPSPropTagArray*) override { return MAPI_E_NO_SUPPORT; }

protected:
    // Every value the object has now, computed ones included.
    virtual HRESULT Available(std::vector<Prop>* props) = 0;
    // "IMessage", "IMAPIFolder", ...: the fault-injection names are
    // "IMessage::GetProps" and the like.
    virtual const char* InterfaceName() const = 0;
    std::string Method(const char* method) const { return std::string(InterfaceName()) + "::" + method; }
};

}  // namespace cemapi
