// The table of open registry keys.
#include "registry/RegistryHandles.h"

#include <unordered_map>

namespace registry {

namespace {

struct OpenKey {
    unsigned generation;
    KeyId id;
};

std::mutex g_lock;
std::unordered_map<uintptr_t, OpenKey> g_keys;
// By handle value, roots included.
std::unordered_map<uintptr_t, Cursor[2]> g_cursors;
// Apart from the kernel's handle values, so that an HKEY handed to
// CloseHandle (or a HANDLE to RegCloseKey) names nothing.
uintptr_t g_next = 0x40000000;

}  // namespace

LONG Resolve(HKEY key, KeyRef* ref) {
    KeyId id = RootId(key);
    unsigned generation = 0;
    if (!id) {
        std::lock_guard<std::mutex> guard(g_lock);
        auto it = g_keys.find(reinterpret_cast<uintptr_t>(key));
        if (it == g_keys.end()) return ERROR_INVALID_HANDLE;
        id = it->second.id;
        generation = it->second.generation;
    }
    LONG error = ERROR_SUCCESS;
    std::shared_ptr<Store> store = CurrentStore(&error);
    if (!store) return error;
    if (RootId(key) == 0 && store->generation() != generation) return ERROR_INVALID_HANDLE;
    ref->store = std::move(store);
    ref->id = id;
    return ERROR_SUCCESS;
}

HKEY NewHandle(const KeyRef& ref) {
    std::lock_guard<std::mutex> guard(g_lock);
    uintptr_t value = g_next;
    g_next += 4;
    g_keys.emplace(value, OpenKey{ref.store->generation(), ref.id});
    return reinterpret_cast<HKEY>(value);
}

bool ReleaseHandle(HKEY key) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_cursors.erase(reinterpret_cast<uintptr_t>(key));
    return g_keys.erase(reinterpret_cast<uintptr_t>(key)) > 0;
}

Cursor LastEnumerated(HKEY key, Walk walk) {
    std::lock_guard<std::mutex> guard(g_lock);
    auto it = g_cursors.find(reinterpret_cast<uintptr_t>(key));
    return it == g_cursors.end() ? Cursor{} : it->second[static_cast<int>(walk)];
}

void RememberEnumerated(HKEY key, Walk walk, const Cursor& cursor) {
    std::lock_guard<std::mutex> guard(g_lock);
    g_cursors[reinterpret_cast<uintptr_t>(key)][static_cast<int>(walk)] = cursor;
}

}  // namespace registry
