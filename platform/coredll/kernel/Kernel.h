// Kernel objects behind HANDLEs, and the threads of the process. Internal
// to coredll (the window system builds its queues on these).
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace kernel {

class Object {
public:
    virtual ~Object() = default;
};

// An object a thread can wait for.
class Waitable : public Object {
public:
    std::mutex mutex;
    std::condition_variable changed;

    // Both called with the mutex held: whether a wait would end now, and
    // what ending a wait does to the object (an auto-reset event resets).
    virtual bool IsSignalled() const = 0;
    virtual void Acquire() {}
};

class Event : public Waitable {
public:
    Event(bool manualReset, bool initialState) : manualReset_(manualReset), signalled_(initialState) {}
    bool IsSignalled() const override { return signalled_; }
    void Acquire() override {
        if (!manualReset_) signalled_ = false;
    }
    void Set();
    void Reset();

private:
    bool manualReset_;
    bool signalled_;
};

class Thread : public Waitable {
public:
    explicit Thread(DWORD id) : id(id) {}
    bool IsSignalled() const override { return ended; }

    const DWORD id;
    bool ended = false;             // guarded by mutex
    DWORD exitCode = STILL_ACTIVE;  // guarded by mutex
    // Set by TerminateThread; the thread stops at its next platform wait.
    std::atomic<bool> terminated{false};
    // Started by CreateThread (not a thread of the host that called in).
    bool started = false;
    // How deep in a platform wait the thread is: 0 while it runs.
    std::atomic<int> waiting{0};
    // The wait it blocks in, while it does (guarded by siteLock): a wait
    // whose condition already holds is a thread about to run.
    std::mutex siteLock;
    std::mutex* siteMutex = nullptr;
    const std::function<bool()>* sitePredicate = nullptr;
    // Per-thread state that other parts of coredll hang on a thread (the
    // window system's message queue), destroyed when the thread ends.
    std::shared_ptr<void> messageQueue;

    // Marks the thread ended with the code and wakes its waiters.
    void Finish(DWORD code);
};

// Whether every thread CreateThread started, but the caller, is in a
// platform wait or has ended: nothing is left running that could still
// change what the device shows.
bool StartedThreadsWaiting();
// Changes with every start of a thread and every entry to or exit from a
// wait: equal before and after a look, nothing moved meanwhile.
uint64_t WaitChanges();
void EnterWait(Thread& t);
void LeaveWait(Thread& t);
// A wait on mutex that ends once wakes() holds: the idle look reads it.
void EnterWaitAt(Thread& t, std::mutex* mutex, const std::function<bool()>* wakes);
void LeaveWaitAt(Thread& t);

// The handle table. Handles are never reused, so a stale handle is refused.
HANDLE InsertHandle(std::shared_ptr<Object> object);
std::shared_ptr<Object> LookupHandle(HANDLE handle);
template <class T>
std::shared_ptr<T> Lookup(HANDLE handle) {
    return std::dynamic_pointer_cast<T>(LookupHandle(handle));
}
bool CloseHandleEntry(HANDLE handle);

// The calling thread (made on first use for threads the platform did not
// start, such as the process's main thread).
std::shared_ptr<Thread> CurrentThread();
std::shared_ptr<Thread> ThreadById(DWORD id);

// Called on a thread as it ends (normally, by ExitThread, or when it stops
// after TerminateThread), before its handle is signalled.
void AddThreadExitHook(std::function<void(Thread&)> hook);

// Blocks on cv (lock held on mutex) until pred() holds or the deadline
// passes; returns pred(). A wait of the platform: a terminated thread stops
// here for good.
using Clock = std::chrono::steady_clock;
bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Clock::time_point deadline,
               const std::function<bool()>& pred);
Clock::time_point DeadlineAfter(DWORD milliseconds);

// Stops the calling thread for good if TerminateThread was called on it.
void CheckTerminated();

// The file of a loaded module (the program itself for the main module), for
// the resource loader.
bool ModuleFile(HMODULE module, std::string* path);

}  // namespace kernel
