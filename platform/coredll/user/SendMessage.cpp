// Sent messages: a direct call on the window's own thread; across threads
// the sender waits until the receiver has handled the message, and handles
// what is sent to its own thread meanwhile.
#include "user/WindowSystem.h"

using namespace user;

namespace user {

LRESULT CallWindowProcOf(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    WNDPROC proc = nullptr;
    {
        Guard lock(Lock());
        if (Window* w = GetLocked(hwnd)) proc = w->proc;
    }
    return proc ? proc(hwnd, msg, wParam, lParam) : 0;
}

bool HandleOneSentLocked(Guard& lock, MessageQueue& q) {
    if (q.sent.empty()) return false;
    std::shared_ptr<SentMessage> sm = q.sent.front();
    q.sent.pop_front();
    WNDPROC proc = nullptr;
    if (Window* w = GetLocked(sm->hwnd)) proc = w->proc;
    lock.unlock();
    LRESULT result = 0;
    if (proc) {
        result = proc(sm->hwnd, sm->message, sm->wParam, sm->lParam);
    }
    lock.lock();
    sm->result = result;
    sm->done = true;
    if (sm->sender) sm->sender->wake.notify_all();
    return true;
}

void Notify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { SendNotifyMessageW(hwnd, msg, wParam, lParam); }

}  // namespace user

namespace {

std::vector<HWND> TopLevelWindows() {
    Guard lock(Lock());
    return GetLocked(DesktopLocked())->children;
}

enum class Route { None, Direct, Queued };

// Where a message sent to hwnd goes: to its procedure at once, on the
// window's own thread (the desktop's is everybody's), or into the queue of
// the window's thread. None for a dead window or an ended thread.
Route RouteLocked(HWND hwnd, WNDPROC* proc, std::shared_ptr<MessageQueue>* target) {
    Window* w = CheckWindowLocked(hwnd);
    if (!w) return Route::None;
    if (w->threadId == CurrentThreadId() || IsDesktopLocked(hwnd)) {
        *proc = w->proc;
        return Route::Direct;
    }
    *target = QueueOfLocked(*w);
    if (!*target || (*target)->ended) return Route::None;
    return Route::Queued;
}

// sender is the queue that waits for the result, null for a notification.
std::shared_ptr<SentMessage> QueueSentLocked(MessageQueue& target, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                             std::shared_ptr<MessageQueue> sender) {
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hwnd;
    sm->message = msg;
    sm->wParam = wParam;
    sm->lParam = lParam;
    sm->sender = std::move(sender);
    target.sent.push_back(sm);
    target.wake.notify_all();
    return sm;
}

}  // namespace

extern "C" LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        for (HWND h : TopLevelWindows()) SendMessageW(h, Msg, wParam, lParam);
        return 0;
    }
    Guard lock(Lock());
    WNDPROC proc = nullptr;
    std::shared_ptr<MessageQueue> target;
    switch (RouteLocked(hWnd, &proc, &target)) {
        case Route::None:
            return 0;
        case Route::Direct:
            lock.unlock();
            return proc(hWnd, Msg, wParam, lParam);
        case Route::Queued:
            break;
    }
    std::shared_ptr<MessageQueue> self = CurrentQueueLocked();
    std::shared_ptr<SentMessage> sm = QueueSentLocked(*target, hWnd, Msg, wParam, lParam, self);
    while (!sm->done && !target->ended) {
        if (HandleOneSentLocked(lock, *self)) continue;
        kernel::WaitUntil(lock, self->wake, kernel::Clock::time_point::max(),
                          [&] { return sm->done || target->ended || !self->sent.empty(); });
    }
    return sm->done ? sm->result : 0;
}

extern "C" BOOL WINAPI SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        for (HWND h : TopLevelWindows()) SendNotifyMessageW(h, Msg, wParam, lParam);
        return TRUE;
    }
    Guard lock(Lock());
    WNDPROC proc = nullptr;
    std::shared_ptr<MessageQueue> target;
    switch (RouteLocked(hWnd, &proc, &target)) {
        case Route::None:
            return FALSE;
        case Route::Direct:
            lock.unlock();
            proc(hWnd, Msg, wParam, lParam);
            return TRUE;
        case Route::Queued:
            break;
    }
    QueueSentLocked(*target, hWnd, Msg, wParam, lParam, nullptr);
    return TRUE;
}

extern "C" LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}
