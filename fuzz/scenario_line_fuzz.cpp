// The emulator's scenario-line splitter over a line made from the input.
// A line splits or fails with a reason; the words of a line that splits,
// written back each quoted, split into the same words again.
#include "../phone/ScenarioLine.h"
#include "FuzzCheck.h"

#include <string>
#include <vector>

namespace {

std::string Quoted(const std::string& word) {
    std::string out = "\"";
    for (char c : word) {
        if (c == '"' || c == '\\') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out + "\"";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> words;
    std::string error;
    if (!phone::SplitScenarioLine(line, &words, &error)) {
        FUZZ_CHECK(!error.empty());
        return 0;
    }
    std::string written;
    for (const std::string& word : words) written += Quoted(word) + " ";
    std::vector<std::string> again;
    FUZZ_CHECK(phone::SplitScenarioLine(written, &again, &error));
    FUZZ_CHECK(again == words);
    return 0;
}
