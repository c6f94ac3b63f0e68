#include "BoundedInput.h"

#include "Cli.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace phone {

std::string ReadInputFile(const std::string& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status)) throw CommandError("cannot read " + path + ": no such file");
    if (std::filesystem::is_directory(status)) throw CommandError("cannot read " + path + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CommandError("cannot read " + path + ": " + std::strerror(errno));
    std::string bytes;
    char chunk[65536];
    // Read by pieces rather than by the size the file claims: a device or a
    // pipe claims none.
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
        bytes.append(chunk, static_cast<size_t>(in.gcount()));
        if (bytes.size() > kLargestInputFile)
            throw CommandError("cannot read " + path + ": it is larger than " +
                               std::to_string(kLargestInputFile >> 20) + " MB");
    }
    if (in.bad()) throw CommandError("cannot read " + path);
    return bytes;
}

void FailLongLine() { throw CommandError("longer than " + std::to_string(kLongestInputLine >> 20) + " MB"); }

bool ReadInputLine(std::istream& in, std::string* line) {
    line->clear();
    char chunk[4096];
    for (;;) {
        in.getline(chunk, sizeof chunk);
        const size_t got = static_cast<size_t>(in.gcount());
        if (in.bad()) throw CommandError("cannot read the scenario");
        if (in.eof()) {
            // The last line, without its end.
            line->append(chunk, got);
            return !line->empty();
        }
        if (in.fail()) {
            // The piece filled up before the line ended: read on.
            line->append(chunk, got);
            in.clear();
        } else {
            line->append(chunk, got - 1);  // the line's end was read, not stored
            return true;
        }
        if (line->size() > kLongestInputLine) FailLongLine();
    }
}

}  // namespace phone
