#include "DeviceProfile.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace phone {

namespace {
const char kProfileFile[] = "device.conf";

// Everything a device folder may hold; nothing else is ever removed. The
// lock file stays: the process making the device anew holds it.
const char* const kDeviceFiles[] = {
    kProfileFile,      "registry.db",     "registry.db-wal", "registry.db-shm", "messages.db",
    "messages.db-wal", "messages.db-shm", "contacts.db",     "contacts.db-wal", "contacts.db-shm",
    "effects.db",      "effects.db-wal",  "effects.db-shm",
};

bool ParseInt(const std::string& text, int low, int high, int* value) {
    if (text.empty() || text.size() > 6) return false;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high) return false;
    *value = v;
    return true;
}
}  // namespace

bool ParseScreenSize(const std::string& text, int* width, int* height) {
    size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return false;
    return ParseInt(text.substr(0, x), 64, 4096, width) && ParseInt(text.substr(x + 1), 64, 4096, height);
}

DeviceProfile LoadDeviceProfile(const std::string& folder) {
    DeviceProfile profile;
    std::ifstream in(std::filesystem::path(folder) / kProfileFile);
    std::string line;
    while (std::getline(in, line)) {
        size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "screen")
            ParseScreenSize(value, &profile.width, &profile.height);
        else if (key == "dpi")
            ParseInt(value, 48, 960, &profile.dpi);
    }
    return profile;
}

bool SaveDeviceProfile(const std::string& folder, const DeviceProfile& profile) {
    std::ofstream out(std::filesystem::path(folder) / kProfileFile, std::ios::trunc);
    out << "screen=" << profile.width << "x" << profile.height << "\n"
        << "dpi=" << profile.dpi << "\n";
    return static_cast<bool>(out);
}

bool RemoveDeviceFiles(const std::string& folder, std::string* error) {
    for (const char* name : kDeviceFiles) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::path(folder) / name, ec);
        if (ec) {
            if (error)
                *error = "cannot remove " + (std::filesystem::path(folder) / name).string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

}  // namespace phone
