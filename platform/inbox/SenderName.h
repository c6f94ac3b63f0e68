#pragma once

#include <string>

namespace inbox {

// The name the service gives a sender: the name of the contact whose
// number it is, else the address itself.
std::u16string SenderNameFor(const std::u16string& address);

// The number inside an address such as "Mirela <+79161234567>"; the
// address itself when it has no angle brackets.
std::u16string NumberOfAddress(const std::u16string& address);

}  // namespace inbox
