// Open registry keys of the process: HKEY values and the keys they name.
#pragma once

#include "registry/RegistryStore.h"

namespace registry {

// What an HKEY (a root or an open key) stands for on the current device.
struct KeyRef {
    std::shared_ptr<Store> store;
    KeyId id = 0;
};

// ERROR_SUCCESS and *ref, or ERROR_INVALID_HANDLE for a handle that is not
// open (or belongs to a device opened before the current one), or the
// reason the device's registry cannot be used.
LONG Resolve(HKEY key, KeyRef* ref);

// A new handle for the key; handle values are never reused.
HKEY NewHandle(const KeyRef& ref);
// False for a handle that is not open.
bool ReleaseHandle(HKEY key);

// Where the last RegEnumKeyExW or RegEnumValueW on a handle stopped, so that
// a walk in index order continues from the row it reached instead of
// counting up to its index again. It holds while the store and the key's
// version are the ones it was taken with.
enum class Walk { Subkeys, Values };
struct Cursor {
    unsigned generation = 0;
    int64_t version = -1;
    DWORD index = 0;
    RowId row = 0;
};
Cursor LastEnumerated(HKEY key, Walk walk);
void RememberEnumerated(HKEY key, Walk walk, const Cursor& cursor);

}  // namespace registry
