#include "VCardContact.h"

#include <algorithm>

namespace phone {

namespace {

// Indexes into ContactRecord::phones (the order of host::kContactPhoneKinds).
enum Slot { kMobile, kBusiness, kBusiness2, kHome, kHome2, kPager, kCar, kRadio, kCompany, kAssistant };

const std::vector<int> kGeneral = {kMobile, kHome, kBusiness, kHome2, kBusiness2};

bool Has(const std::vector<std::string>& types, std::initializer_list<const char*> names) {
    for (const std::string& t : types)
        for (const char* n : names)
            if (t == n) return true;
    return false;
}

// The properties a typed number asks for, in order of preference; empty
// for an untyped one.
std::vector<int> SlotsOf(const std::vector<std::string>& types) {
    if (Has(types, {"CELL", "MOBILE"})) return {kMobile};
    if (Has(types, {"PAGER"})) return {kPager};
    if (Has(types, {"CAR"})) return {kCar};
    if (Has(types, {"ASSISTANT", "X-ASSISTANT"})) return {kAssistant};
    if (Has(types, {"COMPANY", "X-COMPANY", "MAIN"})) return {kCompany};
    if (Has(types, {"RADIO", "X-RADIO", "ISDN"})) return {kRadio};
    if (Has(types, {"WORK"})) return {kBusiness, kBusiness2};
    if (Has(types, {"HOME"})) return {kHome, kHome2};
    return {};
}

std::u16string LabelOf(const host::ContactRecord& r, const VCard& card) {
    if (!r.fileAs.empty()) return r.fileAs;
    if (!r.lastName.empty() && !r.firstName.empty()) return r.lastName + u", " + r.firstName;
    if (!r.lastName.empty()) return r.lastName;
    if (!r.firstName.empty()) return r.firstName;
    if (!r.companyName.empty()) return r.companyName;
    std::string line = std::to_string(card.line);
    return u"the card of line " + std::u16string(line.begin(), line.end());
}

}  // namespace

VCardContact ContactOfVCard(const VCard& card) {
    VCardContact out;
    host::ContactRecord& r = out.record;
    if (!card.lastName.empty() || !card.firstName.empty()) {
        r.lastName = card.lastName;
        r.firstName = card.firstName;
    } else if (!card.formattedName.empty() && card.formattedName != card.organization) {
        r.firstName = card.formattedName;
    }
    r.companyName = card.organization;
    r.fileAs = card.fileAs;
    out.label = LabelOf(r, card);

    std::vector<bool> leftOver(card.tels.size(), false);
    for (size_t i = 0; i < card.tels.size(); ++i) {
        const VCardTel& tel = card.tels[i];
        if (Has(tel.types, {"FAX"})) {
            out.dropped.push_back({tel.line, tel.number, "a fax number has no property on the phone"});
            continue;
        }
        std::vector<int> slots = SlotsOf(tel.types);
        auto free = std::find_if(slots.begin(), slots.end(), [&](int s) { return r.phones[s].empty(); });
        if (free != slots.end())
            r.phones[*free] = tel.number;
        else
            leftOver[i] = true;
    }
    for (size_t i = 0; i < card.tels.size(); ++i) {
        if (!leftOver[i]) continue;
        const VCardTel& tel = card.tels[i];
        auto free = std::find_if(kGeneral.begin(), kGeneral.end(), [&](int s) { return r.phones[s].empty(); });
        if (free != kGeneral.end())
            r.phones[*free] = tel.number;
        else
            out.dropped.push_back({tel.line, tel.number, "no free phone property left"});
    }
    std::stable_sort(out.dropped.begin(), out.dropped.end(),
                     [](const DroppedNumber& a, const DroppedNumber& b) { return a.line < b.line; });
    return out;
}

}  // namespace phone
