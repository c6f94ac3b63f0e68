// The handle table of windows, the desktop window, and the per-thread
// message queues with what happens to them when a thread ends.
#include "user/WindowSystem.h"

#include <screen_host.h>

#include <map>

namespace user {

namespace {

std::map<uintptr_t, std::shared_ptr<Window>> g_windows;
uintptr_t g_nextHandle = 0x10010;  // handles are never reused
HWND g_desktop = nullptr;
std::once_flag g_hookOnce;
// The queues by thread, so that no thread reads another's kernel record.
std::map<DWORD, std::weak_ptr<MessageQueue>> g_queues;

WindowClass& DesktopClass() {
    static WindowClass cls = [] {
        WindowClass c;
        c.name = u"#32769";
        c.system = true;
        c.wc.lpfnWndProc = DefWindowProcW;
        c.wc.lpszClassName = nullptr;
        return c;
    }();
    cls.wc.lpszClassName = cls.name.c_str();
    return cls;
}

void OnThreadExit(kernel::Thread& thread) {
    auto q = std::static_pointer_cast<MessageQueue>(thread.messageQueue);
    if (!q) return;
    std::vector<HWND> reactivate, removed;
    {
        Guard lock(Lock());
        q->ended = true;
        g_queues.erase(thread.id);
        // Senders waiting on this thread get 0 at once.
        for (auto& sm : q->sent) {
            sm->done = true;
            sm->result = 0;
            if (sm->sender) sm->sender->wake.notify_all();
        }
        q->sent.clear();
        q->posted.clear();
        q->timers.clear();
        HWND fg = ForegroundLocked();
        Window* fgWindow = GetLocked(fg);
        bool lostForeground = fgWindow && fgWindow->threadId == thread.id;
        DestroyThreadWindowsLocked(thread.id, &removed);
        if (lostForeground) reactivate.push_back(fg);
    }
    ForgetDestroyedDialogs(removed);
    for (HWND gone : reactivate) ActivateOtherIfNeeded(gone);
}

}  // namespace

Window::~Window() {
    if (surface) cairo_surface_destroy(surface);
}

std::mutex& Lock() {
    static std::mutex lock;
    return lock;
}

Window* GetLocked(HWND hwnd) {
    if (!hwnd) return nullptr;
    auto it = g_windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == g_windows.end() ? nullptr : it->second.get();
}

std::shared_ptr<Window> FindLocked(HWND hwnd) {
    auto it = g_windows.find(reinterpret_cast<uintptr_t>(hwnd));
    return it == g_windows.end() ? nullptr : it->second;
}

HWND NewHandleLocked(std::shared_ptr<Window> window) {
    uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    HWND hwnd = reinterpret_cast<HWND>(value);
    window->handle = hwnd;
    g_windows[value] = std::move(window);
    return hwnd;
}

void ForgetHandleLocked(HWND hwnd) { g_windows.erase(reinterpret_cast<uintptr_t>(hwnd)); }

HWND DesktopLocked() {
    if (g_desktop) return g_desktop;
    auto w = std::make_shared<Window>();
    WindowClass& cls = DesktopClass();
    w->cls = std::shared_ptr<WindowClass>(&cls, [](WindowClass*) {});
    w->proc = DefWindowProcW;
    w->style = WS_VISIBLE | WS_CLIPCHILDREN;
    host::ScreenProfile p = host::GetScreenProfile();
    w->rect = RECT{0, 0, p.width, p.height};
    g_desktop = NewHandleLocked(w);
    return g_desktop;
}

bool IsDesktopLocked(HWND hwnd) { return hwnd && hwnd == g_desktop; }

bool IsTopLevelLocked(const Window& w) { return w.parent && w.parent == g_desktop; }

Window* TopLevelOfLocked(Window* w) {
    while (w && !IsTopLevelLocked(*w)) {
        if (IsDesktopLocked(w->handle)) return nullptr;
        w = GetLocked(w->parent);
    }
    return w;
}

bool IsDescendantLocked(HWND ancestor, HWND hwnd) {
    for (Window* w = GetLocked(hwnd); w; w = GetLocked(w->parent)) {
        if (w->handle == ancestor) return true;
        if (IsDesktopLocked(w->handle)) break;
    }
    return false;
}

bool IsVisibleLocked(const Window& w) {
    for (const Window* p = &w; p; p = GetLocked(p->parent)) {
        if (!(p->style & WS_VISIBLE)) return false;
        if (IsDesktopLocked(p->handle)) break;
    }
    return true;
}

void ForEachWindowLocked(const std::function<void(Window&)>& fn) {
    std::function<void(HWND)> walk = [&](HWND hwnd) {
        std::shared_ptr<Window> w = FindLocked(hwnd);
        if (!w) return;
        fn(*w);
        std::vector<HWND> children = w->children;  // fn may not relink, but stay safe
        for (HWND c : children) walk(c);
    };
    std::shared_ptr<Window> desktop = FindLocked(DesktopLocked());
    std::vector<HWND> tops = desktop->children;
    for (HWND t : tops) walk(t);
}

DWORD CurrentThreadId() { return kernel::CurrentThread()->id; }

std::shared_ptr<MessageQueue> CurrentQueueLocked() {
    std::call_once(g_hookOnce, [] { kernel::AddThreadExitHook(OnThreadExit); });
    std::shared_ptr<kernel::Thread> thread = kernel::CurrentThread();
    if (!thread->messageQueue) {
        auto q = std::make_shared<MessageQueue>();
        q->threadId = thread->id;
        thread->messageQueue = q;
        g_queues[thread->id] = q;
    }
    return std::static_pointer_cast<MessageQueue>(thread->messageQueue);
}

std::shared_ptr<MessageQueue> QueueOfThreadLocked(DWORD threadId) {
    auto it = g_queues.find(threadId);
    return it == g_queues.end() ? nullptr : it->second.lock();
}

std::shared_ptr<MessageQueue> QueueOfLocked(const Window& w) { return w.queue.lock(); }

Window* CheckWindowLocked(HWND hwnd) {
    Window* w = GetLocked(hwnd);
    if (!w) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

}  // namespace user
