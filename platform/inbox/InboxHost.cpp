// The host API of the inbox service: one service per process.
#include "InboxService.h"

#include <effect_log.h>

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

int StandardNotificationCount() {
    return CountEffects(effect::kStandardNotification, SessionStartEffect());
}

}  // namespace host
