// A fresh device in a temporary folder, opened for this process for the
// lifetime of the object and removed afterwards.
#pragma once

#include <string>

namespace testing_support {

class TempDevice {
public:
    TempDevice();
    ~TempDevice();
    TempDevice(const TempDevice&) = delete;
    TempDevice& operator=(const TempDevice&) = delete;

    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
};

// A temporary folder, removed with its contents at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Runs a command line through the shell; returns its exit status and fills
// *out with its standard output and *err with its standard error.
int RunCommand(const std::string& command, std::string* out = nullptr, std::string* err = nullptr);

}  // namespace testing_support
