// The host API of the inbox service: one service per process.
#include "InboxService.h"

#include <effect_log.h>

#include <utility>

namespace {
inbox::InboxService* g_service = nullptr;
}

namespace host {

bool StartInboxService(std::string* error) {
    if (g_service) return true;
    auto* service = new inbox::InboxService;
    if (!service->Start(error)) {
        service->Stop();
        delete service;
        return false;
    }
    g_service = service;
    return true;
}

void StopInboxService() {
    if (!g_service) return;
    g_service->Stop();
    delete g_service;
    g_service = nullptr;
}

bool DeliverArrivingMessage(const ArrivingMessage& message, std::string* error) {
    // A message's texts are PT_UNICODE properties, which end at their first
    // NUL: what followed it would be lost to every reader of the message.
    const std::pair<const std::u16string*, const char*> texts[] = {{&message.text, "the text"},
                                                                   {&message.senderAddress, "the sender's address"},
                                                                   {&message.senderName, "the sender's name"},
                                                                   {&message.messageClass, "the message class"}};
    for (const auto& [text, what] : texts)
        if (text->find(u'\0') != std::u16string::npos) {
            if (error) *error = std::string(what) + " of a message cannot hold a NUL character";
            return false;
        }
    if (!g_service) {
        if (error) *error = "the inbox service is not running";
        return false;
    }
    std::string failure;
    g_service->Deliver(message, &failure);
    if (!failure.empty()) {
        if (error) *error = failure;
        return false;
    }
    return true;
}

RuleResult LastRuleResult() { return g_service ? g_service->LastResult() : RuleResult{}; }

int StandardNotificationCount() { return CountEffects(effect::kStandardNotification, SessionStartEffect()); }

}  // namespace host
