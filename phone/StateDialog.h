// The state report's view of the dialog in front: its title, class and
// rectangle, and each of its controls as the user sees it.
#pragma once

#include "Json.h"

#include <string>

namespace phone {

// Writes the dialog in front as one value, or null when the foreground
// window is no dialog.
void WriteDialog(JsonWriter& json);

// The same as lines of text for the plain report (nothing when no dialog).
std::string DialogStateText();

}  // namespace phone
