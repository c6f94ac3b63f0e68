// The registry functions of coredll, with Windows CE's behaviour: keys are
// opened without access checks, RegDeleteKeyW removes a whole subtree, and
// value data come back exactly as they were stored.
#include "registry/RegistryHandles.h"

#include <coredll_host.h>

#include <cstring>
#include <type_traits>

using registry::KeyId;
using registry::KeyRef;
using registry::Name;
using registry::ReadScope;
using registry::Store;
using registry::WriteScope;

namespace {

// The platform's limit for a key name (one step of a path) and a value name.
constexpr size_t kMaxName = 255;

bool Faulted(const char* function, LONG* result) {
    long configured = 0;
    if (!host::ShouldFail(function, &configured)) return false;
    *result = static_cast<LONG>(configured);
    return true;
}

Name ToName(LPCWSTR text) { return text ? Name(text, wcslen(text)) : Name(); }

// Splits a subkey path into key names. NULL and "" name the key itself. A
// leading backslash is accepted ("\CLSID\{...}" as callers write it), and a
// trailing one is ignored; an empty name inside the path, or one longer
// than the platform allows, makes the path invalid.
bool SplitPath(LPCWSTR path, std::vector<Name>* names) {
    names->clear();
    if (!path) return true;
    const WCHAR* p = path;
    if (*p == u'\\') ++p;
    while (*p) {
        const WCHAR* end = p;
        while (*end && *end != u'\\') ++end;
        if (end == p || static_cast<size_t>(end - p) > kMaxName) return false;
        names->emplace_back(p, end);
        p = *end ? end + 1 : end;
    }
    return true;
}

// The error for something not found, unless a statement failed on the way.
LONG ReadResult(Store& store, LONG notFound) { return store.failed() ? ERROR_CANTREAD : notFound; }
LONG WriteResult(Store& store, LONG notFound) { return store.failed() ? ERROR_CANTWRITE : notFound; }

// Walks down from ref.id; false (ref.id = 0) when a name is missing.
bool Walk(Store& store, KeyRef& ref, const std::vector<Name>& names) {
    for (const Name& name : names) {
        ref.id = store.FindChild(ref.id, registry::Fold(name));
        if (!ref.id) return false;
    }
    return true;
}

void CopyName(const Name& name, LPWSTR out) {
    if (!name.empty()) std::memcpy(out, name.data(), name.size() * sizeof(WCHAR));
    out[name.size()] = 0;
}

// The entry at index of the key's subkeys (Row = Subkey) or values (Row =
// Value). A walk in index order goes on straight after the row the handle's
// last enumeration returned (or at it again, as a caller does after
// ERROR_MORE_DATA), so that it costs the same at every index; any other
// index is counted to.
template <class Row>
LONG Enumerated(HKEY hKey, DWORD index, std::optional<Row>* out) {
    constexpr registry::Walk walk = std::is_same_v<Row, registry::Subkey> ? registry::Walk::Subkeys
                                                                          : registry::Walk::Values;
    KeyRef ref;
    LONG rc = registry::Resolve(hKey, &ref);
    if (rc != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    ReadScope scope(store);
    if (!store.KeyExists(ref.id)) return ReadResult(store, ERROR_KEY_DELETED);
    const int64_t version = store.Version(ref.id);
    Store::Position at{index, 0};
    registry::Cursor last = registry::LastEnumerated(hKey, walk);
    if (last.generation == store.generation() && last.version == version) {
        if (index == last.index)
            at.from = last.row;
        else if (index == last.index + 1)
            at.from = last.row + 1;
    }
    registry::RowId row = 0;
    if constexpr (walk == registry::Walk::Subkeys)
        *out = store.SubkeyAt(ref.id, at, &row);
    else
        *out = store.ValueAt(ref.id, at, &row);
    if (!*out) return ReadResult(store, ERROR_NO_MORE_ITEMS);
    registry::RememberEnumerated(hKey, walk, {store.generation(), version, index, row});
    return ERROR_SUCCESS;
}

// Windows CE keeps no write times.
void ClearTime(PFILETIME time) {
    if (time) *time = FILETIME{0, 0};
}

}  // namespace

extern "C" {

LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD ulOptions, REGSAM samDesired, PHKEY phkResult) {
    (void)ulOptions;
    (void)samDesired;  // Windows CE has no key security
    LONG rc;
    if (Faulted("RegOpenKeyExW", &rc)) return rc;
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    std::vector<Name> names;
    if (!SplitPath(lpSubKey, &names)) return ERROR_INVALID_PARAMETER;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    {
        Store& store = *ref.store;
        ReadScope scope(store);
        if (!store.KeyExists(ref.id)) return ReadResult(store, ERROR_KEY_DELETED);
        if (!Walk(store, ref, names)) return ReadResult(store, ERROR_FILE_NOT_FOUND);
    }
    *phkResult = registry::NewHandle(ref);
    return ERROR_SUCCESS;
}

LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD Reserved, LPWSTR lpClass, DWORD dwOptions,
                            REGSAM samDesired, LPSECURITY_ATTRIBUTES lpSecurityAttributes, PHKEY phkResult,
                            LPDWORD lpdwDisposition) {
    (void)Reserved;
    (void)dwOptions;  // every key persists
    (void)samDesired;
    (void)lpSecurityAttributes;
    LONG rc;
    if (Faulted("RegCreateKeyExW", &rc)) return rc;
    if (!phkResult) return ERROR_INVALID_PARAMETER;
    std::vector<Name> names;
    if (!SplitPath(lpSubKey, &names)) return ERROR_INVALID_PARAMETER;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    DWORD disposition = REG_OPENED_EXISTING_KEY;
    {
        Store& store = *ref.store;
        WriteScope scope(store);
        if (!scope.ok()) return ERROR_CANTWRITE;
        if (!store.KeyExists(ref.id)) return WriteResult(store, ERROR_KEY_DELETED);
        for (size_t i = 0; i < names.size() && !store.failed(); ++i) {
            KeyId child = store.FindChild(ref.id, registry::Fold(names[i]));
            if (!child && !store.failed()) {
                // The class belongs to the key asked for, not to the keys made on the way.
                child = store.CreateChild(ref.id, names[i], i + 1 == names.size() ? ToName(lpClass) : Name());
                disposition = REG_CREATED_NEW_KEY;
            }
            ref.id = child;
        }
        if (!scope.Finish()) return ERROR_CANTWRITE;
    }
    *phkResult = registry::NewHandle(ref);
    if (lpdwDisposition) *lpdwDisposition = disposition;
    return ERROR_SUCCESS;
}

