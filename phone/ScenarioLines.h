// The handlers of the scenario lines, by subject.
#pragma once

#include "Session.h"

namespace phone {

// Messages arriving and what the messaging application does with them.
void SmsLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void ReportLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void ReadLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void UnreadLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void DeleteLine(Session&, const std::vector<std::string>& args, LineOutcome&);

// The device's settings and the passing of time.
void ProfileLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void LockLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void WaitLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void StateLine(Session&, const std::vector<std::string>& args, LineOutcome&);

// The screen and the keys.
void KeyLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void RotateLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void ScreenshotLine(Session&, const std::vector<std::string>& args, LineOutcome&);

// Programs and the outside utility.
void StartLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void SettingsLine(Session&, const std::vector<std::string>& args, LineOutcome&);
void ToolkitLine(Session&, const std::vector<std::string>& args, LineOutcome&);

// A whole number from a line argument, within [low, high].
int LineNumberArgument(const std::string& text, const char* what, int low, int high);

}  // namespace phone
