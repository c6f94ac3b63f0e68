// Waiting for the window system to settle, and what the state report reads
// of it.
#include "kernel/Kernel.h"
#include "user/WindowSystem.h"

#include <coredll_host.h>
#include <screen_host.h>

#include <algorithm>
#include <set>
#include <thread>

using namespace user;

namespace host {

namespace {

// The pause between two looks at the threads: short at first, so that a
// settle of a few hundred microseconds is seen as such, then growing to a
// millisecond, so that a long busy spell is looked at no more often than that.
class Backoff {
public:
    void Pause() {
        std::this_thread::sleep_for(pause_);
        pause_ = std::min(pause_ * 2, std::chrono::microseconds(1000));
    }

private:
    std::chrono::microseconds pause_{50};
};

}  // namespace

bool WaitForIdle(unsigned timeoutMs) {
    auto deadline = kernel::Clock::now() + std::chrono::milliseconds(timeoutMs);
    Backoff backoff;
    for (;;) {
        // A thread without windows may still be about to change them (a
        // helper that shows a window, say): every thread has to be waiting
        // too, and none may have moved while the queues were looked at.
        const uint64_t before = kernel::WaitChanges();
        bool busy = !kernel::StartedThreadsWaiting();
        if (!busy) {
            Guard lock(Lock());
            std::set<MessageQueue*> seen;
            // The caller's own queue cannot move while it waits here.
            DWORD self = CurrentThreadId();
            ForEachWindowLocked([&](Window& w) {
                if (w.threadId == self) return;
                auto q = QueueOfLocked(w);
                if (!q || q->ended || !seen.insert(q.get()).second) return;
                if (!QueueIdleLocked(*q)) busy = true;
            });
        }
        if (!busy && kernel::WaitChanges() == before) return true;
        if (kernel::Clock::now() >= deadline) return false;
        backoff.Pause();
    }
}

bool WaitForProgramIdle(DWORD threadId, unsigned timeoutMs) {
    auto deadline = kernel::Clock::now() + std::chrono::milliseconds(timeoutMs);
    Backoff backoff;
    for (;;) {
        {
            Guard lock(Lock());
            std::shared_ptr<MessageQueue> q = QueueOfThreadLocked(threadId);
            if (q && (q->ended || QueueIdleLocked(*q))) return true;
        }
        // A program that ended before it ever waited for a message is idle too.
        if (WaitForProgram(threadId, 0)) return true;
        if (kernel::Clock::now() >= deadline) return false;
        backoff.Pause();
    }
}

bool ForegroundWindowInfo(WindowInfo* info) {
    Guard lock(Lock());
    Window* w = GetLocked(ForegroundLocked());
    if (!w || !info) return false;
    info->className = ToUtf8(w->cls->name);
    info->title = ToUtf8(w->text);
    return true;
}

HWND ForegroundFocus() {
    Guard lock(Lock());
    Window* fg = GetLocked(ForegroundLocked());
    if (!fg) return nullptr;
    std::shared_ptr<MessageQueue> q = QueueOfLocked(*fg);
    return q && GetLocked(q->focus) ? q->focus : nullptr;
}

}  // namespace host
