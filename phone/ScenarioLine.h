// The words of one scenario line: one command a line, "#" starts a comment,
// TEXT is one word or a double-quoted string with \", \\ and \n escapes.
#pragma once

#include <string>
#include <vector>

namespace phone {

// Splits a line into words; false with *error for an unterminated quote or
// an unknown escape. A blank or comment-only line gives no words.
bool SplitScenarioLine(const std::string& line, std::vector<std::string>* words, std::string* error);

}  // namespace phone
