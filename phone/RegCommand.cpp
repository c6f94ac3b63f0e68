// phone reg: reading and changing the device's registry by hand.
#include "RegCommand.h"

#include "RegKey.h"
#include "Settings.h"

#include <coredll_host.h>

#include <cstdio>
#include <cstring>
#include <map>

namespace phone {

namespace {

// A name to look up or delete may hold what an older build let into the
// registry: a half of a surrogate pair, in its three-byte form.
std::u16string TextArgument(const std::string& word, const char* what, bool withSurrogates = false) {
    bool ok = true;
    std::u16string text = withSurrogates ? FromUtf8WithSurrogates(word, &ok) : host::FromUtf8(word, &ok);
    if (!ok) throw UsageError(std::string(what) + " is not valid UTF-8");
    return text;
}

// "" and "@" name the default value.
std::u16string ValueName(const std::string& word, bool withSurrogates = false) {
    return word == "@" ? u"" : TextArgument(word, "the value name", withSurrogates);
}

std::string Describe(const std::u16string& name) { return name.empty() ? "(Default)" : host::ToUtf8(name); }

std::string TypeName(DWORD type) {
    static const char* const kNames[] = {"REG_NONE",
                                         "REG_SZ",
                                         "REG_EXPAND_SZ",
                                         "REG_BINARY",
                                         "REG_DWORD",
                                         "REG_DWORD_BIG_ENDIAN",
                                         "REG_LINK",
                                         "REG_MULTI_SZ",
                                         "REG_RESOURCE_LIST",
                                         "REG_FULL_RESOURCE_DESCRIPTOR",
                                         "REG_RESOURCE_REQUIREMENTS_LIST",
                                         "REG_QWORD"};
    if (type < std::size(kNames)) return kNames[type];
    char text[24];
    std::snprintf(text, sizeof text, "0x%X", type);
    return text;
}

std::u16string Units(const std::vector<uint8_t>& data) {
    std::u16string units(data.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    return units;
}

std::string Hex(const std::vector<uint8_t>& data) {
    std::string out;
    char byte[4];
    for (uint8_t b : data) {
        std::snprintf(byte, sizeof byte, "%02X", b);
        out += byte;
    }
    return out;
}

// The data as the platform's console registry tool shows them.
std::string DataText(const RegValue& value) {
    switch (value.type) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::u16string text = Units(value.data);
            return host::ToUtf8(text.substr(0, text.find(u'\0')));
        }
        case REG_MULTI_SZ: {
            std::u16string text = Units(value.data);
            while (!text.empty() && text.back() == 0) text.pop_back();
            std::string out;
            for (size_t start = 0;;) {
                size_t end = text.find(u'\0', start);
                out += host::ToUtf8(text.substr(start, end == std::u16string::npos ? end : end - start));
                if (end == std::u16string::npos) break;
                out += "\\0";
                start = end + 1;
            }
            return out;
        }
        case REG_DWORD:
            if (value.data.size() == 4) {
                DWORD number;
                std::memcpy(&number, value.data.data(), 4);
                char text[16];
                std::snprintf(text, sizeof text, "0x%x", number);
                return text;
            }
            return Hex(value.data);
        default:
            return Hex(value.data);
    }
}

// The type each value of the settings key must have for the settings
// record to read it as it shows.
struct SettingType {
    const char16_t* name;
    DWORD type;
};
const SettingType kSettingTypes[] = {
    {u"ShowNumber", REG_DWORD},       {u"LastNameFirst", REG_DWORD},
    {u"AppendNumberType", REG_DWORD}, {u"SMS", REG_DWORD},
    {u"Disable", REG_DWORD},          {u"MarkDRAsRead", REG_DWORD},
    {u"DeleteDR", REG_DWORD},         {u"ShowDR", REG_DWORD},
    {u"ShowBubbles", REG_DWORD},      {u"UseFileAs", REG_DWORD},
    {u"PhoneNumLen", REG_DWORD},      {u"UseCustomText", REG_DWORD},
    {u"TurnOffScreen", REG_DWORD},    {u"DisableBubblesInProfile", REG_DWORD},
    {u"CustomText", REG_SZ},          {u"ExcludeProfile", REG_SZ},
};

bool IsSettingsKey(const KeyPath& path) {
    return path.root == HKEY_LOCAL_MACHINE && _wcsicmp(path.subkey.c_str(), SETTINGS_KEY) == 0;
}

// A setting of another type than the record reads does not mean what its
// data show (PhoneNumLen as the text "7" reads as the number 55): the line
// says so.
std::string ValueLine(const RegValue& value, bool settingsKey) {
    std::string line = "    " + Describe(value.name) + "    " + TypeName(value.type) + "    " + DataText(value);
    if (settingsKey)
        for (const SettingType& setting : kSettingTypes)
            if (_wcsicmp(value.name.c_str(), setting.name) == 0 && value.type != setting.type)
                line += "    (the setting wants " + TypeName(setting.type) + ")";
    return line + "\n";
}

RegKey OpenOrFail(const KeyPath& path) {
    RegKey key;
    LONG rc = RegOpenKeyExW(path.root, path.subkey.c_str(), 0, 0, key.out());
    if (rc == ERROR_FILE_NOT_FOUND) throw CommandError("no key " + path.FullName());
    if (rc != ERROR_SUCCESS)
        throw CommandError("cannot open " + path.FullName() + " (error " + std::to_string(rc) + ")");
    return key;
}

DWORD ParseDword(const std::string& text) {
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > (hex ? 8u : 10u))
        throw UsageError("dword: wants a 32-bit number (" + text + ")");
    uint64_t value = 0;
    for (char c : digits) {
        int d = (c >= '0' && c <= '9')                          ? c - '0'
                : hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f' ? (c | 0x20) - 'a' + 10
                                                                : -1;
        if (d < 0) throw UsageError("dword: wants a decimal or 0x hex number (" + text + ")");
        value = value * (hex ? 16 : 10) + d;
    }
    if (value > 0xFFFFFFFFu) throw UsageError("dword: wants a 32-bit number (" + text + ")");
    return static_cast<DWORD>(value);
}

