// Threads: CreateThread, their ends, and the waits every blocking call of
// the platform goes through.
#include "kernel/Kernel.h"

#include <coredll_host.h>

#include <pthread.h>
#include <sched.h>

#include <thread>
#include <vector>

namespace kernel {

namespace {

std::atomic<DWORD> g_nextThreadId{0x100};
std::mutex g_threadsLock;
std::vector<std::weak_ptr<Thread>> g_threads;  // every thread the platform knows
std::mutex g_hooksLock;
std::vector<std::function<void(Thread&)>> g_exitHooks;

thread_local std::shared_ptr<Thread> t_current;
// Bumped whenever a thread starts or enters or leaves a wait, so that a
// look at all threads can tell whether any moved while it looked.
std::atomic<uint64_t> g_waitChanges{0};

}  // namespace

void EnterWait(Thread& t) {
    ++t.waiting;
    ++g_waitChanges;
}

void LeaveWait(Thread& t) {
    --t.waiting;
    ++g_waitChanges;
}

void EnterWaitAt(Thread& t, std::mutex* mutex, const std::function<bool()>* wakes) {
    std::lock_guard<std::mutex> site(t.siteLock);
    t.siteMutex = mutex;
    t.sitePredicate = wakes;
    EnterWait(t);
}

void LeaveWaitAt(Thread& t) {
    std::lock_guard<std::mutex> site(t.siteLock);
    t.siteMutex = nullptr;
    t.sitePredicate = nullptr;
    LeaveWait(t);
}

namespace {

// `started` for a thread CreateThread makes, set before the thread is in the
// list where the idle wait reads it.
std::shared_ptr<Thread> NewThread(bool started) {
    auto thread = std::make_shared<Thread>(g_nextThreadId.fetch_add(4));
    thread->started = started;
    std::lock_guard<std::mutex> lock(g_threadsLock);
    std::erase_if(g_threads, [](const std::weak_ptr<Thread>& w) { return w.expired(); });
    g_threads.push_back(thread);
    ++g_waitChanges;
    return thread;
}

void RunExitHooks(Thread& thread) {
    std::vector<std::function<void(Thread&)>> hooks;
    {
        std::lock_guard<std::mutex> lock(g_hooksLock);
        hooks = g_exitHooks;
    }
    for (auto& hook : hooks) hook(thread);
}

// Ends the calling thread's life as the platform sees it, exactly once.
struct ThreadEnd {
    std::shared_ptr<Thread> thread;
    DWORD code = 0;
    ~ThreadEnd() {
        RunExitHooks(*thread);
        thread->Finish(code);
        thread->messageQueue.reset();
    }
};
thread_local ThreadEnd* t_end = nullptr;

struct StartInfo {
    std::shared_ptr<Thread> thread;
    LPTHREAD_START_ROUTINE routine;
    LPVOID parameter;
};

void* ThreadMain(void* arg) {
    std::unique_ptr<StartInfo> start(static_cast<StartInfo*>(arg));
    t_current = start->thread;
    ThreadEnd end{start->thread};
    t_end = &end;
    end.code = start->routine(start->parameter);
    t_end = nullptr;
    return nullptr;
    // ~ThreadEnd also runs when ExitThread unwinds this frame.
}

[[noreturn]] void ParkForever() {
    // A terminated thread must not run on, nor unwind through code that may
    // no longer be there: it waits here until the process ends.
    for (;;) pause();
}

}  // namespace

void Event::Set() {
    signalled_ = true;
    changed.notify_all();
}

void Event::Reset() { signalled_ = false; }

void Thread::Finish(DWORD code) {
    std::lock_guard<std::mutex> lock(mutex);
    if (ended) return;
    ended = true;
    exitCode = code;
    changed.notify_all();
}

std::shared_ptr<Thread> CurrentThread() {
    if (!t_current) t_current = NewThread(false);
    return t_current;
}

std::shared_ptr<Thread> ThreadById(DWORD id) {
    std::lock_guard<std::mutex> lock(g_threadsLock);
    for (auto& w : g_threads)
        if (auto t = w.lock(); t && t->id == id) return t;
    return nullptr;
}

uint64_t WaitChanges() { return g_waitChanges.load(); }

namespace {

// Whether the thread waits and will go on waiting: its wait's condition
// does not hold yet. A wait that cannot be looked at now counts as over.
bool StillWaiting(Thread& t) {
    if (t.waiting.load() == 0) return false;
    std::lock_guard<std::mutex> site(t.siteLock);
    if (!t.siteMutex) return true;
    std::unique_lock<std::mutex> waited(*t.siteMutex, std::try_to_lock);
    return waited.owns_lock() && !(*t.sitePredicate)();
}

}  // namespace

bool StartedThreadsWaiting() {
    const Thread* self = t_current.get();
    std::vector<std::shared_ptr<Thread>> threads;
    {
        std::lock_guard<std::mutex> lock(g_threadsLock);
        for (auto& w : g_threads)
            if (std::shared_ptr<Thread> t = w.lock(); t && t.get() != self && t->started) threads.push_back(t);
    }
    for (const std::shared_ptr<Thread>& t : threads) {
        {
            std::lock_guard<std::mutex> ended(t->mutex);
            if (t->ended) continue;
        }
        if (!StillWaiting(*t)) return false;
    }
    return true;
}

void AddThreadExitHook(std::function<void(Thread&)> hook) {
    std::lock_guard<std::mutex> lock(g_hooksLock);
    g_exitHooks.push_back(std::move(hook));
}

void CheckTerminated() {
    std::shared_ptr<Thread> self = t_current;
    if (!self || !self->terminated.load()) return;
    RunExitHooks(*self);
    self->messageQueue.reset();
    ParkForever();
}

Clock::time_point DeadlineAfter(DWORD milliseconds) {
    if (milliseconds == INFINITE) return Clock::time_point::max();
    return Clock::now() + std::chrono::milliseconds(milliseconds);
}

bool WaitUntil(std::unique_lock<std::mutex>& lock, std::condition_variable& cv, Clock::time_point deadline,
               const std::function<bool()>& pred) {
    // Terminate requests are noticed within this slice.
    constexpr auto kSlice = std::chrono::milliseconds(50);
    for (;;) {
        if (t_current && t_current->terminated.load()) {
            lock.unlock();
            CheckTerminated();
        }
        if (pred()) return true;
        auto now = Clock::now();
        if (now >= deadline) return false;
        auto until = deadline - now > kSlice ? now + kSlice : deadline;
        Thread* self = t_current.get();
        if (self) EnterWaitAt(*self, lock.mutex(), &pred);
        cv.wait_until(lock, until);
        if (self) LeaveWaitAt(*self);
    }
}

}  // namespace kernel

