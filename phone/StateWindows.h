// The parts of the state report that describe windows on the screen: the
// bubble, the soft keys and the open popup, and the outside utility.
#pragma once

#include "Json.h"

#include <string>

namespace phone {

// Each writes one value (the member's name is the caller's).
void WriteBubble(JsonWriter& json);
void WriteSoftKeys(JsonWriter& json);
void WritePopup(JsonWriter& json);
void WriteToolkit(JsonWriter& json);

// The same as lines of text for the plain report.
std::string WindowsStateText();

}  // namespace phone
