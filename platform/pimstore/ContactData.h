// One contact as the store keeps it: names, file-as text and the ten phone
// properties.
#pragma once

#include <pimstore.h>
#include <pimstore_host.h>

#include <array>
#include <cstdint>
#include <string>

namespace pim {

inline constexpr size_t kPhoneCount = 10;

inline constexpr size_t kMaxText = host::kMaxContactText;

struct ContactData {
    int64_t oid = 0;  // 0 until first saved
    std::u16string firstName, lastName, fileAs, companyName;
    // An explicit file-as text stays as given; otherwise the store derives
    // it from the names each time the contact is saved.
    bool fileAsExplicit = false;
    std::array<std::u16string, kPhoneCount> phones;  // in the order of kPhoneProperties
};

// The phone properties in the store's fixed order: ties between the numbers
// of one contact go to the earlier one.
extern const std::array<CEPROPID, kPhoneCount> kPhoneProperties;

// Index of a phone property in ContactData::phones, or -1.
int PhoneSlot(CEPROPID propid);

// The store's file-as text for a contact without an explicit one:
// "Last, First", or the one name given alone, cut to kMaxText characters
// (never inside a surrogate pair).

// Whether every text of the contact fits kMaxText (the derived file-as
// text aside, which is cut to fit).
bool TextsFit(const ContactData& contact);
std::u16string DefaultFileAs(const std::u16string& firstName, const std::u16string& lastName);

}  // namespace pim
