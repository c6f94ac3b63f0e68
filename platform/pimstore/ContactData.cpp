#include "ContactData.h"

namespace pim {

const std::array<CEPROPID, kPhoneCount> kPhoneProperties = {
    PIMPR_MOBILE_TELEPHONE_NUMBER,    PIMPR_BUSINESS_TELEPHONE_NUMBER, PIMPR_BUSINESS2_TELEPHONE_NUMBER,
    PIMPR_HOME_TELEPHONE_NUMBER,      PIMPR_HOME2_TELEPHONE_NUMBER,    PIMPR_PAGER_NUMBER,
    PIMPR_CAR_TELEPHONE_NUMBER,       PIMPR_RADIO_TELEPHONE_NUMBER,    PIMPR_COMPANY_TELEPHONE_NUMBER,
    PIMPR_ASSISTANT_TELEPHONE_NUMBER,
};

int PhoneSlot(CEPROPID propid) {
    for (size_t i = 0; i < kPhoneProperties.size(); ++i)
        if (kPhoneProperties[i] == propid) return static_cast<int>(i);
    return -1;
}

std::u16string DefaultFileAs(const std::u16string& firstName, const std::u16string& lastName) {
    std::u16string fileAs = lastName.empty() ? firstName : firstName.empty() ? lastName : lastName + u", " + firstName;
    if (fileAs.size() > kMaxText) {
        size_t cut = kMaxText;
        if (fileAs[cut - 1] >= 0xD800 && fileAs[cut - 1] <= 0xDBFF) --cut;
        fileAs.resize(cut);
    }
    return fileAs;
}

bool TextsFit(const ContactData& contact) {
    auto fits = [](const std::u16string& text) { return text.size() <= kMaxText; };
    if (!fits(contact.firstName) || !fits(contact.lastName) || !fits(contact.companyName)) return false;
    if (contact.fileAsExplicit && !fits(contact.fileAs)) return false;
    for (const std::u16string& phone : contact.phones)
        if (!fits(phone)) return false;
    return true;
}

}  // namespace pim
