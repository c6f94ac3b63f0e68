#include "SenderName.h"

#include <pimstore_host.h>

namespace inbox {

std::u16string NumberOfAddress(const std::u16string& address) {
    size_t open = address.rfind(u'<');
    if (open == std::u16string::npos) return address;
    size_t close = address.find(u'>', open);
    if (close == std::u16string::npos) return address.substr(open + 1);
    return address.substr(open + 1, close - open - 1);
}

std::u16string SenderNameFor(const std::u16string& address) {
    std::u16string name = host::ContactNameForNumber(NumberOfAddress(address));
    return name.empty() ? address : name;
}

}  // namespace inbox
