// The class factory of the rule client.
#pragma once

#include <unknwn.h>

class RuleClientFactory : public IClassFactory {
public:
    RuleClientFactory() : refs_(1) {}
    virtual ~RuleClientFactory() {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppv) override;
    STDMETHODIMP LockServer(BOOL fLock) override;

private:
    LONG refs_;
};

// The module's server lock count, moved only by LockServer.
LONG ServerLockCount();
