// The module loader: "Name.dll" is the shared object Name.so in the module
// folder. Modules are reference-counted, and a module's entry (DllMain) is
// called at process attach and detach, as the platform does.
#include "kernel/Kernel.h"

#include <coredll_host.h>

#include <dlfcn.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace {

struct Module {
    std::string path;
    void* dl = nullptr;
    int refs = 0;
    bool pinned = false;  // part of the process from its start: never unloaded
    PDLL_ENTRY entry = nullptr;
};

std::recursive_mutex g_loaderLock;
std::map<uintptr_t, Module> g_modules;  // by HMODULE value
std::vector<uintptr_t> g_loadOrder;
std::set<std::string> g_everLoaded;  // paths this loader has opened itself
uintptr_t g_nextModule = 0x00400000;
const uintptr_t kMainModule = 0x00010000;

HMODULE ToHandle(uintptr_t value) { return reinterpret_cast<HMODULE>(value); }

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// "\Windows\Lumenrest.dll" -> path of Lumenrest.so in the module folder;
// a program ("Tarnwell.exe") is a module of the build too.
std::string ResolveModulePath(LPCWSTR name) {
    std::string text = host::ToUtf8(name);
    size_t slash = text.find_last_of("\\/");
    if (slash != std::string::npos) text = text.substr(slash + 1);
    std::string base = text;
    size_t dot = text.rfind('.');
    if (dot != std::string::npos && (Lower(text.substr(dot)) == ".dll" || Lower(text.substr(dot)) == ".exe"))
        base = text.substr(0, dot);
    else if (dot != std::string::npos)
        return {};  // only modules and programs are ours to map
    if (base.empty()) return {};
    std::string wanted = Lower(base) + ".so";
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(host::ModuleFolder(), ec)) {
        if (Lower(entry.path().filename().string()) == wanted) return entry.path().string();
    }
    return {};
}

uintptr_t FindByPath(const std::string& path) {
    for (const auto& [handle, module] : g_modules)
        if (module.path == path) return handle;
    return 0;
}

// A module the process was linked with is loaded but not ours to attach.
bool LinkedAtStart(const std::string& path) {
    if (g_everLoaded.count(path)) return false;
    void* dl = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!dl) return false;
    dlclose(dl);
    return true;
}

void Detach(uintptr_t handle, Module module) {
    if (module.entry) module.entry(ToHandle(handle), DLL_PROCESS_DETACH, nullptr);
    dlclose(module.dl);
}

}  // namespace

extern "C" HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
    if (!lpLibFileName || !*lpLibFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::string path = ResolveModulePath(lpLibFileName);
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    uintptr_t handle;
    PDLL_ENTRY entry = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
        if (uintptr_t existing = FindByPath(path)) {
            ++g_modules[existing].refs;
            return ToHandle(existing);
        }
        bool linked = LinkedAtStart(path);
        void* dl = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!dl) {
            SetLastError(ERROR_MOD_NOT_FOUND);
            return nullptr;
        }
        Module module;
        module.path = path;
        module.dl = dl;
        module.refs = 1;
        module.pinned = linked;
        if (!linked) {
            module.entry = reinterpret_cast<PDLL_ENTRY>(dlsym(dl, "DllMain"));
            g_everLoaded.insert(path);
        }
        handle = g_nextModule;
        g_nextModule += 0x10000;
        entry = module.entry;
        g_modules.emplace(handle, module);
        g_loadOrder.push_back(handle);
    }
    // The entry runs without the loader lock held, so that it may wait for
    // threads that load or free modules themselves.
    if (entry && !entry(ToHandle(handle), DLL_PROCESS_ATTACH, nullptr)) {
        std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
        auto it = g_modules.find(handle);
        if (it != g_modules.end()) {
            dlclose(it->second.dl);
            g_modules.erase(it);
            std::erase(g_loadOrder, handle);
        }
        SetLastError(ERROR_DLL_INIT_FAILED);
        return nullptr;
    }
    return ToHandle(handle);
}

