// Activation and focus. The foreground window is process-wide; every thread
// has its own active and focus window. Messages to a window of another
// thread are queued to it (the caller does not wait for them).
#include "user/WindowSystem.h"

using namespace user;

namespace {

HWND g_foreground = nullptr;

struct Message {
    HWND hwnd;
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};

void Deliver(const std::vector<Message>& messages) {
    for (const Message& m : messages) Notify(m.hwnd, m.msg, m.wParam, m.lParam);
}

bool CanActivateLocked(const Window& w, HWND leaving) {
    return w.handle != leaving && !w.destroying && IsTopLevelLocked(w) && (w.style & WS_VISIBLE) &&
           !(w.style & WS_DISABLED) && !(w.exStyle & WS_EX_NOACTIVATE);
}

// The highest window in front of top that top owns, directly or through
// another owned window, and that can take input; top itself when none can.
HWND LastActivePopupLocked(const Window& top) {
    for (HWND h : GetLocked(DesktopLocked())->children) {
        if (h == top.handle) break;
        Window* c = GetLocked(h);
        if (!c || !CanActivateLocked(*c, nullptr)) continue;
        int guard = 0;
        for (Window* o = GetLocked(c->owner); o && guard < 64; o = GetLocked(o->owner), ++guard) {
            if (o->handle == top.handle) return h;
        }
    }
    return top.handle;
}

// The focus may be given to a window of another thread only when the two are
// related: the target's parent is the caller's, or they share a parent.
bool RelatedToThreadLocked(Window& target, DWORD threadId) {
    Window* parent = GetLocked(target.parent);
    if (!parent || IsDesktopLocked(parent->handle)) return false;
    if (parent->threadId == threadId) return true;
    for (HWND s : parent->children)
        if (Window* sibling = GetLocked(s); sibling && sibling->threadId == threadId) return true;
    for (HWND c : target.children)
        if (Window* child = GetLocked(c); child && child->threadId == threadId) return true;
    return false;
}

}  // namespace

namespace user {

HWND ForegroundLocked() { return GetLocked(g_foreground) ? g_foreground : nullptr; }

void ForgetFocusLocked(HWND hwnd) {
    Window* w = GetLocked(hwnd);
    if (w) {
        if (auto q = QueueOfLocked(*w)) {
            if (q->focus == hwnd) q->focus = nullptr;
            if (q->active == hwnd) q->active = nullptr;
        }
    }
    if (g_foreground == hwnd) g_foreground = nullptr;
}

void Activate(HWND top) {
    std::vector<Message> messages;
    {
        Guard lock(Lock());
        Window* w = GetLocked(top);
        if (!w || w->destroying || !IsTopLevelLocked(*w)) return;
        std::shared_ptr<MessageQueue> q = QueueOfLocked(*w);
        if (!q || q->ended) return;
        BringToTopLocked(*w);
        HWND oldForeground = ForegroundLocked();
        g_foreground = top;
        if (oldForeground && oldForeground != top) {
            Window* old = GetLocked(oldForeground);
            std::shared_ptr<MessageQueue> oldQ = old ? QueueOfLocked(*old) : nullptr;
            if (oldQ && oldQ != q) {
                // The old foreground thread loses its activation and focus.
                if (oldQ->active)
                    messages.push_back({oldQ->active, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top)});
                if (oldQ->focus) messages.push_back({oldQ->focus, WM_KILLFOCUS, reinterpret_cast<WPARAM>(top), 0});
                oldQ->active = nullptr;
                oldQ->focus = nullptr;
            }
        }
        HWND previous = q->active;
        if (previous == top) return;
        q->active = top;
        if (previous && GetLocked(previous))
            messages.push_back({previous, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(top)});
        HWND other = previous ? previous : oldForeground;
        messages.push_back({top, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(other)});
    }
    Deliver(messages);
}

