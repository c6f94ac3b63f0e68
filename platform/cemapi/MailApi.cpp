// The Mail* functions of the messaging application: each checks its
// arguments, records what was opened in the log of outside effects and
// brings the window up. The reader marks the message it shows read through
// the store, as the phone's inbox does, so that advise sinks hear of it.
#include "MessagingApp.h"

#include <cemapi.h>
#include <cemapi_host.h>
#include <effect_log.h>

#include <vector>

namespace {

const WCHAR kAccount[] = u"SMS";

// The device has one account, the text messages'.
bool KnownAccount(LPCWSTR account) { return account && _wcsicmp(account, kAccount) == 0; }

std::u16string Text(LPCWSTR text) { return text ? std::u16string(text) : std::u16string(); }

std::u16string Hex(const BYTE* bytes, ULONG count) {
    static const char16_t kDigits[] = u"0123456789abcdef";
    std::u16string out;
    for (ULONG i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0xF];
    }
    return out;
}

// The text value of a property, or empty.
std::u16string StringOf(const SPropValue& value) {
    return PROP_TYPE(value.ulPropTag) == PT_UNICODE && value.Value.lpszW ? value.Value.lpszW : u"";
}

}  // namespace

extern "C" HRESULT WINAPI MailComposeMessage(MAILCOMPOSEFIELDS* pmcf) {
    if (pmcf && pmcf->cbSize != sizeof(MAILCOMPOSEFIELDS)) return E_INVALIDARG;
    if (pmcf && pmcf->pszAccount && !KnownAccount(pmcf->pszAccount)) return E_INVALIDARG;
    const std::u16string to = pmcf ? Text(pmcf->pszTo) : u"";
    const std::u16string account = pmcf && pmcf->pszAccount ? Text(pmcf->pszAccount) : kAccount;
    const std::u16string cls = pmcf && pmcf->pszMsgClass ? Text(pmcf->pszMsgClass) : u"IPM.SMStext";
    cemapi::AppWindow window;
    window.title = u"New Text Message";
    window.lines = {u"To: " + to, pmcf ? Text(pmcf->pszBody) : u""};
    host::AppendEffect(host::effect::kOpened,
                       {host::EffectField::Text("app", u"composer"), host::EffectField::Text("to", to),
                        host::EffectField::Text("account", account), host::EffectField::Text("class", cls)});
    return cemapi::OpenAppWindow(window) ? S_OK : E_FAIL;
}

extern "C" HRESULT WINAPI MailDisplayMessage(LPENTRYID lpEntryID, ULONG cbEntryID) {
    if (!lpEntryID || cbEntryID == 0) return E_INVALIDARG;
    IMsgStore* store = host::OpenMessageStore();
    if (!store) return E_FAIL;
    IMessage* message = nullptr;
    ULONG type = 0;
    HRESULT hr = store->OpenEntry(cbEntryID, lpEntryID, nullptr, MAPI_MODIFY, &type,
                                  reinterpret_cast<LPUNKNOWN*>(&message));
    if (FAILED(hr) || !message || type != MAPI_MESSAGE) {
        if (message) message->Release();
        store->Release();
        return E_INVALIDARG;
    }
    SizedSPropTagArray(3, tags) = {3, {PR_SENDER_NAME_W, PR_SUBJECT_W, PR_MESSAGE_FLAGS}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    cemapi::AppWindow window;
    if (SUCCEEDED(message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values)) && count == 3) {
        window.title = StringOf(values[0]);
        window.lines = {StringOf(values[1])};
        // The reader marks what it shows read.
        SPropValue flags = values[2];
        flags.ulPropTag = PR_MESSAGE_FLAGS;
        flags.Value.ul = (PROP_TYPE(values[2].ulPropTag) == PT_LONG ? values[2].Value.ul : 0) | MSGFLAG_READ;
        message->SetProps(1, &flags, nullptr);
    }
    if (values) MAPIFreeBuffer(values);
    message->Release();
    store->Release();
    host::AppendEffect(host::effect::kOpened,
                       {host::EffectField::Text("app", u"reader"),
                        host::EffectField::Text("entry", Hex(reinterpret_cast<BYTE*>(lpEntryID), cbEntryID))});
    return cemapi::OpenAppWindow(window) ? S_OK : E_FAIL;
}

extern "C" HRESULT WINAPI MailSwitchToAccount(LPCWSTR pszAccount, DWORD) {
    if (!KnownAccount(pszAccount)) return E_INVALIDARG;
    cemapi::AppWindow window;
    window.title = u"Text Messages";
    for (const host::StoredMessage& m : host::ListMessages(host::MessageFolder::Inbox))
        window.lines.push_back((m.read ? u"" : u"• ") + (m.senderName.empty() ? m.senderAddress : m.senderName) +
                               u": " + m.subject);
    if (window.lines.empty()) window.lines.push_back(u"No messages");
    host::AppendEffect(host::effect::kOpened, {host::EffectField::Text("app", u"inbox"),
                                               host::EffectField::Text("account", Text(pszAccount))});
    return cemapi::OpenAppWindow(window) ? S_OK : E_FAIL;
}