std::vector<uint8_t> ParseHexBytes(const std::string& text) {
    std::vector<uint8_t> bytes;
    size_t start = 0;
    while (start < text.size()) {
        size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        char* end = nullptr;
        unsigned long b = std::strtoul(item.c_str(), &end, 16);
        if (item.empty() || item.size() > 2 || *end || b > 0xFF) throw UsageError("hex: wants bytes such as 01,ff,2a");
        bytes.push_back(static_cast<uint8_t>(b));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return bytes;
}

RegValue ParseValueArgument(const std::string& word) {
    RegValue value;
    if (word.compare(0, 6, "dword:") == 0) {
        DWORD number = ParseDword(word.substr(6));
        value.type = REG_DWORD;
        value.data.resize(4);
        std::memcpy(value.data.data(), &number, 4);
    } else if (word.compare(0, 3, "sz:") == 0) {
        std::u16string text = TextArgument(word.substr(3), "the text");
        value.type = REG_SZ;
        for (char16_t c : text + u'\0') {
            value.data.push_back(static_cast<uint8_t>(c & 0xFF));
            value.data.push_back(static_cast<uint8_t>(c >> 8));
        }
    } else if (word.compare(0, 4, "hex:") == 0) {
        value.type = REG_BINARY;
        value.data = ParseHexBytes(word.substr(4));
    } else {
        throw UsageError("the value must be dword:N, sz:TEXT or hex:XX,XX,... (" + word + ")");
    }
    return value;
}

}  // namespace

KeyPath KeyArgument(const std::string& word, bool withSurrogates) {
    KeyPath path;
    std::string error;
    if (!ParseKeyPath(TextArgument(word, "the key", withSurrogates), &path, &error)) throw UsageError(error);
    return path;
}

