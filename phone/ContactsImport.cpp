#include "ContactsImport.h"

#include "BoundedInput.h"
#include "Cli.h"

#include <coredll_host.h>

#include <cstdio>

namespace phone {

ContactsFile ReadContactsFile(const std::string& path) {
    const std::string bytes = ReadInputFile(path);
    ContactsFile file;
    file.path = path;
    try {
        for (const VCard& card : ParseVCards(bytes, path)) file.contacts.push_back(ContactOfVCard(card));
    } catch (const VCardError& e) {
        throw CommandError(e.what());
    }
    return file;
}

size_t StoreContacts(const ContactsFile& file) {
    if (!host::BeginContactBatch()) throw CommandError("cannot open the contact store of the device");
    for (const VCardContact& contact : file.contacts) {
        if (host::AddContact(contact.record) == 0) {
            host::RollbackContactBatch();
            throw CommandError("cannot write the contact store of the device; nothing was imported");
        }
    }
    if (!host::CommitContactBatch())
        throw CommandError("cannot write the contact store of the device; nothing was imported");
    for (const VCardContact& contact : file.contacts)
        for (const DroppedNumber& d : contact.dropped)
            std::fprintf(stderr, "phone: %s:%d: %s: number %s dropped (%s)\n", file.path.c_str(), d.line,
                         host::ToUtf8(contact.label).c_str(), host::ToUtf8(d.number).c_str(), d.reason.c_str());
    return file.contacts.size();
}

}  // namespace phone
