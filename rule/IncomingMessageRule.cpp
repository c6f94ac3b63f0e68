#include "IncomingMessageRule.h"

#include "BubbleThread.h"
#include "ComRef.h"
#include "MessageStoreOps.h"
#include "MessageText.h"
#include "NotificationHandoff.h"
#include "RegistryReaders.h"
#include "Settings.h"

#include <pm.h>

namespace {

// A missing property (an error value) reads as empty text.
LPCWSTR TextOf(const SPropValue* value) {
    LPCWSTR text = StringValue(value);
    return text ? text : TEXT("");
}

// Writes the rewritten text back into the message's subject; false when
// memory for the value ran out.
bool WriteSubject(IMessage* message, const WString& text) {
    PropValueBuffer value;
    if (FAILED(MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(value.Receive())))) return false;
    value->ulPropTag = PR_SUBJECT_W;
    ULONG bytes = static_cast<ULONG>((text.Length() + 1) * sizeof(WCHAR));
    MapiBuffer<WCHAR> copy;
    if (FAILED(MAPIAllocateBuffer(bytes, reinterpret_cast<LPVOID*>(copy.Receive())))) return false;
    if (text.Length() > 0) memcpy(copy.Get(), text.Text(), text.Length() * sizeof(WCHAR));
    copy.Get()[text.Length()] = 0;
    value->Value.lpszW = copy.Get();
    // Deliberately unchecked: a subject that cannot be written leaves the
    // message as it arrived, which is the rule's fallback anyway.
    message->SetProps(1, value.Get(), nullptr);
    copy.Free();
    value.Free();
    return true;
}

}  // namespace

HRESULT ProcessIncomingMessage(IMsgStore* store, ULONG cbMsg, LPENTRYID lpMsg, ULONG* pulEventType,
                               MRCHANDLED* pHandled) {
    Settings settings;
    WString activeProfile;
    ComRef<IMessage> message;
    PropValueBuffer messageClass, subject, senderAddress, senderName;

    try {
        LoadSettings(settings);
        if (settings.Disable) {
            *pHandled = MRC_NOT_HANDLED;
            return S_OK;
        }

        if (settings.TurnOffScreen || settings.DisableBubblesInProfile) {
            activeProfile = ReadRegStringAt(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), TEXT("ActiveProfile"));
            if (settings.TurnOffScreen && activeProfile.Equals(settings.ExcludeProfile))
                SetSystemPowerState(nullptr, POWER_STATE_USERIDLE, 0);
        }

        if (FAILED(store->OpenEntry(cbMsg, lpMsg, nullptr, 0, nullptr, message.ReceiveUnknown()))) {
            *pHandled = MRC_NOT_HANDLED;
            return S_OK;
        }

        *messageClass.Receive() = GetMessageProp(message.Get(), PR_MESSAGE_CLASS_W);
        LPCWSTR cls = StringValue(messageClass.Get());
        const MessageKind kind = KindOfMessage(cls);
        const bool report = kind.report;
        if (!((cls && ((settings.SMS && kind.textMessage) || report)) || settings.ShowBubbles)) return S_OK;

        *subject.Receive() = GetMessageProp(message.Get(), PR_SUBJECT_W);
        *senderAddress.Receive() = GetMessageProp(message.Get(), PR_SENDER_EMAIL_ADDRESS_W);
        *senderName.Receive() = GetMessageProp(message.Get(), PR_SENDER_NAME_W);

        WString text;
        if (RewriteStoredText(TextOf(subject.Get()), settings, kind, &text)) {
            if (!WriteSubject(message.Get(), text)) return S_OK;
            *pulEventType = fnevObjectModified;
            *pHandled = MRC_HANDLED_CONTINUE;
        }

        if (report) {
            if (settings.MarkDRAsRead) MarkMessageRead(message.Get());
            if (settings.DeleteDR) {
                MoveMessage(store, message.Get(), OpenDeletedItems(store), TRUE);
                *pulEventType |= fnevObjectMoved;
            }
        }

        bool show = settings.ShowBubbles && (!report || settings.ShowDR);
        if (show && settings.DisableBubblesInProfile) show = !activeProfile.Equals(settings.ExcludeProfile);

        if (show) {
            text = BubbleText(text, settings);
            WString address = WString::FromText(TextOf(senderAddress.Get()));
            WString name = WString::FromText(TextOf(senderName.Get()));
            BubbleThreadState& bubble = GetBubbleThread();
            DeliverNotification(bubble, text, name, address, store, message.Get(), report ? FALSE : TRUE);
            *pHandled = MRC_HANDLED_DONTCONTINUE;
        }
    } catch (Exception* e) {
        delete e;
        *pHandled = MRC_NOT_HANDLED;
    } catch (...) {
        *pHandled = MRC_NOT_HANDLED;
    }
    return S_OK;
}
