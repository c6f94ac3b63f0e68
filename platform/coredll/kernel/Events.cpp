// Events and waits.
#include "kernel/Kernel.h"

#include <kfuncs.h>

#include <map>
#include <string>

using namespace kernel;

namespace {

// Named events are shared within the process.
std::mutex g_namesLock;
std::map<std::u16string, std::weak_ptr<Event>> g_namedEvents;

std::shared_ptr<Waitable> WaitableFor(HANDLE handle) {
    if (handle == GetCurrentThread()) return CurrentThread();
    return Lookup<Waitable>(handle);
}

}  // namespace

extern "C" HANDLE WINAPI CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) {
    if (lpName && *lpName) {
        std::u16string name(lpName);
        std::lock_guard<std::mutex> lock(g_namesLock);
        if (auto existing = g_namedEvents[name].lock()) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return InsertHandle(existing);
        }
        auto event = std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE);
        g_namedEvents[name] = event;
        SetLastError(ERROR_SUCCESS);
        return InsertHandle(event);
    }
    SetLastError(ERROR_SUCCESS);
    return InsertHandle(std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE));
}

extern "C" BOOL WINAPI EventModify(HANDLE hEvent, DWORD func) {
    std::shared_ptr<Event> event = Lookup<Event>(hEvent);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Pulsing is not offered: nothing here needs its race-prone semantics.
    if (func != EVENT_SET && func != EVENT_RESET) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    std::unique_lock<std::mutex> lock(event->mutex);
    switch (func) {
        case EVENT_SET:
            event->Set();
            break;
        case EVENT_RESET:
            event->Reset();
            break;
    }
    return TRUE;
}

extern "C" BOOL WINAPI SetEvent(HANDLE hEvent) { return EventModify(hEvent, EVENT_SET); }
extern "C" BOOL WINAPI ResetEvent(HANDLE hEvent) { return EventModify(hEvent, EVENT_RESET); }

extern "C" DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    std::shared_ptr<Waitable> object = WaitableFor(hHandle);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return WAIT_FAILED;
    }
    std::unique_lock<std::mutex> lock(object->mutex);
    Waitable* w = object.get();
    if (!WaitUntil(lock, object->changed, DeadlineAfter(dwMilliseconds), [w] { return w->IsSignalled(); }))
        return WAIT_TIMEOUT;
    object->Acquire();
    return WAIT_OBJECT_0;
}