int RegGet(Args& args) {
    args.ExpectAtMost(2);
    KeyPath path = KeyArgument(args.at(0, "KEY"), true);
    OpenDeviceOrFail(args.device);
    RegKey key = OpenOrFail(path);
    std::string out;
    if (args.words.size() == 2) {
        // Found among the key's values, so that it shows as it is spelt
        // there; names compare as the registry compares them.
        std::u16string name = ValueName(args.words[1], true);
        const RegValue* found = nullptr;
        std::vector<RegValue> values = ReadValues(key.get(), path.FullName());
        for (const RegValue& value : values)
            if (!found && _wcsicmp(value.name.c_str(), name.c_str()) == 0) found = &value;
        if (!found) throw CommandError("no value " + Describe(name) + " in " + path.FullName());
        out = ValueLine(*found, IsSettingsKey(path));
    } else {
        out = path.FullName() + "\n";
        for (const RegValue& value : ReadValues(key.get(), path.FullName()))
            out += ValueLine(value, IsSettingsKey(path));
        std::vector<std::u16string> subkeys = SubkeyNames(key.get(), path.FullName());
        if (!subkeys.empty()) out += "\n";
        for (const std::u16string& name : subkeys) out += path.Child(name).FullName() + "\n";
    }
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

int RegSet(Args& args) {
    args.ExpectAtMost(3);
    KeyPath path = KeyArgument(args.at(0, "KEY"));
    std::u16string name = ValueName(args.at(1, "NAME"));
    RegValue value = ParseValueArgument(args.at(2, "the value (dword:N, sz:TEXT or hex:XX,...)"));
    // Such a name could never be exported and imported again.
    if (std::string problem = KeyNameProblem(path); !problem.empty()) throw UsageError(problem);
    if (std::string problem = NameProblem(name); !problem.empty())
        throw UsageError("the value name " + ShownName(name) + " holds " + problem);
    OpenDeviceOrFail(args.device);
    RegKey key;
    LONG rc = RegCreateKeyExW(path.root, path.subkey.c_str(), 0, nullptr, 0, 0, nullptr, key.out(), nullptr);
    if (rc != ERROR_SUCCESS)
        throw CommandError("cannot create " + path.FullName() + " (error " + std::to_string(rc) + ")");
    rc = RegSetValueExW(key.get(), name.c_str(), 0, value.type, value.data.data(),
                        static_cast<DWORD>(value.data.size()));
    if (rc != ERROR_SUCCESS) throw CommandError("cannot set " + Describe(name) + " (error " + std::to_string(rc) + ")");
    return kExitOk;
}

int RegDelete(Args& args) {
    args.ExpectAtMost(2);
    KeyPath path = KeyArgument(args.at(0, "KEY"), true);
    OpenDeviceOrFail(args.device);
    LONG rc;
    if (args.words.size() == 2) {
        std::u16string name = ValueName(args.words[1], true);
        RegKey key = OpenOrFail(path);
        rc = RegDeleteValueW(key.get(), name.c_str());
        if (rc == ERROR_FILE_NOT_FOUND) throw CommandError("no value " + Describe(name) + " in " + path.FullName());
    } else {
        if (path.subkey.empty()) throw CommandError("a root key cannot be deleted");
        rc = RegDeleteKeyW(path.root, path.subkey.c_str());
        if (rc == ERROR_FILE_NOT_FOUND) throw CommandError("no key " + path.FullName());
    }
    if (rc != ERROR_SUCCESS)
        throw CommandError("cannot delete from " + path.FullName() + " (error " + std::to_string(rc) + ")");
    return kExitOk;
}

int RunReg(Args& args) {
    static const std::map<std::string, int (*)(Args&)> kSubcommands = {
        {"get", RegGet}, {"set", RegSet}, {"delete", RegDelete}, {"export", RegExport}, {"import", RegImport},
    };
    if (args.words.empty()) throw UsageError("reg wants get, set, delete, export or import (try phone reg --help)");
    auto it = kSubcommands.find(args.words[0]);
    if (it == kSubcommands.end()) throw UsageError("unknown reg command " + args.words[0] + " (try phone reg --help)");
    args.words.erase(args.words.begin());
    return it->second(args);
}

}  // namespace phone
