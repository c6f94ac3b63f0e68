#include "RuleClient.h"

#include "IncomingMessageRule.h"

STDMETHODIMP RuleClient::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_IMailRuleClient) return E_NOINTERFACE;
    *ppv = static_cast<IMailRuleClient*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) RuleClient::AddRef() { return InterlockedIncrement(&refs_); }

STDMETHODIMP_(ULONG) RuleClient::Release() {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return refs;
}

STDMETHODIMP RuleClient::Initialize(IMsgStore*, MRCACCESS* pmaDesired) {
    if (pmaDesired) *pmaDesired = MRC_ACCESS_WRITE;
    return S_OK;
}

STDMETHODIMP RuleClient::ProcessMessage(IMsgStore* pMsgStore, ULONG cbMsg, LPENTRYID lpMsg, ULONG, LPENTRYID,
                                        ULONG* pulEventType, MRCHANDLED* pHandled) {
    return ProcessIncomingMessage(pMsgStore, cbMsg, lpMsg, pulEventType, pHandled);
}
