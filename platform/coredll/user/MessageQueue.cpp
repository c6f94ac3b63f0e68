// The per-thread queue: posted messages, WM_QUIT, WM_PAINT and WM_TIMER,
// in the order the platform retrieves them (sent messages are handled
// before any of these), and the message loop calls.
#include "user/WindowSystem.h"

#include <algorithm>

using namespace user;

namespace {

bool MatchesWindow(HWND filter, HWND hwnd) {
    if (!filter) return true;
    if (filter == reinterpret_cast<HWND>(-1)) return hwnd == nullptr;
    return hwnd == filter || IsDescendantLocked(filter, hwnd);
}

bool InRange(UINT msg, UINT min, UINT max) { return (min == 0 && max == 0) || (msg >= min && msg <= max); }

MSG Make(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = GetTickCount();
    return m;
}

// The next message the thread would retrieve, after the sent ones.
bool NextLocked(MessageQueue& q, MSG* out, HWND filter, UINT min, UINT max, bool remove) {
    for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
        if (!InRange(it->message, min, max) || !MatchesWindow(filter, it->hwnd)) continue;
        *out = *it;
        if (remove) q.posted.erase(it);
        return true;
    }
    if (q.quit && InRange(WM_QUIT, min, max)) {
        *out = Make(nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0);
        if (remove) q.quit = false;
        return true;
    }
    if (InRange(WM_PAINT, min, max)) {
        if (HWND hwnd = PaintPendingLocked(q, filter)) {
            // WM_PAINT stays until the window is validated.
            *out = Make(hwnd, WM_PAINT, 0, 0);
            return true;
        }
    }
    if (InRange(WM_TIMER, min, max)) {
        auto now = kernel::Clock::now();
        Timer* due = nullptr;
        for (Timer& t : q.timers)
            if (t.due <= now && MatchesWindow(filter, t.hwnd) && (!due || t.due < due->due)) due = &t;
        if (due) {
            *out = Make(due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc));
            if (remove) due->due = now + std::chrono::milliseconds(due->elapse);
            return true;
        }
    }
    return false;
}

kernel::Clock::time_point NextTimerLocked(const MessageQueue& q) {
    auto next = kernel::Clock::time_point::max();
    for (const Timer& t : q.timers) next = std::min(next, t.due);
    return next;
}

bool ValidFilter(HWND hWnd) { return !hWnd || hWnd == reinterpret_cast<HWND>(-1) || CheckWindowLocked(hWnd); }

UINT_PTR g_nextTimerId = 0x7FFF0000;

}  // namespace

namespace user {

void PostLocked(MessageQueue& q, const MSG& msg, bool front) {
    if (front)
        q.posted.push_front(msg);
    else
        q.posted.push_back(msg);
    q.wake.notify_all();
}

void RemoveTimersOfLocked(HWND hwnd) {
    Window* w = GetLocked(hwnd);
    if (!w) return;
    if (auto q = QueueOfLocked(*w)) std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hwnd; });
}

bool QueueIdleLocked(const MessageQueue& q) {
    MSG scratch;
    return q.waiting && q.sent.empty() && !NextLocked(const_cast<MessageQueue&>(q), &scratch, nullptr, 0, 0, false);
}

}  // namespace user

extern "C" BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (!hWnd) return PostThreadMessageW(GetCurrentThreadId(), Msg, wParam, lParam);
    if (hWnd == HWND_BROADCAST) {
        Guard lock(Lock());
        for (HWND h : GetLocked(DesktopLocked())->children)
            if (Window* w = GetLocked(h))
                if (auto q = QueueOfLocked(*w); q && !q->ended) PostLocked(*q, Make(h, Msg, wParam, lParam));
        return TRUE;
    }
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return FALSE;
    std::shared_ptr<MessageQueue> q = QueueOfLocked(*w);
    if (!q || q->ended) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    PostLocked(*q, Make(hWnd, Msg, wParam, lParam));
    return TRUE;
}

extern "C" BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q;
    if (idThread == CurrentThreadId())
        q = CurrentQueueLocked();
    else
        q = QueueOfThreadLocked(idThread);
    // A thread that has not yet called a window function has no queue.
    if (!q || q->ended) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    PostLocked(*q, Make(nullptr, Msg, wParam, lParam));
    return TRUE;
}

extern "C" void WINAPI PostQuitMessage(int nExitCode) {
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
    q->quit = true;
    q->quitCode = nExitCode;
    q->wake.notify_all();
}

extern "C" BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax) {
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    Guard lock(Lock());
    if (!ValidFilter(hWnd)) return -1;
    std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
    MSG scratch;
    for (;;) {
        while (HandleOneSentLocked(lock, *q)) {
        }
        if (NextLocked(*q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, true)) break;
        q->waiting = true;
        kernel::WaitUntil(lock, q->wake, NextTimerLocked(*q), [&] {
            return !q->sent.empty() || NextLocked(*q, &scratch, hWnd, wMsgFilterMin, wMsgFilterMax, false);
        });
        q->waiting = false;
    }
    return lpMsg->message == WM_QUIT ? FALSE : TRUE;
}