void ActivateOtherIfNeeded(HWND leaving) {
    HWND next = nullptr;
    std::vector<Message> messages;
    {
        Guard lock(Lock());
        Window* w = GetLocked(leaving);
        std::shared_ptr<MessageQueue> q = w ? QueueOfLocked(*w) : nullptr;
        bool isForeground = g_foreground == leaving || !ForegroundLocked();
        bool isActive = q && q->active == leaving;
        if (!isForeground && !isActive) return;
        // Its owner first, then the highest window that can take it.
        if (w) {
            if (Window* owner = GetLocked(w->owner); owner && CanActivateLocked(*owner, leaving)) next = owner->handle;
        }
        if (!next) {
            for (HWND h : GetLocked(DesktopLocked())->children) {
                Window* c = GetLocked(h);
                if (c && CanActivateLocked(*c, leaving)) {
                    next = h;
                    break;
                }
            }
        }
        if (!next) {
            if (g_foreground == leaving) g_foreground = nullptr;
            if (isActive) {
                q->active = nullptr;
                messages.push_back({leaving, WM_ACTIVATE, WA_INACTIVE, 0});
            }
        }
    }
    if (next)
        Activate(next);
    else
        Deliver(messages);
}

}  // namespace user

extern "C" HWND WINAPI GetForegroundWindow(void) {
    Guard lock(Lock());
    return ForegroundLocked();
}

extern "C" BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    // The handle with its low bit set asks for the window together with its
    // owned windows, the highest of them that can take input activated: a
    // program that is started again brings its dialog forward so, with the
    // box it has open in front.
    const bool withOwned = (reinterpret_cast<uintptr_t>(hWnd) & 1) != 0;
    if (withOwned) hWnd = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(hWnd) & ~uintptr_t{1});
    HWND top = nullptr;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w || IsDesktopLocked(hWnd)) return FALSE;
        Window* t = TopLevelOfLocked(w);
        if (!t || t->destroying) return FALSE;
        top = t->handle;
        if (withOwned) {
            BringToTopLocked(*t);
            top = LastActivePopupLocked(*t);
        }
    }
    Activate(top);
    return TRUE;
}

extern "C" HWND WINAPI GetActiveWindow(void) {
    Guard lock(Lock());
    HWND active = CurrentQueueLocked()->active;
    return GetLocked(active) ? active : nullptr;
}

extern "C" HWND WINAPI SetActiveWindow(HWND hWnd) {
    HWND previous = nullptr;
    HWND top = nullptr;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return nullptr;
        if (w->threadId != CurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
        Window* t = TopLevelOfLocked(w);
        if (!t) return nullptr;
        top = t->handle;
        previous = CurrentQueueLocked()->active;
    }
    Activate(top);
    return previous;
}

extern "C" HWND WINAPI GetFocus(void) {
    Guard lock(Lock());
    HWND focus = CurrentQueueLocked()->focus;
    return GetLocked(focus) ? focus : nullptr;
}

extern "C" HWND WINAPI SetFocus(HWND hWnd) {
    std::shared_ptr<MessageQueue> q;
    HWND previous = nullptr;
    HWND top = nullptr;
    {
        Guard lock(Lock());
        if (!hWnd) {
            q = CurrentQueueLocked();
            previous = q->focus;
            q->focus = nullptr;
            lock.unlock();
            if (previous && IsWindow(previous)) Notify(previous, WM_KILLFOCUS, 0, 0);
            return previous;
        }
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return nullptr;
        DWORD self = CurrentThreadId();
        if (w->threadId != self && !RelatedToThreadLocked(*w, self)) {
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
            return nullptr;
        }
        if (w->style & WS_DISABLED) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        q = QueueOfLocked(*w);
        if (!q || q->ended) return nullptr;
        Window* t = TopLevelOfLocked(w);
        top = t ? t->handle : nullptr;
        previous = q->focus;
        if (top && q->active != top) {
            lock.unlock();
            // Activation comes first; its WM_ACTIVATE may move the focus itself.
            Activate(top);
            lock.lock();
            if (!GetLocked(hWnd)) return nullptr;
            previous = q->focus;
        }
        if (previous == hWnd) return previous;
        q->focus = hWnd;
    }
    if (previous && IsWindow(previous)) Notify(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
    if (IsWindow(hWnd)) Notify(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    return previous;
}
