// The contact database of the device (contacts.db in the device folder):
// one row per contact and one per phone number, each number indexed by its
// reversed digits so that FindMatchingContact costs a few index probes
// however many contacts there are.
#pragma once

#include "ContactData.h"

#include <sqlite_db.h>

#include <map>
#include <memory>
#include <string_view>
#include <vector>

namespace pim {

class Store {
public:
    Store(std::unique_ptr<host::Database> db, unsigned generation);

    host::Database& db() { return *db_; }
    // The device generation the store was opened for.
    unsigned generation() const { return generation_; }

    // S_OK with the contact, S_FALSE when there is no such oid, E_FAIL when
    // the database cannot be read.
    HRESULT Load(int64_t oid, ContactData* contact);
    // Inserts a contact without an oid, updates one with it (S_FALSE when it
    // no longer exists); fills in the default file-as text. One transaction,
    // inside this thread's batch when one is open.
    HRESULT Save(ContactData* contact);
    HRESULT Remove(int64_t oid);
    HRESULT List(std::vector<ContactData>* contacts);
    // The caller-identification lookup: S_OK with the contact and the phone
    // property that matched, S_FALSE when no number matches.
    HRESULT FindByNumber(std::u16string_view number, int64_t* oid, CEPROPID* propid);

private:
    // Statements are prepared once per connection: lookups run once per
    // incoming message and an import writes thousands of rows.
    host::Statement& Cached(const char* sql);
    HRESULT FirstWithDigits(std::string_view low, std::string_view high, int64_t* oid, CEPROPID* propid);
    // Writes the contact's numbers, replacing those stored before.
    bool WritePhones(const ContactData& contact, bool replace);

    std::unique_ptr<host::Database> db_;
    unsigned generation_;
    std::map<const char*, host::Statement> statements_;
};

// The store of the open device, opened on first use and reopened when
// another device is opened; null when no device is open or the database
// cannot be opened.
std::shared_ptr<Store> CurrentStore();

}  // namespace pim
