// The emulated phone's hardware: screen size and resolution, kept in the
// device folder beside the stores.
#pragma once

#include <string>

namespace phone {

struct DeviceProfile {
    int width = 240;
    int height = 320;
    int dpi = 131;
};

// Parses "WxH"; false when malformed or out of range.
bool ParseScreenSize(const std::string& text, int* width, int* height);

DeviceProfile LoadDeviceProfile(const std::string& folder);
bool SaveDeviceProfile(const std::string& folder, const DeviceProfile& profile);

// Names of the files a device consists of, for --force to remove.
bool RemoveDeviceFiles(const std::string& folder, std::string* error);

}  // namespace phone
