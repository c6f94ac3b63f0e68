#include "KeyPath.h"

#include <coredll_host.h>

namespace phone {

namespace {

struct Root {
    const char* shortName;
    const char* longName;
    HKEY key;
};

// In the order a whole-registry export lists them.
const Root kRoots[] = {
    {"HKCR", "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
    {"HKCU", "HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKLM", "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKU", "HKEY_USERS", HKEY_USERS},
};

bool SameAscii(const std::u16string& text, const char* name) {
    size_t i = 0;
    for (; name[i]; ++i) {
        if (i >= text.size()) return false;
        char16_t c = text[i];
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
        if (c != static_cast<unsigned char>(name[i])) return false;
    }
    return i == text.size();
}

constexpr size_t kMaxKeyName = 255;

}  // namespace

std::string KeyPath::FullName() const {
    return subkey.empty() ? rootName : rootName + "\\" + host::ToUtf8(subkey);
}

KeyPath KeyPath::Child(const std::u16string& name) const {
    KeyPath child = *this;
    child.subkey = subkey.empty() ? name : subkey + u"\\" + name;
    return child;
}

std::vector<KeyPath> AllRoots() {
    std::vector<KeyPath> roots;
    for (const Root& r : kRoots) roots.push_back(KeyPath{r.key, r.longName, {}});
    return roots;
}

bool ParseKeyPath(const std::u16string& text, KeyPath* path, std::string* error) {
    size_t slash = text.find(u'\\');
    std::u16string root = text.substr(0, slash);
    const Root* found = nullptr;
    for (const Root& r : kRoots)
        if (SameAscii(root, r.shortName) || SameAscii(root, r.longName)) found = &r;
    if (!found) {
        *error = "unknown root key " + host::ToUtf8(root) + " (use HKLM, HKCU, HKCR or HKU)";
        return false;
    }
    std::u16string subkey = slash == std::u16string::npos ? std::u16string() : text.substr(slash + 1);
    while (!subkey.empty() && subkey.back() == u'\\') subkey.pop_back();
    size_t start = 0;
    while (start < subkey.size()) {
        size_t end = subkey.find(u'\\', start);
        if (end == std::u16string::npos) end = subkey.size();
        if (end == start) {
            *error = "empty key name in " + host::ToUtf8(text);
            return false;
        }
        if (end - start > kMaxKeyName) {
            *error = "key name longer than 255 characters in " + host::ToUtf8(text);
            return false;
        }
        start = end + 1;
    }
    path->root = found->key;
    path->rootName = found->longName;
    path->subkey = subkey;
    return true;
}

}  // namespace phone
