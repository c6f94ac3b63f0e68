// Registry key names as people write them: HKLM\Software\..., or with the
// long root names (HKEY_LOCAL_MACHINE\...).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace phone {

struct KeyPath {
    HKEY root = nullptr;
    std::string rootName;  // the long name, HKEY_LOCAL_MACHINE
    std::u16string subkey;  // without leading or trailing backslash; empty for the root

    // HKEY_LOCAL_MACHINE\Software\..., in UTF-8.
    std::string FullName() const;
    KeyPath Child(const std::u16string& name) const;
};

// Parses a key name. Root names are matched without case. False, with the
// reason in *error, for an unknown root, an empty step ("A\\B") or a step
// longer than the platform's 255 characters.
bool ParseKeyPath(const std::u16string& text, KeyPath* path, std::string* error);

// The roots of the registry, in the order a whole-registry export lists them.
std::vector<KeyPath> AllRoots();

}  // namespace phone
