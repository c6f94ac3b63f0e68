// MAPI property types and the property tags used on the phone.
#pragma once

#include <windef.h>

#define PROP_TYPE_MASK                          ((ULONG)0x0000FFFF)
#define PROP_TYPE(ulPropTag)                    (((ULONG)(ulPropTag)) & PROP_TYPE_MASK)
#define PROP_ID(ulPropTag)                      (((ULONG)(ulPropTag)) >> 16)
#define PROP_TAG(ulPropType, ulPropID)          ((((ULONG)(ulPropID)) << 16) | ((ULONG)(ulPropType)))
#define CHANGE_PROP_TYPE(ulPropTag, ulPropType) (((ULONG)0xFFFF0000 & (ulPropTag)) | (ulPropType))
#define PROP_ID_NULL                            0

#define PT_UNSPECIFIED ((ULONG)0)
#define PT_NULL        ((ULONG)1)
#define PT_I2          ((ULONG)2)
#define PT_SHORT       PT_I2
#define PT_LONG        ((ULONG)3)
#define PT_I4          PT_LONG
#define PT_R4          ((ULONG)4)
#define PT_DOUBLE      ((ULONG)5)
#define PT_CURRENCY    ((ULONG)6)
#define PT_APPTIME     ((ULONG)7)
#define PT_ERROR       ((ULONG)10)
#define PT_BOOLEAN     ((ULONG)11)
#define PT_OBJECT      ((ULONG)13)
#define PT_I8          ((ULONG)20)
#define PT_LONGLONG    PT_I8
#define PT_STRING8     ((ULONG)30)
#define PT_UNICODE     ((ULONG)31)
#define PT_TSTRING     PT_UNICODE
#define PT_SYSTIME     ((ULONG)64)
#define PT_CLSID       ((ULONG)72)
#define PT_BINARY      ((ULONG)258)

#define PR_MESSAGE_CLASS_W         PROP_TAG(PT_UNICODE, 0x001A)
#define PR_MESSAGE_CLASS           PR_MESSAGE_CLASS_W
#define PR_SUBJECT_W               PROP_TAG(PT_UNICODE, 0x0037)
#define PR_SUBJECT                 PR_SUBJECT_W
#define PR_SENDER_NAME_W           PROP_TAG(PT_UNICODE, 0x0C1A)
#define PR_SENDER_NAME             PR_SENDER_NAME_W
#define PR_SENDER_EMAIL_ADDRESS_W  PROP_TAG(PT_UNICODE, 0x0C1F)
#define PR_SENDER_EMAIL_ADDRESS    PR_SENDER_EMAIL_ADDRESS_W
#define PR_MESSAGE_DELIVERY_TIME   PROP_TAG(PT_SYSTIME, 0x0E06)
#define PR_MESSAGE_FLAGS           PROP_TAG(PT_LONG, 0x0E07)
#define PR_MESSAGE_SIZE            PROP_TAG(PT_LONG, 0x0E08)
#define PR_PARENT_ENTRYID          PROP_TAG(PT_BINARY, 0x0E09)
#define PR_MSG_STATUS              PROP_TAG(PT_LONG, 0x0E17)
#define PR_OBJECT_TYPE             PROP_TAG(PT_LONG, 0x0FFE)
#define PR_ENTRYID                 PROP_TAG(PT_BINARY, 0x0FFF)
#define PR_RECORD_KEY              PROP_TAG(PT_BINARY, 0x0FF9)
#define PR_DISPLAY_NAME_W          PROP_TAG(PT_UNICODE, 0x3001)
#define PR_DISPLAY_NAME            PR_DISPLAY_NAME_W
#define PR_CONTENT_COUNT           PROP_TAG(PT_LONG, 0x3602)
#define PR_CONTENT_UNREAD          PROP_TAG(PT_LONG, 0x3603)
#define PR_IPM_OUTBOX_ENTRYID      PROP_TAG(PT_BINARY, 0x35E2)
#define PR_IPM_WASTEBASKET_ENTRYID PROP_TAG(PT_BINARY, 0x35E3)
#define PR_IPM_SENTMAIL_ENTRYID    PROP_TAG(PT_BINARY, 0x35E4)
#define PR_CE_IPM_DRAFTS_ENTRYID   PROP_TAG(PT_BINARY, 0x8101)
#define PR_CE_IPM_INBOX_ENTRYID    PROP_TAG(PT_BINARY, 0x8102)