using namespace kernel;

namespace host {

OutsideWait::OutsideWait(std::mutex& lock, std::function<bool()> wakes) : wakes_(std::move(wakes)) {
    kernel::EnterWaitAt(*kernel::CurrentThread(), &lock, &wakes_);
}

OutsideWait::~OutsideWait() { kernel::LeaveWaitAt(*kernel::CurrentThread()); }

}  // namespace host

extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES, DWORD, LPTHREAD_START_ROUTINE lpStartAddr,
                                      LPVOID lpvThreadParam, DWORD, LPDWORD lpIDThread) {
    if (!lpStartAddr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    long error = ERROR_NOT_ENOUGH_MEMORY;
    if (host::ShouldFail("CreateThread", &error)) {
        SetLastError(static_cast<DWORD>(error));
        return nullptr;
    }
    std::shared_ptr<Thread> thread = NewThread(true);
    auto* start = new StartInfo{thread, lpStartAddr, lpvThreadParam};
    pthread_attr_t attr;
    pthread_attr_init(&attr);
    pthread_attr_setdetachstate(&attr, PTHREAD_CREATE_DETACHED);
    pthread_t id;
    int rc = pthread_create(&id, &attr, ThreadMain, start);
    pthread_attr_destroy(&attr);
    if (rc != 0) {
        delete start;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpIDThread) *lpIDThread = thread->id;
    return InsertHandle(thread);
}

extern "C" void WINAPI ExitThread(DWORD dwExitCode) {
    if (t_end) {
        t_end->code = dwExitCode;
        pthread_exit(nullptr);  // unwinds to ThreadMain, whose ThreadEnd finishes the thread
    }
    // A thread the platform did not start: end its platform life, then the thread.
    std::shared_ptr<Thread> self = CurrentThread();
    RunExitHooks(*self);
    self->Finish(dwExitCode);
    pthread_exit(nullptr);
}

extern "C" BOOL WINAPI TerminateThread(HANDLE hThread, DWORD dwExitCode) {
    std::shared_ptr<Thread> thread = Lookup<Thread>(hThread);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (thread.get() == t_current.get()) ExitThread(dwExitCode);
    thread->terminated.store(true);
    thread->Finish(dwExitCode);
    return TRUE;
}

extern "C" BOOL WINAPI GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode) {
    std::shared_ptr<Thread> thread = Lookup<Thread>(hThread);
    if (!thread || !lpExitCode) {
        SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard<std::mutex> lock(thread->mutex);
    *lpExitCode = thread->exitCode;
    return TRUE;
}

extern "C" DWORD WINAPI GetCurrentThreadId(void) { return CurrentThread()->id; }

// The pseudo-handle of the calling thread, as the platform has it.
extern "C" HANDLE WINAPI GetCurrentThread(void) { return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-2)); }

extern "C" DWORD WINAPI GetCurrentProcessId(void) { return static_cast<DWORD>(getpid()); }

extern "C" void WINAPI Sleep(DWORD dwMilliseconds) {
    CheckTerminated();
    if (dwMilliseconds == 0) {
        sched_yield();
        return;
    }
    // A sleeping thread waits for nothing but its own time: it runs on by
    // itself, so it is no wait that host::WaitForIdle may take for a
    // settled thread (a handler polling for a key to come up, say).
    constexpr auto kSlice = std::chrono::milliseconds(50);
    const Clock::time_point deadline = DeadlineAfter(dwMilliseconds);
    for (;;) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) return;
        std::this_thread::sleep_until(deadline - now > kSlice ? now + kSlice : deadline);
        CheckTerminated();
    }
}
