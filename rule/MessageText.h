// What the rule makes of a message's text, in the rule's own order: the
// class tells what the message is, the first pass gives the text written
// back into the message, the second the bubble's HTML. The emulator's
// rewrite command calls the same functions, so that it cannot disagree with
// the rule.
#pragma once

#include "Settings.h"
#include "WString.h"

#include <windows.h>

struct MessageKind {
    bool report;       // a delivery report (its class begins "REPORT.IPM.SMStext")
    bool textMessage;  // an ordinary text message ("IPM.SMStext...")
    bool delivered;    // a report that the message arrived (not a ".NDR")
};

// From PR_MESSAGE_CLASS; a missing class (null) is neither.
MessageKind KindOfMessage(LPCWSTR messageClass);

// The first pass: true when the numbers of subject were replaced, *stored
// then holding the new text; false leaves *stored as subject.
bool RewriteStoredText(LPCWSTR subject, Settings& settings, const MessageKind& kind, WString* stored);

// The second pass: the stored text as HTML, its numbers made links; when
// no link can be made, the stored text escaped.
WString BubbleText(const WString& stored, const Settings& settings);
