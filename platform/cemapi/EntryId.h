// Entry identifiers of the store's objects. The platform leaves their
// content to the store: ours are the four flag bytes, the store's own
// identity (so that an identifier of another device's store is refused),
// the kind of object and its row.
#pragma once

#include <mapidefs.h>

#include <array>
#include <cstdint>
#include <vector>

namespace cemapi {

using RowId = int64_t;
using StoreUid = std::array<uint8_t, 16>;

// The kinds are the object types the platform reports for them.
struct ObjectRef {
    ULONG kind = 0;  // MAPI_STORE, MAPI_FOLDER or MAPI_MESSAGE
    RowId row = 0;
    bool operator==(const ObjectRef&) const = default;
};

enum class ParseResult { Ok, Malformed, OtherStore };

constexpr size_t kEntryIdSize = 4 + 16 + 4 + 8;

std::vector<BYTE> MakeEntryId(const StoreUid& uid, ObjectRef ref);
ParseResult ParseEntryId(const StoreUid& uid, ULONG cb, const ENTRYID* id, ObjectRef* ref);

}  // namespace cemapi
