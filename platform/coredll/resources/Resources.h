// The resource index of a module, for FindResourceW and the typed loaders
// (menus, icons, bitmaps, strings). Internal to coredll.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace resources {

// A type or a name: an ordinal, or a string when name is not empty.
struct Id {
    WORD ordinal = 0;
    std::u16string name;
    // Against a MAKEINTRESOURCE ordinal, a "#123" ordinal or a name
    // (without regard to case).
    bool Matches(LPCWSTR wanted) const;
};

struct Entry {
    HMODULE module = nullptr;
    Id type;
    Id name;
    WORD language = 0;
    const BYTE* data = nullptr;
    DWORD size = 0;
};

struct ModuleResources {
    std::vector<std::unique_ptr<Entry>> entries;  // in the order of the .res data
};

// The index of a module (null: the program), read on first use; null with
// *error set when the handle names no loaded module.
std::shared_ptr<ModuleResources> ResourcesOf(HMODULE module, DWORD* error);

// The first entry of that type and name in the module, in any language;
// null with the last error set (ERROR_RESOURCE_TYPE_NOT_FOUND, ...).
const Entry* FindIn(HMODULE module, LPCWSTR type, LPCWSTR name);

}  // namespace resources

namespace resources {

// How many bytes of resource data follow p within the resource that holds
// it, or SIZE_MAX when p lies in no resource of a loaded module (memory of
// the caller's, whose end only the caller knows).
size_t BytesAfter(const void* p);

}  // namespace resources
