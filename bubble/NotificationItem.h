// One announced message on its way from the rule to the bubble window, and
// held by the window while it is shown.
#pragma once

#include "WString.h"

#include <cemapi.h>

struct NotificationItem {
    WString senderName;     // PR_SENDER_NAME_W
    WString senderAddress;  // PR_SENDER_EMAIL_ADDRESS_W
    WString text;           // the rewritten text as an HTML fragment
    IMsgStore* store;       // one reference held
    IMessage* message;      // one reference held
    BYTE ordinaryMessage;   // 1 for a text message, 0 for a delivery report
};

// A new item holding the strings (shared) and a reference on the store and
// the message; null when it cannot be allocated.
NotificationItem* NewNotificationItem(const WString& text, const WString& senderName, const WString& senderAddress,
                                      IMsgStore* store, IMessage* message, BOOL ordinaryMessage);

// Releases the message and the store, then drops the text, the address and
// the name. The record itself is freed by the caller (DeleteNotificationItem).
void ReleaseNotificationItem(NotificationItem* item);

// ReleaseNotificationItem, then frees the record.
void DeleteNotificationItem(NotificationItem* item);
