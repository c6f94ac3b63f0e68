// The caller-identification rule of the contact store: numbers compare by
// their decimal digits only (any script's digits count as their value),
// long numbers by their last kTailDigits digits, and the longest run of
// agreeing trailing digits wins.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace pim {

// Numbers with at least this many digits match when their last ones agree;
// shorter numbers match only whole.
inline constexpr size_t kTailDigits = 7;

// The decimal digits of a number as ASCII, last digit first: the form kept
// in the store's index, so that numbers agreeing on their trailing digits
// share a prefix and lie next to one another.
std::string ReversedDigits(std::u16string_view number);

// How many leading characters two reversed digit strings share.
size_t CommonPrefix(std::string_view a, std::string_view b);

}  // namespace pim
