// The emulated device of this process: the folder that holds its stores.
#include <coredll_host.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <mutex>

namespace host {

namespace {
std::mutex g_deviceLock;
std::string g_folder;
std::atomic<unsigned> g_generation{0};
// The open device's lock file: held shared by every process that uses the
// device, exclusively by one that makes it anew.
int g_lockFile = -1;

const char kLockFile[] = "device.lock";
// How long a process waits for another one to finish making the device.
const int kMakeWaitMs = 30000;

void ReleaseLockFile() {
    if (g_lockFile >= 0) close(g_lockFile);
    g_lockFile = -1;
}

// Takes the folder's lock file, shared or exclusive; false with *error when
// another process keeps it from us.
bool TakeLockFile(const std::string& folder, bool exclusive, std::string* error) {
    // Our own lock on this device changes mode in place: a second lock of
    // this process would stand against the first.
    if (g_lockFile >= 0 && folder == g_folder) {
        if (flock(g_lockFile, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return true;
        if (error) *error = folder + " is in use by another process (end it first)";
        return false;
    }
    int fd = open((folder + "/" + kLockFile).c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        if (error) *error = "cannot use the device folder " + folder;
        return false;
    }
    if (exclusive) {
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close(fd);
            if (error) *error = folder + " is in use by another process (end it first)";
            return false;
        }
    } else {
        // Another process making the device anew holds it for a moment.
        int waited = 0;
        while (flock(fd, LOCK_SH | LOCK_NB) != 0) {
            if (waited >= kMakeWaitMs) {
                close(fd);
                if (error) *error = "the device in " + folder + " was busy: another process is making it anew";
                return false;
            }
            usleep(10000);
            waited += 10;
        }
    }
    ReleaseLockFile();
    g_lockFile = fd;
    return true;
}

bool OpenDeviceFolder(const std::string& folder, bool exclusive, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder, ec)) {
        if (error) *error = "cannot create the device folder " + folder;
        return false;
    }
    std::string absolute = std::filesystem::absolute(folder, ec).lexically_normal().string();
    while (absolute.size() > 1 && absolute.back() == '/') absolute.pop_back();
    std::lock_guard<std::mutex> lock(g_deviceLock);
    if (!TakeLockFile(absolute, exclusive, error)) return false;
    g_folder = absolute;
    g_generation.fetch_add(1);
    return true;
}
}  // namespace

bool OpenDevice(const std::string& folder, std::string* error) { return OpenDeviceFolder(folder, false, error); }

bool OpenDeviceExclusive(const std::string& folder, std::string* error) {
    return OpenDeviceFolder(folder, true, error);
}

void CloseDevice() {
    std::lock_guard<std::mutex> lock(g_deviceLock);
    ReleaseLockFile();
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
