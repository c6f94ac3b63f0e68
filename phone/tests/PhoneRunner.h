// Running the emulator on a temporary device, for the end-to-end tests of
// its commands.
#pragma once

#include <Json.h>
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
    r.status = testing_support::RunCommand(std::string(PHONE_EXE) + " --device '" + device + "' " + args, &r.out,
                                           &r.err);
    return r;
}

inline std::string DataFile(const std::string& name) { return std::string(PHONE_DATA_DIR) + "/" + name; }

inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The text of a string member of a one-line JSON object; "<missing>" when
// the member is not there.
inline std::string JsonText(const std::string& object, const std::string& key) {
    return testing_support::ParseJson(object)[key].Text();
}

// The number of one kind in a listed contact's "phones" member.
inline std::string PhoneText(const std::string& contact, const std::string& kind) {
    return testing_support::ParseJson(contact)["phones"][kind].Text();
}

inline std::string WriteBytes(const testing_support::TempFolder& folder, const std::string& name,
                              const std::string& bytes) {
    std::string path = folder.path() + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

}  // namespace phone_test
