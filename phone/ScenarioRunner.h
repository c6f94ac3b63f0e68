// Running scenario lines in a session, from whatever gives them: a file,
// the terminal, or the window's command line.
#pragma once

#include "Session.h"

#include <functional>
#include <istream>
#include <string>

namespace phone {

// The next line into *line; false when there are no more. A source that
// cannot be read throws a CommandError.
using LineSource = std::function<bool(std::string* line)>;
LineSource StreamLines(std::istream& in);

// Opens the device of the session and starts the session on it.
void StartSession(Session& session);

// Runs the lines of a source; stopOnError ends at the first failed line, and
// prompt shows "phone> " before each. Lines are numbered from *number + 1,
// and *number is left at the last line read (so that a second source goes
// on counting). False when a line failed.
bool RunLines(Session& session, const LineSource& next, bool stopOnError, bool prompt, int* number = nullptr);

}  // namespace phone
