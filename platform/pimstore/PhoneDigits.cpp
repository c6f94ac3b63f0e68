#include "PhoneDigits.h"

#include <coredll_host.h>

namespace pim {

std::string ReversedDigits(std::u16string_view number) {
    std::string digits;
    for (auto it = number.rbegin(); it != number.rend(); ++it) {
        int value = host::DigitValue(*it);
        if (value >= 0) digits += static_cast<char>('0' + value);
    }
    return digits;
}

size_t CommonPrefix(std::string_view a, std::string_view b) {
    size_t n = 0;
    while (n < a.size() && n < b.size() && a[n] == b[n]) ++n;
    return n;
}

}  // namespace pim
