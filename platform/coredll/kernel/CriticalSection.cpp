// Critical sections: recursive locks owned by one thread at a time.
#include "kernel/Kernel.h"

#include <mutex>

namespace {
std::recursive_mutex* LockOf(LPCRITICAL_SECTION lpcs) { return static_cast<std::recursive_mutex*>(lpcs->hCrit); }
}  // namespace

extern "C" void WINAPI InitializeCriticalSection(LPCRITICAL_SECTION lpcs) {
    lpcs->LockCount = 0;
    lpcs->OwnerThread = nullptr;
    lpcs->needtrap = 0;
    lpcs->dwContentions = 0;
    lpcs->hCrit = new std::recursive_mutex;
}

extern "C" void WINAPI DeleteCriticalSection(LPCRITICAL_SECTION lpcs) {
    delete LockOf(lpcs);
    lpcs->hCrit = nullptr;
}

extern "C" void WINAPI EnterCriticalSection(LPCRITICAL_SECTION lpcs) {
    LockOf(lpcs)->lock();
    lpcs->OwnerThread = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(GetCurrentThreadId()));
    ++lpcs->LockCount;
}

extern "C" void WINAPI LeaveCriticalSection(LPCRITICAL_SECTION lpcs) {
    if (--lpcs->LockCount == 0) lpcs->OwnerThread = nullptr;
    LockOf(lpcs)->unlock();
}
