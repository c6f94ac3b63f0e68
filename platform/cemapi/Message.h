// IMessage: one message of the store. Its properties are stored as they
// are set; SaveChanges has nothing left to do.
#pragma once

#include "MapiObject.h"
#include "MsgStore.h"

namespace cemapi {

// Properties the store computes from the message's row: a caller cannot set
// or delete them.
bool IsComputed(ULONG tag);

// The values a message answers: the stored ones and those the store keeps
// for it (entry identifiers, object type, message flags).
std::vector<Prop> MessageProps(StoreDb& db, const MessageData& message, const std::vector<ULONG>* wanted = nullptr);

class Message final : public PropObject<IMessage> {
public:
    Message(MsgStore* store, RowId row);

    STDMETHODIMP QueryInterface(REFIID riid, void** ppvObject) override;

    STDMETHODIMP SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems) override;
    STDMETHODIMP DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems) override;

    STDMETHODIMP GetAttachmentTable(ULONG, LPMAPITABLE* lppTable) override;
    STDMETHODIMP OpenAttach(ULONG, LPCIID, ULONG, LPUNKNOWN* lppAttach) override;
    STDMETHODIMP CreateAttach(LPCIID, ULONG, ULONG*, LPUNKNOWN* lppAttach) override;
    STDMETHODIMP DeleteAttach(ULONG, ULONG_PTR, LPMAPIPROGRESS, ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP GetRecipientTable(ULONG, LPMAPITABLE* lppTable) override;
    STDMETHODIMP ModifyRecipients(ULONG, LPADRLIST) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SubmitMessage(ULONG) override { return MAPI_E_NO_SUPPORT; }
    STDMETHODIMP SetReadFlag(ULONG) override { return MAPI_E_NO_SUPPORT; }

protected:
    HRESULT Available(std::vector<Prop>* props) override;
    const char* InterfaceName() const override { return "IMessage"; }

private:
    ~Message() override;

    MsgStore* const store_;
    const RowId row_;
};

}  // namespace cemapi
