#pragma once

#include <string>

namespace phone {

// The help of one command, or of all of them for an empty name.
std::string HelpText(const std::string& command);

}  // namespace phone
