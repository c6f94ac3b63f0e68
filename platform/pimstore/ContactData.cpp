#include "ContactData.h"

namespace pim {

const std::array<CEPROPID, kPhoneCount> kPhoneProperties = {
    PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_BUSINESS_TELEPHONE_NUMBER, PIMPR_BUSINESS2_TELEPHONE_NUMBER,
    PIMPR_HOME_TELEPHONE_NUMBER,   PIMPR_HOME2_TELEPHONE_NUMBER,    PIMPR_PAGER_NUMBER,
    PIMPR_CAR_TELEPHONE_NUMBER,    PIMPR_RADIO_TELEPHONE_NUMBER,    PIMPR_COMPANY_TELEPHONE_NUMBER,
    PIMPR_ASSISTANT_TELEPHONE_NUMBER,
};

int PhoneSlot(CEPROPID propid) {
    for (size_t i = 0; i < kPhoneProperties.size(); ++i)
        if (kPhoneProperties[i] == propid) return static_cast<int>(i);
    return -1;
}

std::u16string DefaultFileAs(const std::u16string& firstName, const std::u16string& lastName) {
    if (lastName.empty()) return firstName;
    if (firstName.empty()) return lastName;
    return lastName + u", " + firstName;
}

}  // namespace pim
