// Sent messages: a direct call on the window's own thread; across threads
// the sender waits until the receiver has handled the message, and handles
// what is sent to its own thread meanwhile.
#include "user/WindowSystem.h"

using namespace user;

namespace {

thread_local int t_inCrossThreadSend = 0;

}  // namespace

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
        ++t_inCrossThreadSend;
        result = proc(sm->hwnd, sm->message, sm->wParam, sm->lParam);
        --t_inCrossThreadSend;
    }
    lock.lock();
    sm->result = result;
    sm->done = true;
    if (sm->sender) sm->sender->wake.notify_all();
    return true;
}

void Notify(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) { SendNotifyMessageW(hwnd, msg, wParam, lParam); }

}  // namespace user

extern "C" LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            Guard lock(Lock());
            tops = GetLocked(DesktopLocked())->children;
        }
        for (HWND h : tops) SendMessageW(h, Msg, wParam, lParam);
        return 0;
    }
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return 0;
    if (w->threadId == CurrentThreadId() || IsDesktopLocked(hWnd)) {
        WNDPROC proc = w->proc;
        lock.unlock();
        return proc(hWnd, Msg, wParam, lParam);
    }
    std::shared_ptr<MessageQueue> target = QueueOfLocked(*w);
    if (!target || target->ended) return 0;
    std::shared_ptr<MessageQueue> self = CurrentQueueLocked();
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hWnd;
    sm->message = Msg;
    sm->wParam = wParam;
    sm->lParam = lParam;
    sm->sender = self;
    target->sent.push_back(sm);
    target->wake.notify_all();
    while (!sm->done && !target->ended) {
        if (HandleOneSentLocked(lock, *self)) continue;
        kernel::WaitUntil(lock, self->wake, kernel::Clock::time_point::max(),
                          [&] { return sm->done || target->ended || !self->sent.empty(); });
    }
    return sm->done ? sm->result : 0;
}

extern "C" BOOL WINAPI SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (hWnd == HWND_BROADCAST) {
        std::vector<HWND> tops;
        {
            Guard lock(Lock());
            tops = GetLocked(DesktopLocked())->children;
        }
        for (HWND h : tops) SendNotifyMessageW(h, Msg, wParam, lParam);
        return TRUE;
    }
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return FALSE;
    if (w->threadId == CurrentThreadId() || IsDesktopLocked(hWnd)) {
        WNDPROC proc = w->proc;
        lock.unlock();
        proc(hWnd, Msg, wParam, lParam);
        return TRUE;
    }
    std::shared_ptr<MessageQueue> target = QueueOfLocked(*w);
    if (!target || target->ended) return FALSE;
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = hWnd;
    sm->message = Msg;
    sm->wParam = wParam;
    sm->lParam = lParam;
    target->sent.push_back(sm);
    target->wake.notify_all();
    return TRUE;
}

extern "C" BOOL WINAPI InSendMessage(void) { return t_inCrossThreadSend > 0 ? TRUE : FALSE; }

extern "C" LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    return lpPrevWndFunc ? lpPrevWndFunc(hWnd, Msg, wParam, lParam) : 0;
}
