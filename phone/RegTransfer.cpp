// phone reg export and import: the registry as .reg text, and back.
#include "RegCommand.h"

#include "BoundedInput.h"
#include "RegFile.h"
#include "RegKey.h"

#include <coredll_host.h>

#include <algorithm>
#include <cstdio>

namespace phone {

namespace {

// The registry calls made while it is alive form one transaction: an
// import lands whole or not at all, and an export reads one consistent
// picture even while another process writes.
class RegistryBatch {
public:
    RegistryBatch() {
        if (!host::BeginRegistryBatch()) throw CommandError("cannot open the registry of the device");
    }
    ~RegistryBatch() {
        if (open_) host::RollbackRegistryBatch();
    }
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    void Commit() {
        open_ = false;
        if (!host::CommitRegistryBatch()) throw CommandError("cannot write the registry of the device");
    }

private:
    bool open_ = true;
};

std::string Error(LONG rc) { return " (error " + std::to_string(rc) + ")"; }

// "HKEY_LOCAL_MACHINE\a\...\z (600 levels)": a key too deep to be named in full on one line.
std::string ShortName(const KeyPath& path, int depth) {
    size_t first = path.subkey.find(u'\\'), last = path.subkey.rfind(u'\\');
    return path.rootName + "\\" + host::ToUtf8(path.subkey.substr(0, first)) + "\\...\\" +
           host::ToUtf8(path.subkey.substr(last + 1)) + " (" + std::to_string(depth) + " levels)";
}

// The key, its values, then its subkeys, each after its parent: walked with
// a stack of its own, as a tree may be deeper than a thread's stack. A key
// keeps its handle only while subkeys of it are still to be opened.
void ExportTree(HKEY top, const KeyPath& topPath, std::string& out) {
    struct Frame {
        KeyPath path;
        HKEY key;
        RegKey owned;  // empty for the top, which the caller holds
        int depth;
        std::vector<std::u16string> subkeys;
        size_t next = 0;
    };
    auto depthOf = [](const KeyPath& path) {
        return path.subkey.empty() ? 0
                                   : 1 + static_cast<int>(std::count(path.subkey.begin(), path.subkey.end(), u'\\'));
    };
    std::vector<Frame> stack;
    auto visit = [&](Frame frame) {
        out += FormatKeyLine(frame.path);
        for (const RegValue& value : ReadValues(frame.key, frame.path.FullName()))
            out += FormatValueLines(value, frame.path);
        out += "\n";
        frame.subkeys = SubkeyNames(frame.key, frame.path.FullName());
        if (!frame.subkeys.empty() && frame.depth >= kMaxKeyDepth)
            throw CommandError(
                "cannot export the keys below " + ShortName(frame.path, frame.depth) + ": the registry allows " +
                std::to_string(kMaxKeyDepth) +
                " levels, and a .reg file deeper than that is not imported (phone reg delete removes them)");
        stack.push_back(std::move(frame));
    };
    visit(Frame{topPath, top, RegKey(), depthOf(topPath), {}});
    while (!stack.empty()) {
        Frame& parent = stack.back();
        if (parent.next == parent.subkeys.size()) {
            stack.pop_back();
            continue;
        }
        const std::u16string& name = parent.subkeys[parent.next++];
        Frame child{parent.path.Child(name), nullptr, RegKey(), parent.depth + 1, {}};
        LONG rc = RegOpenKeyExW(parent.key, name.c_str(), 0, 0, child.owned.out());
        if (rc != ERROR_SUCCESS) throw CommandError("cannot open " + child.path.FullName() + Error(rc));
        child.key = child.owned.get();
        // A chain of single subkeys holds one handle, not one a level.
        if (parent.next == parent.subkeys.size()) stack.pop_back();
        visit(std::move(child));
    }
}

bool IsEmpty(HKEY key) {
    DWORD subkeys = 0, values = 0;
    LONG rc = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                               nullptr, nullptr);
    return rc == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

void Apply(const RegFileKey& entry, const std::string& file) {
    const KeyPath& path = entry.path;
    auto fail = [&](int line, const std::string& what, LONG rc) {
        throw CommandError(file + ":" + std::to_string(line) + ": " + what + Error(rc));
    };
    if (entry.remove) {
        LONG rc = RegDeleteKeyW(path.root, path.subkey.c_str());
        if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) fail(entry.line, "cannot delete " + path.FullName(), rc);
        return;
    }
    RegKey key;
    LONG rc = RegCreateKeyExW(path.root, path.subkey.c_str(), 0, nullptr, 0, 0, nullptr, key.out(), nullptr);
    if (rc != ERROR_SUCCESS) fail(entry.line, "cannot create " + path.FullName(), rc);
    for (const RegFileValue& v : entry.values) {
        if (v.remove) {
            rc = RegDeleteValueW(key.get(), v.value.name.c_str());
            if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) fail(v.line, "cannot delete a value", rc);
        } else {
            rc = RegSetValueExW(key.get(), v.value.name.c_str(), 0, v.value.type, v.value.data.data(),
                                static_cast<DWORD>(v.value.data.size()));
            if (rc != ERROR_SUCCESS) fail(v.line, "cannot set a value", rc);
        }
    }
}

}  // namespace

int RegExport(Args& args) {
    args.ExpectAtMost(1);
    bool whole = args.words.empty();
    std::vector<KeyPath> tops = whole ? AllRoots() : std::vector<KeyPath>{KeyArgument(args.words[0])};
    OpenDeviceOrFail(args.device);
    std::string out = RegFileHeader();
    {
        RegistryBatch batch;
        for (const KeyPath& top : tops) {
            RegKey key;
            LONG rc = RegOpenKeyExW(top.root, top.subkey.c_str(), 0, 0, key.out());
            if (rc == ERROR_FILE_NOT_FOUND) throw CommandError("no key " + top.FullName());
            if (rc != ERROR_SUCCESS) throw CommandError("cannot open " + top.FullName() + Error(rc));
            if (whole && IsEmpty(key.get())) continue;
            ExportTree(key.get(), top, out);
        }
    }
    // Nothing is printed unless all of it could be read.
    std::fwrite(out.data(), 1, out.size(), stdout);
    return kExitOk;
}

int RegImport(Args& args) {
    args.ExpectAtMost(1);
    const std::string& file = args.at(0, "FILE.reg");
    std::vector<RegFileKey> entries = ParseRegFile(ReadInputFile(file), file);
    OpenDeviceOrFail(args.device);
    RegistryBatch batch;
    for (const RegFileKey& entry : entries) Apply(entry, file);
    batch.Commit();
    return kExitOk;
}

}  // namespace phone
