// The table of scenario lines.
#include "ScenarioLines.h"
#include "Session.h"

namespace phone {

const std::map<std::string, LineHandler>& ScenarioCommands() {
    static const std::map<std::string, LineHandler> commands = {
        {"sms", SmsLine},       {"report", ReportLine},     {"read", ReadLine},       {"unread", UnreadLine},
        {"delete", DeleteLine}, {"profile", ProfileLine},   {"lock", LockLine},       {"wait", WaitLine},
        {"state", StateLine},   {"key", KeyLine},           {"rotate", RotateLine},   {"screenshot", ScreenshotLine},
        {"start", StartLine},   {"settings", SettingsLine}, {"toolkit", ToolkitLine}, {"type", TypeLine},
    };
    return commands;
}

}  // namespace phone
