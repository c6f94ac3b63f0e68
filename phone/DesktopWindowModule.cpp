// Loading the window module from the executable's own folder. It is never
// unloaded: the desktop toolkit keeps threads and handlers of its own.
#include "DesktopWindow.h"

#include <dlfcn.h>

#include <filesystem>

namespace phone {

std::unique_ptr<DesktopWindow> MakeDesktopWindow(int scale, const std::string& title, std::string* error) {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec) {
        *error = "cannot find the emulator's own folder: " + ec.message();
        return nullptr;
    }
    const std::string path = (exe.parent_path() / "phone_window.so").string();
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        *error = why ? why : "cannot load " + path;
        return nullptr;
    }
    auto create = reinterpret_cast<CreateDesktopWindowProc>(dlsym(module, PHONE_CREATE_DESKTOP_WINDOW));
    if (!create) {
        *error = path + " has no " PHONE_CREATE_DESKTOP_WINDOW;
        return nullptr;
    }
    std::unique_ptr<DesktopWindow> window(create(scale, title.c_str()));
    if (!window) *error = "no memory for the window";
    return window;
}

}  // namespace phone
