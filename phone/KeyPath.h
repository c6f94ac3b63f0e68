// Registry key names as people write them: HKLM\Software\..., or with the
// long root names (HKEY_LOCAL_MACHINE\...).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace phone {

struct KeyPath {
    HKEY root = nullptr;
    std::string rootName;   // the long name, HKEY_LOCAL_MACHINE
    std::u16string subkey;  // without leading or trailing backslash; empty for the root

    // HKEY_LOCAL_MACHINE\Software\..., in UTF-8.
    std::string FullName() const;
    KeyPath Child(const std::u16string& name) const;
};

// The registry's documented limits: a key name of 255 characters, a tree of
// 512 levels below its root.
constexpr size_t kMaxKeyName = 255;
constexpr int kMaxKeyDepth = 512;

// Parses a key name. Root names are matched without case. False, with the
// reason in *error, for an unknown root, an empty step ("A\\B"), a step
// longer than kMaxKeyName or more than kMaxKeyDepth steps.
bool ParseKeyPath(const std::u16string& text, KeyPath* path, std::string* error);

// Why a key or value name cannot be written into a .reg line and read back
// ("a line feed", "half of a surrogate pair (U+D800)", ...); empty for a
// name that can.
std::string NameProblem(std::u16string_view name);
// A name for a message on one line: line breaks and NULs as \n, \r, \0.
std::string ShownName(std::u16string_view name);
// The first step of the key's subkey path that NameProblem refuses, with
// the reason: "the key name X holds a line feed"; empty when none.
std::string KeyNameProblem(const KeyPath& path);

// UTF-8 that may also hold halves of surrogate pairs in their three-byte
// form (ED A0 80 to ED BF BF), so that a name an older build let in can be
// named on the command line; false in *ok for anything else invalid.
std::u16string FromUtf8WithSurrogates(std::string_view text, bool* ok);

// The roots of the registry, in the order a whole-registry export lists them.
std::vector<KeyPath> AllRoots();

}  // namespace phone
