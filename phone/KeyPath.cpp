#include "KeyPath.h"

#include <coredll_host.h>

#include <algorithm>
#include <cstdio>

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

}  // namespace

std::string KeyPath::FullName() const { return subkey.empty() ? rootName : rootName + "\\" + host::ToUtf8(subkey); }

KeyPath KeyPath::Child(const std::u16string& name) const {
    KeyPath child = *this;
    child.subkey = subkey.empty() ? name : subkey + u"\\" + name;
    return child;
}

std::string NameProblem(std::u16string_view name) {
    for (size_t i = 0; i < name.size(); ++i) {
        char16_t c = name[i];
        if (c == u'\n') return "a line feed";
        if (c == u'\r') return "a carriage return";
        if (c == 0) return "a NUL character";
        bool lead = c >= 0xD800 && c <= 0xDBFF, trail = c >= 0xDC00 && c <= 0xDFFF;
        if (lead && i + 1 < name.size() && name[i + 1] >= 0xDC00 && name[i + 1] <= 0xDFFF) {
            ++i;
        } else if (lead || trail) {
            char unit[8];
            std::snprintf(unit, sizeof unit, "%04X", static_cast<unsigned>(c));
            return std::string("half of a surrogate pair (U+") + unit + ")";
        }
    }
    return {};
}

std::string ShownName(std::u16string_view name) {
    std::string out;
    for (char c : host::ToUtf8(name)) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == 0)
            out += "\\0";
        else
            out += c;
    }
    return out;
}

std::string KeyNameProblem(const KeyPath& path) {
    std::u16string_view rest(path.subkey);
    while (!rest.empty()) {
        size_t end = std::min(rest.find(u'\\'), rest.size());
        std::u16string_view step = rest.substr(0, end);
        std::string problem = NameProblem(step);
        if (!problem.empty()) return "the key name " + ShownName(step) + " holds " + problem;
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return {};
}

std::u16string FromUtf8WithSurrogates(std::string_view text, bool* ok) {
    std::u16string out;
    *ok = true;
    size_t start = 0;
    auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    for (size_t i = 0; i + 2 < text.size(); ++i) {
        if (byte(i) != 0xED || byte(i + 1) < 0xA0 || byte(i + 1) > 0xBF || (byte(i + 2) & 0xC0) != 0x80) continue;
        bool piece = true;
        out += host::FromUtf8(text.substr(start, i - start), &piece);
        *ok = *ok && piece;
        out += static_cast<char16_t>(0xD000 | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F));
        i += 2;
        start = i + 1;
    }
    bool piece = true;
    out += host::FromUtf8(text.substr(start), &piece);
    *ok = *ok && piece;
    return out;
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
    int depth = 0;
    while (start < subkey.size()) {
        if (++depth > kMaxKeyDepth) {
            *error = "the key is more than " + std::to_string(kMaxKeyDepth) +
                     " levels deep, deeper than the registry allows";
            return false;
        }
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