extern "C" BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    if (!lpMsg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    kernel::CheckTerminated();
    Guard lock(Lock());
    if (!ValidFilter(hWnd)) return FALSE;
    std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
    while (HandleOneSentLocked(lock, *q)) {
    }
    if (!NextLocked(*q, lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, (wRemoveMsg & PM_REMOVE) != 0)) return FALSE;
    return TRUE;
}

extern "C" BOOL WINAPI WaitMessage(void) {
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
    MSG scratch;
    q->waiting = true;
    kernel::WaitUntil(lock, q->wake, NextTimerLocked(*q),
                      [&] { return !q->sent.empty() || NextLocked(*q, &scratch, nullptr, 0, 0, false); });
    q->waiting = false;
    return TRUE;
}

extern "C" DWORD WINAPI GetQueueStatus(UINT flags) {
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
    MSG scratch;
    DWORD status = 0;
    if (!q->sent.empty()) status |= QS_SENDMESSAGE;
    for (const MSG& m : q->posted)
        status |= (m.message >= WM_KEYFIRST && m.message <= WM_KEYLAST) ? QS_KEY : QS_POSTMESSAGE;
    if (q->quit) status |= QS_POSTMESSAGE;
    if (PaintPendingLocked(*q, nullptr)) status |= QS_PAINT;
    if (NextLocked(*q, &scratch, nullptr, WM_TIMER, WM_TIMER, false)) status |= QS_TIMER;
    return status & flags;
}

extern "C" BOOL WINAPI TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg) return FALSE;
    UINT m = lpMsg->message;
    if (m != WM_KEYDOWN && m != WM_KEYUP && m != WM_SYSKEYDOWN && m != WM_SYSKEYUP) return FALSE;
    if (m != WM_KEYDOWN) return TRUE;
    WPARAM vk = lpMsg->wParam;
    WCHAR ch = 0;
    bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    if (vk >= '0' && vk <= '9')
        ch = static_cast<WCHAR>(vk);
    else if (vk >= 'A' && vk <= 'Z')
        ch = static_cast<WCHAR>(shift ? vk : vk + ('a' - 'A'));
    else if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        ch = static_cast<WCHAR>('0' + (vk - VK_NUMPAD0));
    else {
        switch (vk) {
            case VK_SPACE:
                ch = u' ';
                break;
            case VK_RETURN:
                ch = u'\r';
                break;
            case VK_ESCAPE:
                ch = 0x1B;
                break;
            case VK_BACK:
                ch = 0x08;
                break;
            case VK_TAB:
                ch = u'\t';
                break;
            case VK_TSTAR:
            case VK_MULTIPLY:
                ch = u'*';
                break;
            case VK_TPOUND:
                ch = u'#';
                break;
            case VK_ADD:
                ch = u'+';
                break;
            case VK_SUBTRACT:
                ch = u'-';
                break;
            default:
                break;
        }
    }
    if (!ch) return TRUE;
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
    // The character comes right after its key, before anything queued later.
    MSG c = Make(lpMsg->hwnd, WM_CHAR, ch, lpMsg->lParam);
    PostLocked(*q, c, true);
    return TRUE;
}

extern "C" LRESULT WINAPI DispatchMessageW(const MSG* lpMsg) {
    if (!lpMsg) return 0;
    if (lpMsg->message == WM_TIMER && lpMsg->lParam) {
        reinterpret_cast<TIMERPROC>(lpMsg->lParam)(lpMsg->hwnd, WM_TIMER, lpMsg->wParam, GetTickCount());
        return 0;
    }
    if (!lpMsg->hwnd) return 0;
    WNDPROC proc = nullptr;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(lpMsg->hwnd);
        if (!w) return 0;
        if (w->threadId != CurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return 0;
        }
        proc = w->proc;
    }
    return proc(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

extern "C" UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc) {
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q;
    if (hWnd) {
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return 0;
        q = QueueOfLocked(*w);
        if (!q || q->ended) return 0;
    } else {
        q = CurrentQueueLocked();
        // Without a window the platform chooses the identifier.
        bool existing = std::any_of(q->timers.begin(), q->timers.end(),
                                    [&](const Timer& t) { return !t.hwnd && t.id == nIDEvent; });
        if (!existing) nIDEvent = g_nextTimerId++;
    }
    std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hWnd && t.id == nIDEvent; });
    Timer t;
    t.hwnd = hWnd;
    t.id = nIDEvent;
    t.elapse = std::max<UINT>(uElapse, 1);
    t.proc = lpTimerFunc;
    t.due = kernel::Clock::now() + std::chrono::milliseconds(t.elapse);
    q->timers.push_back(t);
    q->wake.notify_all();
    return hWnd ? (nIDEvent ? nIDEvent : 1) : nIDEvent;
}

extern "C" BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent) {
    Guard lock(Lock());
    std::shared_ptr<MessageQueue> q;
    if (hWnd) {
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return FALSE;
        q = QueueOfLocked(*w);
    } else {
        q = CurrentQueueLocked();
    }
    if (!q) return FALSE;
    size_t removed = std::erase_if(q->timers, [&](const Timer& t) { return t.hwnd == hWnd && t.id == uIDEvent; });
    return removed ? TRUE : FALSE;
}
