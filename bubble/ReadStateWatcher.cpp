#include "ReadStateWatcher.h"

#include "BubbleMessages.h"
#include "BubbleWindow.h"

namespace {
// {0000010F-0000-0000-C000-000000000046}, the advise sink's identifier.
const IID kIidAdviseSink = {0x0000010F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
}  // namespace

ReadStateWatcher::ReadStateWatcher(BubbleWindow* window, IMsgStore* store, WPARAM watch)
    : window_(window), store_(store), refs_(1), watch_(watch) {
    if (store_) store_->AddRef();
}

ReadStateWatcher::~ReadStateWatcher() {}

STDMETHODIMP ReadStateWatcher::QueryInterface(REFIID riid, LPVOID* ppv) {
    if (!ppv) return E_INVALIDARG;
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != kIidAdviseSink) return E_NOINTERFACE;
    *ppv = static_cast<IMAPIAdviseSink*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) ReadStateWatcher::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }

STDMETHODIMP_(ULONG) ReadStateWatcher::Release() {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) {
        if (store_) store_->Release();
        store_ = nullptr;
        delete this;
    }
    return static_cast<ULONG>(refs);
}

bool ReadStateWatcher::MarkedRead(const OBJECT_NOTIFICATION& notice) {
    if (!notice.lpPropTagArray || notice.lpPropTagArray->cValues != 1 ||
        notice.lpPropTagArray->aulPropTag[0] != PR_MESSAGE_FLAGS)
        return false;
    IMessage* message = nullptr;
    if (FAILED(store_->OpenEntry(notice.cbEntryID, notice.lpEntryID, nullptr, 0, nullptr,
                                 reinterpret_cast<LPUNKNOWN*>(&message))) ||
        !message)
        return false;
    ULONG count = 0;
    LPSPropValue values = nullptr;
    bool read = false;
    if (SUCCEEDED(message->GetProps(notice.lpPropTagArray, 0, &count, &values)) && values && count >= 1)
        read = values[0].ulPropTag == PR_MESSAGE_FLAGS && (values[0].Value.ul & MSGFLAG_READ);
    if (values) MAPIFreeBuffer(values);
    message->Release();
    return read;
}

STDMETHODIMP_(ULONG) ReadStateWatcher::OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) {
    if (InterlockedCompareExchange(&detached_, 0, 0)) return S_OK;
    // Only the first notice decides, whatever the count.
    if (cNotif == 0 || !lpNotifications) return S_OK;
    const NOTIFICATION& first = lpNotifications[0];
    const OBJECT_NOTIFICATION& notice = first.info.obj;
    if (notice.ulObjType != MAPI_MESSAGE) return S_OK;
    bool dismiss = !(first.ulEventType & fnevObjectModified) || MarkedRead(notice);
    if (dismiss) PostMessageW(window_->Window(), WM_BUBBLE_DISMISS, watch_, 0);
    return S_OK;
}
