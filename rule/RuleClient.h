// The SMS rule client object that the inbox service creates. It keeps no
// state of its own: every message is ruled afresh.
#pragma once

#include <cemapi.h>

class RuleClient : public IMailRuleClient {
public:
    RuleClient() : refs_(1) {}
    virtual ~RuleClient() {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Initialize(IMsgStore* pMsgStore, MRCACCESS* pmaDesired) override;
    STDMETHODIMP ProcessMessage(IMsgStore* pMsgStore, ULONG cbMsg, LPENTRYID lpMsg, ULONG cbDestFolder,
                                LPENTRYID lpDestFolder, ULONG* pulEventType, MRCHANDLED* pHandled) override;

private:
    LONG refs_;
};
