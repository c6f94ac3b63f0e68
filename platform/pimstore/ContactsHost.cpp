// The host API of the contact store (pimstore_host.h).
#include "ContactStore.h"

#include <coredll_host.h>
#include <device_store.h>
#include <objbase.h>
#include <pimstore_host.h>

#include <vector>

namespace {

using ContactBatches = host::ThreadBatches<pim::Store>;

std::shared_ptr<pim::Store> StoreForWriting() {
    if (std::shared_ptr<pim::Store> batch = ContactBatches::Innermost()) return batch;
    return pim::CurrentStore();
}

}  // namespace

namespace host {

bool RegisterContactStore() {
    WCHAR key[6 + CHARS_IN_GUID + 16] = u"CLSID\\";
    StringFromGUID2(CLSID_Application, key + 6, CHARS_IN_GUID);
    wcscat(key, u"\\InprocServer32");
    HKEY hkey = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, key, 0, nullptr, 0, 0, nullptr, &hkey, nullptr) != ERROR_SUCCESS)
        return false;
    static const WCHAR kModule[] = u"pimstore.dll";
    LONG rc = RegSetValueExW(hkey, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(kModule), sizeof kModule);
    RegCloseKey(hkey);
    return rc == ERROR_SUCCESS;
}

long AddContact(const ContactRecord& contact) {
    std::shared_ptr<pim::Store> store = StoreForWriting();
    if (!store) return 0;
    pim::ContactData data;
    data.firstName = contact.firstName;
    data.lastName = contact.lastName;
    data.fileAs = contact.fileAs;
    data.fileAsExplicit = !contact.fileAs.empty();
    data.companyName = contact.companyName;
    data.phones = contact.phones;
    if (store->Save(&data) != S_OK) return 0;
    return static_cast<long>(data.oid);
}

bool ListContacts(std::vector<ContactRecord>* contacts) {
    std::shared_ptr<pim::Store> store = pim::CurrentStore();
    std::vector<pim::ContactData> all;
    if (!store || store->List(&all) != S_OK) return false;
    contacts->clear();
    for (pim::ContactData& data : all) {
        ContactRecord record;
        record.oid = static_cast<long>(data.oid);
        record.firstName = std::move(data.firstName);
        record.lastName = std::move(data.lastName);
        record.fileAs = std::move(data.fileAs);
        record.companyName = std::move(data.companyName);
        record.phones = std::move(data.phones);
        contacts->push_back(std::move(record));
    }
    return true;
}

bool BeginContactBatch() { return ContactBatches::Begin(StoreForWriting()); }

bool CommitContactBatch() { return ContactBatches::Commit(); }

void RollbackContactBatch() { ContactBatches::Rollback(); }

std::u16string ContactNameForNumber(std::u16string_view number) {
    std::shared_ptr<pim::Store> store = pim::CurrentStore();
    if (!store) return {};
    int64_t oid = 0;
    CEPROPID propid = 0;
    pim::ContactData data;
    if (store->FindByNumber(number, &oid, &propid) != S_OK || store->Load(oid, &data) != S_OK) return {};
    return data.fileAs;
}

}  // namespace host
