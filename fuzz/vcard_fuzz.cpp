// The emulator's vCard reader over a file made from the input, and each
// card it reads turned into a contact. A file either reads or fails with
// a VCardError; every number of a card lands on one phone property or is
// reported dropped.
#include "../phone/VCard.h"
#include "../phone/VCardContact.h"
#include "FuzzCheck.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<phone::VCard> cards;
    try {
        cards = phone::ParseVCards(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.vcf");
    } catch (const phone::VCardError& e) {
        FUZZ_CHECK(std::string(e.what()).rfind("fuzz.vcf:", 0) == 0);
        return 0;
    }
    for (const phone::VCard& card : cards) {
        const phone::VCardContact contact = phone::ContactOfVCard(card);
        FUZZ_CHECK(!contact.label.empty());
        size_t numbers = 0, placed = 0, dropped = 0;
        for (const phone::VCardTel& tel : card.tels) numbers += !tel.number.empty();
        for (const std::u16string& phone : contact.record.phones) placed += !phone.empty();
        for (const phone::DroppedNumber& d : contact.dropped) dropped += !d.number.empty();
        FUZZ_CHECK(placed + dropped == numbers);
    }
    return 0;
}
