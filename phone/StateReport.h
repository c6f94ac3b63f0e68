// The device state report of the `state` scenario line: as text for a
// person, or as one JSON object on one line.
#pragma once

#include "Session.h"

#include <string>

namespace phone {

std::string StateAsJson(const Session& session);
std::string StateAsText(const Session& session);

// A text on one line of the plain report: control characters (line breaks,
// escape sequences, the C1 controls some terminals obey) are shown as
// escapes, so that a text can neither fake entries nor drive the terminal.
std::string Printable(const std::u16string& text);

}  // namespace phone
