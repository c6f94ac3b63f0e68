// The handle table of the process.
#include "kernel/Kernel.h"

#include <unordered_map>

namespace kernel {

namespace {
std::mutex g_handleLock;
std::unordered_map<uintptr_t, std::shared_ptr<Object>> g_handles;
uintptr_t g_nextHandle = 0x1000;
}  // namespace

HANDLE InsertHandle(std::shared_ptr<Object> object) {
    std::lock_guard<std::mutex> lock(g_handleLock);
    uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    g_handles.emplace(value, std::move(object));
    return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<Object> LookupHandle(HANDLE handle) {
    std::lock_guard<std::mutex> lock(g_handleLock);
    auto it = g_handles.find(reinterpret_cast<uintptr_t>(handle));
    return it == g_handles.end() ? nullptr : it->second;
}

bool CloseHandleEntry(HANDLE handle) {
    std::shared_ptr<Object> object;  // released outside the lock
    std::lock_guard<std::mutex> lock(g_handleLock);
    auto it = g_handles.find(reinterpret_cast<uintptr_t>(handle));
    if (it == g_handles.end()) return false;
    object = std::move(it->second);
    g_handles.erase(it);
    return true;
}

}  // namespace kernel

extern "C" BOOL WINAPI CloseHandle(HANDLE hObject) {
    if (!kernel::CloseHandleEntry(hObject)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
