// The hand-off of an announced message from the rule to the bubble window.
#pragma once

#include "BubbleThread.h"
#include "WString.h"

#include <cemapi.h>

// Announces one message (or, with unread messages already waiting, their
// count plus this one) in the bubble, synchronously: it returns once the
// window has taken it. Sends nothing when there is no bubble window. The
// strings are the caller's shared copies; the store and the message get
// references of their own in the item.
void DeliverNotification(BubbleThreadState& thread, WString text, WString senderName, WString senderAddress,
                         IMsgStore* store, IMessage* message, BOOL ordinaryMessage);
