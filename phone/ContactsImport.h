// Importing a vCard file into the device's contact store, for
// `phone contacts import` and `phone init --contacts`.
#pragma once

#include "VCardContact.h"

#include <string>
#include <vector>

namespace phone {

struct ContactsFile {
    std::string path;
    std::vector<VCardContact> contacts;
};

// Reads and decodes the whole file before anything is stored; a file that
// cannot be read is a CommandError ("FILE:LINE: what is wrong").
ContactsFile ReadContactsFile(const std::string& path);

// Stores the contacts of the file in the open device in one transaction
// (all or none) and reports each dropped number on standard error. Returns
// the number of contacts stored.
size_t StoreContacts(const ContactsFile& file);

}  // namespace phone
