// What a vCard becomes in the contact store: its names and up to ten phone
// numbers, each on the phone property its TEL types ask for.
#pragma once

#include "VCard.h"

#include <pimstore_host.h>

#include <string>
#include <vector>

namespace phone {

struct DroppedNumber {
    int line = 0;
    std::u16string number;
    std::string reason;
};

struct VCardContact {
    host::ContactRecord record;
    std::u16string label;  // how messages name the card
    std::vector<DroppedNumber> dropped;
};

// Names: N gives the last and first name; FN only stands in (as the first
// name) when N names nobody, and not when it merely repeats ORG (a company
// card). Numbers: CELL -> mobile, WORK -> business then business2, HOME ->
// home then home2, PAGER, CAR, ISDN/RADIO -> radio, ASSISTANT, COMPANY/MAIN
// -> company. Untyped (VOICE, PREF, ...) numbers, and typed ones whose
// properties are taken, go in file order to the first free of mobile, home,
// business, home2, business2. FAX numbers have no property; they and any
// number left over are dropped.
VCardContact ContactOfVCard(const VCard& card);

}  // namespace phone