extern "C" BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
    uintptr_t handle = reinterpret_cast<uintptr_t>(hLibModule);
    Module module;
    {
        std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
        auto it = g_modules.find(handle);
        if (it == g_modules.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        if (--it->second.refs > 0 || it->second.pinned) {
            if (it->second.refs < 1) it->second.refs = 1;
            return TRUE;
        }
        module = it->second;
        g_modules.erase(it);
        std::erase(g_loadOrder, handle);
    }
    Detach(handle, module);
    return TRUE;
}

extern "C" FARPROC WINAPI GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName) {
    uintptr_t handle = reinterpret_cast<uintptr_t>(hModule);
    if (!lpProcName || reinterpret_cast<uintptr_t>(lpProcName) < 0x10000) {
        // Ordinals are not kept: the modules here export by name only.
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    void* dl = nullptr;
    {
        std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
        if (handle == kMainModule) {
            dl = dlopen(nullptr, RTLD_NOW);
        } else {
            auto it = g_modules.find(handle);
            if (it == g_modules.end()) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            dl = it->second.dl;
        }
    }
    void* symbol = dlsym(dl, host::ToUtf8(lpProcName).c_str());
    if (handle == kMainModule) dlclose(dl);
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

extern "C" HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
    if (!lpModuleName) return ToHandle(kMainModule);
    std::string path = ResolveModulePath(lpModuleName);
    std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
    if (!path.empty()) {
        if (uintptr_t existing = FindByPath(path)) return ToHandle(existing);
        if (LinkedAtStart(path)) {
            // A module the process was linked with: known from now on, never unloaded.
            Module module;
            module.path = path;
            module.dl = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
            module.refs = 1;
            module.pinned = true;
            uintptr_t handle = g_nextModule;
            g_nextModule += 0x10000;
            g_modules.emplace(handle, module);
            g_loadOrder.push_back(handle);
            return ToHandle(handle);
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

extern "C" DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    const HMODULE module = hModule ? hModule : GetModuleHandleW(nullptr);
    std::string path;
    if (!lpFilename || nSize == 0 || !kernel::ModuleFile(module, &path)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // The phone's name of the module: the program's folder is \Windows.
    std::filesystem::path file(path);
    const bool program = reinterpret_cast<uintptr_t>(module) == kMainModule;
    std::u16string name = u"\\Windows\\" + host::FromUtf8(file.stem().string()) + (program ? u".exe" : u".dll");
    DWORD copied = static_cast<DWORD>(std::min<size_t>(name.size(), nSize - 1));
    std::copy(name.begin(), name.begin() + copied, lpFilename);
    lpFilename[copied] = 0;
    return copied;
}

namespace host {

void UnloadAllModules() {
    for (;;) {
        uintptr_t handle;
        Module module;
        {
            std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
            auto it = std::find_if(g_loadOrder.rbegin(), g_loadOrder.rend(),
                                   [](uintptr_t h) { return !g_modules[h].pinned; });
            if (it == g_loadOrder.rend()) return;
            handle = *it;
            module = g_modules[handle];
            g_modules.erase(handle);
            std::erase(g_loadOrder, handle);
        }
        Detach(handle, module);
    }
}

}  // namespace host

namespace kernel {

bool ModuleFile(HMODULE hModule, std::string* path) {
    uintptr_t handle = reinterpret_cast<uintptr_t>(hModule);
    std::lock_guard<std::recursive_mutex> lock(g_loaderLock);
    if (handle == kMainModule) {
        std::error_code ec;
        *path = std::filesystem::read_symlink("/proc/self/exe", ec).string();
        return !ec;
    }
    auto it = g_modules.find(handle);
    if (it == g_modules.end()) return false;
    *path = it->second.path;
    return true;
}

}  // namespace kernel
