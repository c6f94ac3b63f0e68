#include "TempDevice.h"

#include <coredll_host.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace testing_support {

static std::string MakeTempFolder(const char* prefix) {
    std::string pattern = (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
    if (!mkdtemp(pattern.data())) {
        ADD_FAILURE() << "cannot make a temporary folder";
        return {};
    }
    return pattern;
}

TempFolder::TempFolder() : path_(MakeTempFolder("phone-tmp-")) {}

TempFolder::~TempFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

TempDevice::TempDevice() : folder_(MakeTempFolder("phone-device-")) {
    std::string error;
    if (!host::OpenDevice(folder_, &error)) ADD_FAILURE() << "cannot open device: " << error;
}

TempDevice::~TempDevice() {
    host::CloseDevice();
    host::ClearFaults();
    std::error_code ec;
    if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
}

int RunCommand(const std::string& command, std::string* out, std::string* err) {
    TempFolder tmp;
    std::string outFile = tmp.path() + "/out", errFile = tmp.path() + "/err";
    std::string line = "(" + command + ") >'" + outFile + "' 2>'" + errFile + "'";
    int status = std::system(line.c_str());
    auto slurp = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    };
    if (out) *out = slurp(outFile);
    if (err) *err = slurp(errFile);
    if (status == -1) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

}  // namespace testing_support
