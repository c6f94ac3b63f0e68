// CE MAPI: the message store, the SMS rule-client interface of the inbox
// service, and the Mail* functions of the messaging application.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <mapidefs.h>
#include <mapicode.h>
#include <mapitags.h>
#include <mapiutil.h>

// What an SMS rule client asks of the store, and what it did with a message.
// Enumerations are int-wide with every int value valid, as the platform's
// compiler makes them (an inbox service may preset a value no client writes).
typedef enum _MRCACCESS : int {
    MRC_ACCESS_NONE = 0,
    MRC_ACCESS_READ = 1,
    MRC_ACCESS_WRITE = 2,
} MRCACCESS;

typedef enum _MRCHANDLED : int {
    MRC_NOT_HANDLED = 0,
    MRC_HANDLED_CONTINUE = 1,
    MRC_HANDLED_DONTCONTINUE = 2,
} MRCHANDLED;

DEFINE_GUID(IID_IMailRuleClient, 0x96D2552D, 0xB83B, 0x4B48, 0x8E, 0x89, 0xDC, 0xC2, 0x65, 0x12, 0xDB, 0xA4);

MIDL_INTERFACE("96D2552D-B83B-4B48-8E89-DCC26512DBA4") IMailRuleClient : public IUnknown {
    MAPIMETHOD(Initialize)(IMsgStore * pMsgStore, MRCACCESS * pmaDesired) PURE;
    MAPIMETHOD(ProcessMessage)
    (IMsgStore * pMsgStore, ULONG cbMsg, LPENTRYID lpMsg, ULONG cbDestFolder, LPENTRYID lpDestFolder,
     ULONG * pulEventType, MRCHANDLED * pHandled) PURE;
};
typedef IMailRuleClient* LPMAILRULECLIENT;

// The messaging application.
#define MCF_ACCOUNT_IS_NAME      0x00000001
#define MCF_ACCOUNT_IS_TRANSPORT 0x00000002
#define MCF_MAILTO_FORMAT        0x00000004
#define MCF_RUN_IN_BACKGROUND    0x00000008

typedef struct {
    DWORD cbSize;
    DWORD dwFlags;
    LPCWSTR pszTo;
    LPCWSTR pszCc;
    LPCWSTR pszBcc;
    LPCWSTR pszSubject;
    LPCWSTR pszBody;
    LPCWSTR pszAttachments;
    UINT cAttachments;
    LPCWSTR pszAccount;
    LPCWSTR pszMsgClass;
} MAILCOMPOSEFIELDS;

#ifdef __cplusplus
extern "C" {
#endif
// Opens the composer, pre-filled from pmcf (null: an empty one).
HRESULT WINAPI MailComposeMessage(MAILCOMPOSEFIELDS* pmcf);
// Opens the reader on the message of that entry identifier.
HRESULT WINAPI MailDisplayMessage(LPENTRYID lpEntryID, ULONG cbEntryID);
// Brings the messaging application up on an account (by name with MCF_ACCOUNT_IS_NAME).
HRESULT WINAPI MailSwitchToAccount(LPCWSTR pszAccount, DWORD dwFlags);
#ifdef __cplusplus
}
#endif
