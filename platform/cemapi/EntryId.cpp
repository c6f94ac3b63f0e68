#include "EntryId.h"

#include <cstring>

namespace cemapi {

namespace {

void PutLe(BYTE* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out[i] = static_cast<BYTE>(value >> (8 * i));
}

uint64_t GetLe(const BYTE* in, int bytes) {
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i) value |= static_cast<uint64_t>(in[i]) << (8 * i);
    return value;
}

}  // namespace

std::vector<BYTE> MakeEntryId(const StoreUid& uid, ObjectRef ref) {
    std::vector<BYTE> out(kEntryIdSize, 0);
    std::memcpy(out.data() + 4, uid.data(), uid.size());
    PutLe(out.data() + 20, ref.kind, 4);
    PutLe(out.data() + 24, static_cast<uint64_t>(ref.row), 8);
    return out;
}

ParseResult ParseEntryId(const StoreUid& uid, ULONG cb, const ENTRYID* id, ObjectRef* ref) {
    if (!id || cb != kEntryIdSize) return ParseResult::Malformed;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(id);
    // The flag bytes of a long-term identifier are all zero.
    if (bytes[0] || bytes[1] || bytes[2] || bytes[3]) return ParseResult::Malformed;
    if (std::memcmp(bytes + 4, uid.data(), uid.size()) != 0) return ParseResult::OtherStore;
    ObjectRef parsed{static_cast<ULONG>(GetLe(bytes + 20, 4)), static_cast<RowId>(GetLe(bytes + 24, 8))};
    if (parsed.kind != MAPI_STORE && parsed.kind != MAPI_FOLDER && parsed.kind != MAPI_MESSAGE)
        return ParseResult::Malformed;
    if (parsed.row < 0) return ParseResult::Malformed;
    *ref = parsed;
    return ParseResult::Ok;
}

}  // namespace cemapi
