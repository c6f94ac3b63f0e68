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

}  // namespace registry