LONG WINAPI RegCloseKey(HKEY hKey) {
    LONG rc;
    if (Faulted("RegCloseKey", &rc)) return rc;
    if (registry::RootId(hKey)) return ERROR_SUCCESS;
    return registry::ReleaseHandle(hKey) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD lpReserved, LPDWORD lpType, LPBYTE lpData,
                             LPDWORD lpcbData) {
    (void)lpReserved;
    LONG rc;
    if (Faulted("RegQueryValueExW", &rc)) return rc;
    if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    ReadScope scope(store);
    if (!store.KeyExists(ref.id)) return ReadResult(store, ERROR_KEY_DELETED);
    std::optional<registry::Value> value = store.GetValue(ref.id, registry::Fold(ToName(lpValueName)));
    if (!value) return ReadResult(store, ERROR_FILE_NOT_FOUND);
    DWORD size = static_cast<DWORD>(value->data.size());
    if (lpType) *lpType = value->type;
    if (lpData) {
        // Too small a buffer is left as it was: callers preset a variable
        // with a default and rely on it surviving a longer value.
        if (*lpcbData < size) {
            *lpcbData = size;
            return ERROR_MORE_DATA;
        }
        if (size) std::memcpy(lpData, value->data.data(), size);
    }
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
}

LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD Reserved, DWORD dwType, const BYTE* lpData,
                           DWORD cbData) {
    (void)Reserved;
    LONG rc;
    if (Faulted("RegSetValueExW", &rc)) return rc;
    Name name = ToName(lpValueName);
    if (name.size() > kMaxName || (!lpData && cbData)) return ERROR_INVALID_PARAMETER;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    WriteScope scope(store);
    if (!scope.ok()) return ERROR_CANTWRITE;
    if (!store.KeyExists(ref.id)) return WriteResult(store, ERROR_KEY_DELETED);
    store.SetValue(ref.id, name, dwType, lpData, cbData);
    return scope.Finish() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
    LONG rc;
    if (Faulted("RegDeleteKeyW", &rc)) return rc;
    if (!lpSubKey) return ERROR_INVALID_PARAMETER;
    std::vector<Name> names;
    if (!SplitPath(lpSubKey, &names)) return ERROR_INVALID_PARAMETER;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    WriteScope scope(store);
    if (!scope.ok()) return ERROR_CANTWRITE;
    if (!store.KeyExists(ref.id)) return WriteResult(store, ERROR_KEY_DELETED);
    if (!Walk(store, ref, names)) return WriteResult(store, ERROR_FILE_NOT_FOUND);
    if (registry::IsRoot(ref.id)) return ERROR_ACCESS_DENIED;
    store.DeleteTree(ref.id);
    return scope.Finish() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
    LONG rc;
    if (Faulted("RegDeleteValueW", &rc)) return rc;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    WriteScope scope(store);
    if (!scope.ok()) return ERROR_CANTWRITE;
    if (!store.KeyExists(ref.id)) return WriteResult(store, ERROR_KEY_DELETED);
    if (!store.DeleteValue(ref.id, registry::Fold(ToName(lpValueName))))
        return WriteResult(store, ERROR_FILE_NOT_FOUND);
    return scope.Finish() ? ERROR_SUCCESS : ERROR_CANTWRITE;
}

LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD lpReserved,
                          LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
    (void)lpReserved;
    LONG rc;
    if (Faulted("RegEnumKeyExW", &rc)) return rc;
    if (!lpName || !lpcchName || (lpClass && !lpcchClass)) return ERROR_INVALID_PARAMETER;
    std::optional<registry::Subkey> subkey;
    if ((rc = Enumerated(hKey, dwIndex, &subkey)) != ERROR_SUCCESS) return rc;
    // Nothing is written unless everything fits.
    if (subkey->name.size() >= *lpcchName) return ERROR_MORE_DATA;
    if (lpClass && subkey->keyClass.size() >= *lpcchClass) return ERROR_MORE_DATA;
    CopyName(subkey->name, lpName);
    *lpcchName = static_cast<DWORD>(subkey->name.size());
    if (lpClass) CopyName(subkey->keyClass, lpClass);
    if (lpcchClass) *lpcchClass = static_cast<DWORD>(subkey->keyClass.size());
    ClearTime(lpftLastWriteTime);
    return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName, LPDWORD lpReserved,
                          LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
    (void)lpReserved;
    LONG rc;
    if (Faulted("RegEnumValueW", &rc)) return rc;
    if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
    std::optional<registry::Value> value;
    if ((rc = Enumerated(hKey, dwIndex, &value)) != ERROR_SUCCESS) return rc;
    DWORD size = static_cast<DWORD>(value->data.size());
    if (lpType) *lpType = value->type;
    // As with RegQueryValueExW, a buffer that is too small stays untouched
    // and *lpcbData tells the size needed.
    bool dataFits = !lpData || *lpcbData >= size;
    if (lpcbData) *lpcbData = size;
    if (value->name.size() >= *lpcchValueName) return ERROR_MORE_DATA;
    CopyName(value->name, lpValueName);
    *lpcchValueName = static_cast<DWORD>(value->name.size());
    if (!dataFits) return ERROR_MORE_DATA;
    if (lpData && size) std::memcpy(lpData, value->data.data(), size);
    return ERROR_SUCCESS;
}

LONG WINAPI RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD lpReserved, LPDWORD lpcSubKeys,
                             LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen, LPDWORD lpcValues,
                             LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen, LPDWORD lpcbSecurityDescriptor,
                             PFILETIME lpftLastWriteTime) {
    (void)lpReserved;
    LONG rc;
    if (Faulted("RegQueryInfoKeyW", &rc)) return rc;
    if (lpClass && !lpcchClass) return ERROR_INVALID_PARAMETER;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    ReadScope scope(store);
    if (!store.KeyExists(ref.id)) return ReadResult(store, ERROR_KEY_DELETED);
    registry::KeyInfo info = store.Info(ref.id);
    Name keyClass = store.ClassOf(ref.id);
    if (store.failed()) return ERROR_CANTREAD;
    // Lengths of names are in characters without the terminating NUL, that
    // of data in bytes.
    if (lpcSubKeys) *lpcSubKeys = info.subkeys;
    if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = info.maxSubkeyName;
    if (lpcbMaxClassLen) *lpcbMaxClassLen = info.maxClass;
    if (lpcValues) *lpcValues = info.values;
    if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = info.maxValueName;
    if (lpcbMaxValueLen) *lpcbMaxValueLen = info.maxValueData;
    if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
    ClearTime(lpftLastWriteTime);
    if (lpClass) {
        if (keyClass.size() >= *lpcchClass) {
            *lpcchClass = static_cast<DWORD>(keyClass.size());
            return ERROR_MORE_DATA;
        }
        CopyName(keyClass, lpClass);
    }
    if (lpcchClass) *lpcchClass = static_cast<DWORD>(keyClass.size());
    return ERROR_SUCCESS;
}

LONG WINAPI RegFlushKey(HKEY hKey) {
    LONG rc;
    if (Faulted("RegFlushKey", &rc)) return rc;
    KeyRef ref;
    if ((rc = registry::Resolve(hKey, &ref)) != ERROR_SUCCESS) return rc;
    Store& store = *ref.store;
    {
        ReadScope scope(store);
        if (!store.KeyExists(ref.id)) return ReadResult(store, ERROR_KEY_DELETED);
    }
    std::lock_guard<std::recursive_mutex> guard(store.db().lock());
    // Every write is already committed; this moves the log into the
    // database file, unless this thread's batch is still open.
    if (!store.db().InTransaction()) store.db().Exec("PRAGMA wal_checkpoint(PASSIVE)");
    return ERROR_SUCCESS;
}

}  // extern "C"
