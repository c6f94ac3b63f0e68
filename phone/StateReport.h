// The device state report of the `state` scenario line: as text for a
// person, or as one JSON object on one line.
#pragma once

#include <string>

namespace phone {

std::string StateAsJson();
std::string StateAsText();

}  // namespace phone
