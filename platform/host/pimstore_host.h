// Host-side access to the device's contact store, for the emulator, the
// inbox service and the tests. The system reaches contacts only through
// the contact store's COM objects and FindMatchingContact.
#pragma once

#include <pimstore.h>

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The ten phone properties of a contact, in the store's fixed order (the
// order in which ties within one contact are broken), with the short name
// the emulator shows for each.
struct ContactPhoneKind {
    CEPROPID propid;
    const char* name;
};
inline constexpr std::array<ContactPhoneKind, 10> kContactPhoneKinds = {{
    {PIMPR_MOBILE_TELEPHONE_NUMBER, "mobile"},
    {PIMPR_BUSINESS_TELEPHONE_NUMBER, "business"},
    {PIMPR_BUSINESS2_TELEPHONE_NUMBER, "business2"},
    {PIMPR_HOME_TELEPHONE_NUMBER, "home"},
    {PIMPR_HOME2_TELEPHONE_NUMBER, "home2"},
    {PIMPR_PAGER_NUMBER, "pager"},
    {PIMPR_CAR_TELEPHONE_NUMBER, "car"},
    {PIMPR_RADIO_TELEPHONE_NUMBER, "radio"},
    {PIMPR_COMPANY_TELEPHONE_NUMBER, "company"},
    {PIMPR_ASSISTANT_TELEPHONE_NUMBER, "assistant"},
}};

struct ContactRecord {
    long oid = 0;
    std::u16string firstName, lastName, fileAs, companyName;
    std::array<std::u16string, 10> phones;  // by kContactPhoneKinds; empty = not set
};

// Writes HKEY_CLASSES_ROOT\CLSID\{CLSID_Application}\InprocServer32 =
// "pimstore.dll", so that CoCreateInstance finds the contact store.
bool RegisterContactStore();

// The longest text a contact property holds (names, file-as, company,
// numbers): the phone's databases keep at most 65,471 bytes in one property
// (CEDB_MAXPROPDATASIZE), the terminating NUL included. Save refuses a
// longer one with E_INVALIDARG; a derived file-as text is cut to fit.
inline constexpr size_t kMaxContactText = 32734;

// Stores a new contact; an empty fileAs gets the store's default. Returns
// the new oid, or 0 when the store could not be written or a text is
// longer than kMaxContactText.
long AddContact(const ContactRecord& contact);

// Every contact, in the order they were stored. False when the store
// cannot be read.
bool ListContacts(std::vector<ContactRecord>* contacts);

// AddContact calls of this thread between Begin and Commit form one
// transaction: other processes see all of them or none, and Rollback
// undoes them.
bool BeginContactBatch();
bool CommitContactBatch();
void RollbackContactBatch();

// The FileAs of the contact that FindMatchingContact finds for a number,
// or empty when none matches (or there is no store).
std::u16string ContactNameForNumber(std::u16string_view number);

}  // namespace host
