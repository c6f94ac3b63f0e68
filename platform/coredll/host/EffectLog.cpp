// The log of outside effects on SQLite (effects.db in the device folder).
#include <device_store.h>
#include <effect_log.h>
#include <sqlite_db.h>

#include <string>

namespace {

// Text fields are kept as UTF-16LE blobs, so that a message box's text
// survives whatever it holds.
const char kSchema[] = R"sql(
CREATE TABLE IF NOT EXISTS effects(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    kind TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS effects_by_kind ON effects(kind, id);
CREATE TABLE IF NOT EXISTS effect_fields(
    effect INTEGER NOT NULL REFERENCES effects(id),
    position INTEGER NOT NULL,
    name TEXT NOT NULL,
    type INTEGER NOT NULL,
    number INTEGER NOT NULL DEFAULT 0,
    text BLOB,
    PRIMARY KEY(effect, position)) WITHOUT ROWID;
)sql";

class EffectStore {
public:
    EffectStore(std::unique_ptr<host::Database> db, int64_t sessionStart)
        : db_(std::move(db)), sessionStart_(sessionStart) {}
    host::Database& db() { return *db_; }
    int64_t sessionStart() const { return sessionStart_; }

private:
    std::unique_ptr<host::Database> db_;
    int64_t sessionStart_;
};

std::shared_ptr<EffectStore> CurrentLog() {
    static host::DeviceStore<EffectStore> current;
    return current.Get([](unsigned) -> std::shared_ptr<EffectStore> {
        std::string path = host::DevicePath("effects.db");
        if (path.empty()) return nullptr;
        std::unique_ptr<host::Database> db = host::Database::Open(path, kSchema, nullptr);
        if (!db) return nullptr;
        host::Statement newest = db->Prepare("SELECT coalesce(max(id), 0) FROM effects");
        if (!newest.Step()) return nullptr;
        int64_t sessionStart = newest.Int(0);
        return std::make_shared<EffectStore>(std::move(db), sessionStart);
    });
}

std::vector<uint8_t> Utf16Bytes(const std::u16string& text) {
    std::vector<uint8_t> out(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        out[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
        out[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return out;
}

std::u16string FromUtf16Bytes(const std::vector<uint8_t>& bytes) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return out;
}

// Effects above after, oldest first, of one kind (every kind when empty);
// newestOnly keeps only the newest one.
bool Read(std::vector<host::Effect>* effects, std::string_view kind, int64_t after, bool newestOnly) {
    effects->clear();
    std::shared_ptr<EffectStore> log = CurrentLog();
    if (!log) return false;
    std::lock_guard<std::recursive_mutex> guard(log->db().lock());
    std::string chosen = newestOnly
                             ? "(SELECT id, kind FROM effects WHERE id > ?1 AND kind = ?2 ORDER BY id DESC LIMIT 1)"
                         : kind.empty() ? "(SELECT id, kind FROM effects WHERE id > ?1)"
                                        : "(SELECT id, kind FROM effects WHERE id > ?1 AND kind = ?2)";
    host::Statement st = log->db().Prepare("SELECT e.id, e.kind, f.name, f.type, f.number, f.text FROM " + chosen +
                                           " e LEFT JOIN effect_fields f ON f.effect = e.id ORDER BY e.id, f.position");
    st.Bind(1, after);
    if (!kind.empty()) st.Bind(2, kind);
    while (st.Step()) {
        int64_t id = st.Int(0);
        if (effects->empty() || effects->back().id != id) {
            effects->push_back(host::Effect{id, st.Text(1), {}});
        }
        if (st.IsNull(2)) continue;
        host::EffectField field;
        field.name = st.Text(2);
        field.type = static_cast<host::EffectField::Type>(st.Int(3));
        field.number = st.Int(4);
        if (field.type == host::EffectField::Type::Text) field.text = FromUtf16Bytes(st.Blob(5));
        effects->back().fields.push_back(std::move(field));
    }
    return st.ok() && st.error() == SQLITE_OK;
}

}  // namespace

namespace host {

const EffectField* Effect::Field(std::string_view name) const {
    for (const EffectField& field : fields)
        if (field.name == name) return &field;
    return nullptr;
}

int64_t AppendEffect(std::string_view kind, const std::vector<EffectField>& fields) {
    std::shared_ptr<EffectStore> log = CurrentLog();
    if (!log) return 0;
    std::lock_guard<std::recursive_mutex> guard(log->db().lock());
    Transaction transaction(log->db());
    if (!transaction.ok()) return 0;
    Statement effect = log->db().Prepare("INSERT INTO effects(kind) VALUES (?)");
    if (!effect.Bind(1, kind).Run()) return 0;
    int64_t id = log->db().LastInsertId();
    Statement field = log->db().Prepare(
        "INSERT INTO effect_fields(effect, position, name, type, number, text) VALUES (?, ?, ?, ?, ?, ?)");
    for (size_t i = 0; i < fields.size(); ++i) {
        const EffectField& f = fields[i];
        field.Reset();
        field.Bind(1, id).Bind(2, static_cast<int64_t>(i)).Bind(3, f.name);
        field.Bind(4, static_cast<int64_t>(f.type)).Bind(5, f.number);
        if (f.type == EffectField::Type::Text) {
            std::vector<uint8_t> bytes = Utf16Bytes(f.text);
            // An empty blob, not NULL: an empty text is still a text.
            static const uint8_t kNothing = 0;
            field.BindBlob(6, bytes.empty() ? &kNothing : bytes.data(), bytes.size());
        } else {
            field.BindNull(6);
        }
        if (!field.Run()) return 0;
    }
    return transaction.Commit() ? id : 0;
}

bool ReadEffects(std::vector<Effect>* effects, std::string_view kind, int64_t after) {
    return Read(effects, kind, after, false);
}

std::optional<Effect> LastEffect(std::string_view kind, int64_t after) {
    std::vector<Effect> effects;
    if (!Read(&effects, kind, after, true) || effects.empty()) return std::nullopt;
    return std::move(effects.back());
}

int CountEffects(std::string_view kind, int64_t after) {
    std::shared_ptr<EffectStore> log = CurrentLog();
    if (!log) return 0;
    std::lock_guard<std::recursive_mutex> guard(log->db().lock());
    Statement st = log->db().Prepare("SELECT count(*) FROM effects WHERE kind = ? AND id > ?");
    st.Bind(1, kind).Bind(2, after);
    return st.Step() ? static_cast<int>(st.Int(0)) : 0;
}

int64_t SessionStartEffect() {
    std::shared_ptr<EffectStore> log = CurrentLog();
    return log ? log->sessionStart() : 0;
}

}  // namespace host
