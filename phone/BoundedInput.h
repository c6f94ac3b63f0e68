// What the emulator reads from files and terminals, with a bound on its
// size: an endless input (a device file, a pipe that never ends a line) is
// refused with one clear line before it fills the memory.
#pragma once

#include <cstddef>
#include <istream>
#include <string>

namespace phone {

// Far beyond any device's registry or address book.
constexpr size_t kLargestInputFile = size_t{64} << 20;
// Far beyond a scenario line that brings the longest text a test sends.
constexpr size_t kLongestInputLine = size_t{16} << 20;

// The bytes of an imported file. Throws a CommandError naming the file when
// it is missing, a folder, unreadable or larger than kLargestInputFile.
std::string ReadInputFile(const std::string& path);

// std::getline that throws a CommandError once a line outgrows
// kLongestInputLine.
bool ReadInputLine(std::istream& in, std::string* line);

// The CommandError of a line that outgrew kLongestInputLine.
[[noreturn]] void FailLongLine();

}  // namespace phone
