// The emulator's .reg reader over a file made from the input. A file
// either reads or fails with a CommandError naming the file and a line;
// what it reads, written out again as a .reg file (as phone reg export
// writes keys and values), reads back the same.
#include "../phone/Cli.h"
#include "../phone/RegFile.h"
#include "FuzzCheck.h"

#include <string>
#include <vector>

namespace {

bool SameValue(const phone::RegFileValue& a, const phone::RegFileValue& b) {
    return a.value.name == b.value.name && a.value.type == b.value.type && a.value.data == b.value.data;
}

// What an export of the file's keys and values holds: removals have no
// export form, and are left out.
std::string Exported(const std::vector<phone::RegFileKey>& keys) {
    std::string text = phone::RegFileHeader();
    for (const phone::RegFileKey& key : keys) {
        if (key.remove) continue;
        text += phone::FormatKeyLine(key.path);
        for (const phone::RegFileValue& value : key.values)
            if (!value.remove) text += phone::FormatValueLines(value.value, key.path);
        text += "\n";
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::vector<phone::RegFileKey> keys;
    try {
        keys = phone::ParseRegFile(bytes, "fuzz.reg");
    } catch (const phone::CommandError& e) {
        FUZZ_CHECK(std::string(e.what()).rfind("fuzz.reg:", 0) == 0);
        return 0;
    }

    const std::vector<phone::RegFileKey> again = phone::ParseRegFile(Exported(keys), "export.reg");
    size_t k = 0;
    for (const phone::RegFileKey& key : keys) {
        if (key.remove) continue;
        FUZZ_CHECK(k < again.size());
        const phone::RegFileKey& read = again[k++];
        FUZZ_CHECK(read.path.root == key.path.root && read.path.subkey == key.path.subkey && !read.remove);
        size_t v = 0;
        for (const phone::RegFileValue& value : key.values) {
            if (value.remove) continue;
            FUZZ_CHECK(v < read.values.size() && SameValue(read.values[v++], value));
        }
        FUZZ_CHECK(v == read.values.size());
    }
    FUZZ_CHECK(k == again.size());
    return 0;
}
