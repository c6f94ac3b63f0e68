// vCard 2.1 and 3.0 files as phones and address books export them: the
// cards of a file with the properties the contact store keeps, decoded to
// UTF-16 (folded lines joined, quoted-printable and charsets decoded, 3.0
// escapes undone).
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace phone {

struct VCardTel {
    int line = 0;
    std::u16string number;
    std::vector<std::string> types;  // upper case: "CELL", "WORK", "FAX", ...
};

struct VCard {
    int line = 0;          // of BEGIN:VCARD
    bool hasName = false;  // an N property was there
    std::u16string lastName, firstName;
    std::u16string formattedName;  // FN
    std::u16string organization;   // the first component of ORG
    std::u16string fileAs;         // X-FILE-AS or X-EVOLUTION-FILE-AS
    std::vector<VCardTel> tels;
};

// A file that cannot be read; what() is "FILE:LINE: what is wrong".
struct VCardError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// All cards of a file, in file order. fileName only names the file in
// errors. Throws VCardError for the first thing that cannot be read.
std::vector<VCard> ParseVCards(std::string_view bytes, const std::string& fileName);

}  // namespace phone
