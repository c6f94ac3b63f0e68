// The handlers of the scenario lines, by subject.
#pragma once

#include "Session.h"

namespace phone {

// Messages arriving and what the messaging application does with them.
void SmsLine(Session&, const std::vector<std::string>& args);
void ReportLine(Session&, const std::vector<std::string>& args);
void ReadLine(Session&, const std::vector<std::string>& args);
void UnreadLine(Session&, const std::vector<std::string>& args);
void DeleteLine(Session&, const std::vector<std::string>& args);

// The device's settings and the passing of time.
void ProfileLine(Session&, const std::vector<std::string>& args);
void LockLine(Session&, const std::vector<std::string>& args);
void WaitLine(Session&, const std::vector<std::string>& args);
void StateLine(Session&, const std::vector<std::string>& args);

// The screen and the keys.
void KeyLine(Session&, const std::vector<std::string>& args);
void TypeLine(Session&, const std::vector<std::string>& args);
void RotateLine(Session&, const std::vector<std::string>& args);
void ScreenshotLine(Session&, const std::vector<std::string>& args);

// Programs and the outside utility.
void StartLine(Session&, const std::vector<std::string>& args);
void SettingsLine(Session&, const std::vector<std::string>& args);
void ToolkitLine(Session&, const std::vector<std::string>& args);

// A whole number from a line argument, within [low, high].
int LineNumberArgument(const std::string& text, const char* what, int low, int high);

}  // namespace phone
