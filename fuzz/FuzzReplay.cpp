// Without libFuzzer (the ordinary and sanitizer builds), a fuzz target runs
// once over each file it is given, or each file of a folder it is given:
// the tests replay the seeds, and every input a fuzzer once found, this way.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) __attribute__((weak));
// A target that keeps windows across inputs takes them down here, while its
// thread still stands.
extern "C" void FuzzReplayDone() __attribute__((weak));

namespace {

bool RunFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
        return false;
    }
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(data.data(), data.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (LLVMFuzzerInitialize) LLVMFuzzerInitialize(&argc, &argv);
    int inputs = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(path, ec)) {
            for (const auto& entry : std::filesystem::directory_iterator(path, ec)) {
                if (!entry.is_regular_file()) continue;
                if (!RunFile(entry.path())) return 1;
                ++inputs;
            }
        } else {
            if (!RunFile(path)) return 1;
            ++inputs;
        }
    }
    if (FuzzReplayDone) FuzzReplayDone();
    std::printf("%d inputs run\n", inputs);
    return inputs > 0 ? 0 : 1;
}
