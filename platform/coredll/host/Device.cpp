// The emulated device of this process: the folder that holds its stores.
#include <coredll_host.h>

#include <dlfcn.h>

#include <atomic>
#include <filesystem>
#include <mutex>

namespace host {

namespace {
std::mutex g_deviceLock;
std::string g_folder;
std::atomic<unsigned> g_generation{0};
}  // namespace

bool OpenDevice(const std::string& folder, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        if (error) *error = "cannot create the device folder " + folder;
        return false;
    }
    std::lock_guard<std::mutex> lock(g_deviceLock);
    g_folder = std::filesystem::absolute(folder, ec).lexically_normal().string();
    while (g_folder.size() > 1 && g_folder.back() == '/') g_folder.pop_back();
    g_generation.fetch_add(1);
    return true;
}

void CloseDevice() {
    std::lock_guard<std::mutex> lock(g_deviceLock);
    g_folder.clear();
    g_generation.fetch_add(1);
}

bool DeviceIsOpen() {
    std::lock_guard<std::mutex> lock(g_deviceLock);
    return !g_folder.empty();
}

std::string DeviceFolder() {
    std::lock_guard<std::mutex> lock(g_deviceLock);
    return g_folder;
}

std::string DevicePath(std::string_view file) {
    std::lock_guard<std::mutex> lock(g_deviceLock);
    if (g_folder.empty()) return {};
    return g_folder + "/" + std::string(file);
}

unsigned DeviceGeneration() { return g_generation.load(); }

std::string ModuleFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&ModuleFolder), &info) || !info.dli_fname) return ".";
    std::error_code ec;
    auto path = std::filesystem::canonical(info.dli_fname, ec);
    if (ec) return std::filesystem::path(info.dli_fname).parent_path().string();
    return path.parent_path().string();
}

}  // namespace host
