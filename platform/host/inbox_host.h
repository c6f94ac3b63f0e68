// The inbox service of the emulated phone: it loads the SMS rule clients
// named in the registry and calls them for every arriving message.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace host {

// What the last ProcessMessage call wrote into its out-parameters (nothing
// for one it did not write). The event type is passed in as 0, since rule
// clients OR their bits into it, so 0 coming back means no event.
struct RuleResult {
    bool called = false;
    std::optional<ULONG> eventType;
    std::optional<int> handled;
};

// Starts the service on a thread of its own: reads the SMS rules key,
// activates each enabled rule client and initialises it with the SMS store.
bool StartInboxService(std::string* error);

// Releases the rule clients, unloads the modules that allow it, and ends
// the service's thread.
void StopInboxService();

struct ArrivingMessage {
    std::u16string messageClass;  // "IPM.SMStext", "REPORT.IPM.SMStext.DR", ...
    std::u16string text;
    std::u16string senderAddress;  // as the phone stores it: "+7916...", or "Name <+7916...>"
    std::u16string senderName;     // empty: the service names the sender
};

// A message arrives: stored in the Inbox, then ruled, on the service's
// thread; returns when every rule client has been called. A NUL in any of
// its texts refuses the message before anything is stored.
bool DeliverArrivingMessage(const ArrivingMessage& message, std::string* error);

RuleResult LastRuleResult();
// Messages for which the service showed its own notification in this
// session, as the log of outside effects has them.
int StandardNotificationCount();

}  // namespace host
