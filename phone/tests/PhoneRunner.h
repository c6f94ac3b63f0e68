// Running the emulator on a temporary device, for the end-to-end tests of
// its commands.
#pragma once

#include <TempDevice.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace phone_test {

struct Result {
    int status;
    std::string out, err;
};

inline Result RunPhone(const std::string& device, const std::string& args) {
    Result r;
    r.status = testing_support::RunCommand(std::string(PHONE_EXE) + " --device '" + device + "' " + args, &r.out, &r.err);
    return r;
}

inline std::string DataFile(const std::string& name) { return std::string(PHONE_DATA_DIR) + "/" + name; }

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The raw (still escaped) text of a string member of a one-line JSON
// object; "<missing>" when the member is not there.
inline std::string JsonText(const std::string& object, const std::string& key) {
    std::string start = "\"" + key + "\":\"";
    size_t at = object.find(start);
    if (at == std::string::npos) return "<missing>";
    std::string out;
    for (size_t i = at + start.size(); i < object.size() && object[i] != '"'; ++i) {
        if (object[i] == '\\' && i + 1 < object.size()) out += object[i++];
        out += object[i];
    }
    return out;
}

inline std::string WriteBytes(const testing_support::TempFolder& folder, const std::string& name,
                              const std::string& bytes) {
    std::string path = folder.path() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace phone_test
