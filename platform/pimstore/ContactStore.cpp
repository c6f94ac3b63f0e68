// The contact database of the device on SQLite.
#include "ContactStore.h"

#include "PhoneDigits.h"

#include <coredll_host.h>
#include <device_store.h>

#include <algorithm>
#include <mutex>

namespace pim {

namespace {

// Texts are kept as UTF-16LE blobs, so that whatever a BSTR held (lone
// surrogates included) comes back unchanged. Oids are never reused, so an
// oid kept by a caller cannot come to name a newer contact.
const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS contacts(
    oid INTEGER PRIMARY KEY AUTOINCREMENT,
    first_name BLOB NOT NULL,
    last_name BLOB NOT NULL,
    file_as BLOB NOT NULL,
    file_as_explicit INTEGER NOT NULL,
    company_name BLOB NOT NULL);
CREATE TABLE IF NOT EXISTS phones(
    contact INTEGER NOT NULL REFERENCES contacts(oid) ON DELETE CASCADE,
    propid INTEGER NOT NULL,
    number BLOB NOT NULL,
    reversed TEXT NOT NULL,
    PRIMARY KEY(contact, propid));
CREATE INDEX IF NOT EXISTS phones_by_digits ON phones(reversed, contact, propid);
)sql";

const char kLoadContact[] =
    "SELECT first_name, last_name, file_as, file_as_explicit, company_name FROM contacts WHERE oid = ?";
const char kLoadPhones[] = "SELECT propid, number FROM phones WHERE contact = ?";
const char kInsertContact[] =
    "INSERT INTO contacts(first_name, last_name, file_as, file_as_explicit, company_name) VALUES (?, ?, ?, ?, ?)";
const char kUpdateContact[] =
    "UPDATE contacts SET first_name = ?, last_name = ?, file_as = ?, file_as_explicit = ?, company_name = ? "
    "WHERE oid = ?";
const char kDeletePhones[] = "DELETE FROM phones WHERE contact = ?";
const char kInsertPhone[] = "INSERT INTO phones(contact, propid, number, reversed) VALUES (?, ?, ?, ?)";
const char kDeleteContact[] = "DELETE FROM contacts WHERE oid = ?";
const char kListContacts[] =
    "SELECT oid, first_name, last_name, file_as, file_as_explicit, company_name FROM contacts ORDER BY oid";
const char kListPhones[] = "SELECT contact, propid, number FROM phones ORDER BY contact";

// The lookups name their index: without statistics the planner could walk
// the table in (contact, propid) order to spare itself the sort, which
// would make a lookup cost as much as the whole table.
const char kFirstInRange[] =
    "SELECT contact, propid FROM phones INDEXED BY phones_by_digits "
    "WHERE reversed >= ? AND reversed < ? ORDER BY contact, propid LIMIT 1";
const char kExact[] =
    "SELECT contact, propid FROM phones INDEXED BY phones_by_digits "
    "WHERE reversed = ? ORDER BY contact, propid LIMIT 1";
const char kNearestBelow[] =
    "SELECT reversed FROM phones INDEXED BY phones_by_digits "
    "WHERE reversed >= ? AND reversed <= ? ORDER BY reversed DESC LIMIT 1";
const char kNearestAbove[] =
    "SELECT reversed FROM phones INDEXED BY phones_by_digits "
    "WHERE reversed > ? AND reversed < ? ORDER BY reversed LIMIT 1";

std::vector<uint8_t> Bytes(const std::u16string& text) {
    std::vector<uint8_t> out(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return out;
}

std::u16string FromBytes(const std::vector<uint8_t>& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

void BindText(host::Statement& st, int index, const std::u16string& text) {
    std::vector<uint8_t> bytes = Bytes(text);
    st.BindBlob(index, bytes.data(), bytes.size());
}

// A cached statement is reset when its use ends, so that it holds no read
// lock between calls.
class Use {
public:
    explicit Use(host::Statement& st) : st_(st) {}
    ~Use() { st_.Reset(); }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;

private:
    host::Statement& st_;
};

// One snapshot for the statements of a read (a contact and its numbers, the
// probes of a lookup), unless this thread's batch already holds one.
class ReadScope {
public:
    explicit ReadScope(host::Database& db) : db_(db), lock_(db.lock()) {
        if (!db_.InTransaction()) began_ = db_.Exec("BEGIN");
    }
    ~ReadScope() {
        if (began_) db_.Exec("COMMIT");
    }
    ReadScope(const ReadScope&) = delete;
    ReadScope& operator=(const ReadScope&) = delete;

private:
    host::Database& db_;
    std::unique_lock<std::recursive_mutex> lock_;
    bool began_ = false;
};

// A step that found no row because the statement failed.
bool Failed(const host::Statement& st) { return st.error() != SQLITE_OK && st.error() != SQLITE_DONE; }

}  // namespace

Store::Store(std::unique_ptr<host::Database> db, unsigned generation) : db_(std::move(db)), generation_(generation) {}

host::Statement& Store::Cached(const char* sql) {
    auto it = statements_.find(sql);
    // A statement that once failed keeps its error; it is prepared afresh.
    if (it != statements_.end() && (!it->second.ok() || Failed(it->second))) {
        statements_.erase(it);
        it = statements_.end();
    }
    if (it == statements_.end()) it = statements_.emplace(sql, db_->Prepare(sql)).first;
    return it->second;
}

HRESULT Store::Load(int64_t oid, ContactData* contact) {
    ReadScope scope(*db_);
    host::Statement& row = Cached(kLoadContact);
    Use useRow(row);
    row.Bind(1, oid);
    if (!row.Step()) return Failed(row) || !row.ok() ? E_FAIL : S_FALSE;
    ContactData loaded;
    loaded.oid = oid;
    loaded.firstName = FromBytes(row.Blob(0));
    loaded.lastName = FromBytes(row.Blob(1));
    loaded.fileAs = FromBytes(row.Blob(2));
    loaded.fileAsExplicit = row.Int(3) != 0;
    loaded.companyName = FromBytes(row.Blob(4));
    host::Statement& phones = Cached(kLoadPhones);
    Use usePhones(phones);
    phones.Bind(1, oid);
    while (phones.Step()) {
        int slot = PhoneSlot(static_cast<CEPROPID>(phones.Int(0)));
        if (slot >= 0) loaded.phones[slot] = FromBytes(phones.Blob(1));
    }
    if (Failed(phones) || !phones.ok()) return E_FAIL;
    *contact = std::move(loaded);
    return S_OK;
}

bool Store::WritePhones(const ContactData& contact, bool replace) {
    if (replace) {
        host::Statement& clear = Cached(kDeletePhones);
        Use useClear(clear);
        clear.Bind(1, contact.oid);
        if (!clear.Run()) return false;
    }
    host::Statement& insert = Cached(kInsertPhone);
    for (size_t i = 0; i < kPhoneCount; ++i) {
        if (contact.phones[i].empty()) continue;
        Use useInsert(insert);
        insert.Bind(1, contact.oid);
        insert.Bind(2, static_cast<int64_t>(kPhoneProperties[i]));
        BindText(insert, 3, contact.phones[i]);
        insert.Bind(4, ReversedDigits(contact.phones[i]));
        if (!insert.Run()) return false;
    }
    return true;
}

HRESULT Store::Save(ContactData* contact) {
    // The phone's databases refuse a property longer than they hold.
    if (!TextsFit(*contact)) return E_INVALIDARG;
    ContactData saved = *contact;
    if (!saved.fileAsExplicit) saved.fileAs = DefaultFileAs(saved.firstName, saved.lastName);
    host::Transaction tx(*db_);
    if (!tx.ok()) return E_FAIL;
    host::Statement& st = Cached(saved.oid == 0 ? kInsertContact : kUpdateContact);
    {
        Use use(st);
        BindText(st, 1, saved.firstName);
        BindText(st, 2, saved.lastName);
        BindText(st, 3, saved.fileAs);
        st.Bind(4, saved.fileAsExplicit ? 1 : 0);
        BindText(st, 5, saved.companyName);
        if (saved.oid != 0) st.Bind(6, saved.oid);
        if (!st.Run()) return E_FAIL;
    }
    const bool inserted = saved.oid == 0;
    if (inserted) {
        saved.oid = db_->LastInsertId();
    } else if (db_->Changes() == 0) {
        tx.Commit();
        return S_FALSE;
    }
    if (!WritePhones(saved, !inserted) || !tx.Commit()) return E_FAIL;
    *contact = std::move(saved);
    return S_OK;
}

HRESULT Store::Remove(int64_t oid) {
    host::Transaction tx(*db_);
    if (!tx.ok()) return E_FAIL;
    host::Statement& st = Cached(kDeleteContact);
    Use use(st);
    st.Bind(1, oid);
    if (!st.Run()) return E_FAIL;
    bool removed = db_->Changes() > 0;
    if (!tx.Commit()) return E_FAIL;
    return removed ? S_OK : S_FALSE;
}

HRESULT Store::List(std::vector<ContactData>* contacts) {
    ReadScope scope(*db_);
    std::vector<ContactData> all;
    std::map<int64_t, size_t> byOid;
    host::Statement& rows = Cached(kListContacts);
    Use useRows(rows);
    while (rows.Step()) {
        ContactData c;
        c.oid = rows.Int(0);
        c.firstName = FromBytes(rows.Blob(1));
        c.lastName = FromBytes(rows.Blob(2));
        c.fileAs = FromBytes(rows.Blob(3));
        c.fileAsExplicit = rows.Int(4) != 0;
        c.companyName = FromBytes(rows.Blob(5));
        byOid[c.oid] = all.size();
        all.push_back(std::move(c));
    }
    if (Failed(rows) || !rows.ok()) return E_FAIL;
    host::Statement& phones = Cached(kListPhones);
    Use usePhones(phones);
    while (phones.Step()) {
        auto it = byOid.find(phones.Int(0));
        int slot = PhoneSlot(static_cast<CEPROPID>(phones.Int(1)));
        if (it != byOid.end() && slot >= 0) all[it->second].phones[slot] = FromBytes(phones.Blob(2));
    }
    if (Failed(phones) || !phones.ok()) return E_FAIL;
    *contacts = std::move(all);
    return S_OK;
}

HRESULT Store::FirstWithDigits(std::string_view low, std::string_view high, int64_t* oid, CEPROPID* propid) {
    host::Statement& st = Cached(kFirstInRange);
    Use use(st);
    st.Bind(1, low).Bind(2, high);
    if (!st.Step()) return Failed(st) || !st.ok() ? E_FAIL : S_FALSE;
    *oid = st.Int(0);
    *propid = static_cast<CEPROPID>(st.Int(1));
    return S_OK;
}

HRESULT Store::FindByNumber(std::u16string_view number, int64_t* oid, CEPROPID* propid) {
    const std::string key = ReversedDigits(number);
    if (key.empty()) return S_FALSE;
    ReadScope scope(*db_);
    if (key.size() < kTailDigits) {
        host::Statement& st = Cached(kExact);
        Use use(st);
        st.Bind(1, key);
        if (!st.Step()) return Failed(st) || !st.ok() ? E_FAIL : S_FALSE;
        *oid = st.Int(0);
        *propid = static_cast<CEPROPID>(st.Int(1));
        return S_OK;
    }
    // ':' sorts right after '9', so [p, p + ":") holds exactly the digit
    // strings that begin with p. Of the numbers agreeing on the last
    // kTailDigits digits, the one agreeing longest sits right below or right
    // above the key in the index.
    const std::string tail = key.substr(0, kTailDigits);
    size_t longest = 0;
    host::Statement& below = Cached(kNearestBelow);
    {
        Use use(below);
        below.Bind(1, tail).Bind(2, key);
        if (below.Step())
            longest = CommonPrefix(key, below.Text(0));
        else if (Failed(below) || !below.ok())
            return E_FAIL;
    }
    host::Statement& above = Cached(kNearestAbove);
    {
        Use use(above);
        above.Bind(1, key).Bind(2, tail + ":");
        if (above.Step())
            longest = std::max(longest, CommonPrefix(key, above.Text(0)));
        else if (Failed(above) || !above.ok())
            return E_FAIL;
    }
    if (longest < kTailDigits) return S_FALSE;
    // Every number sharing that run agrees exactly that far: the first
    // stored of them wins.
    const std::string run = key.substr(0, longest);
    return FirstWithDigits(run, run + ":", oid, propid);
}

std::shared_ptr<Store> CurrentStore() {
    static host::DeviceStore<Store> current;
    return current.Get([](unsigned generation) -> std::shared_ptr<Store> {
        std::string path = host::DevicePath("contacts.db");
        if (path.empty()) return nullptr;
        std::unique_ptr<host::Database> db = host::Database::Open(path, kSchema, nullptr);
        if (!db) return nullptr;
        return std::make_shared<Store>(std::move(db), generation);
    });
}

}  // namespace pim
