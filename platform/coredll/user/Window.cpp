// Making and destroying windows, and finding them.
#include "user/WindowSystem.h"

#include "user/Dialog.h"

#include <coredll_host.h>
#include <screen_host.h>

namespace user {

namespace {

void MarkDestroyingLocked(Window& w) {
    w.destroying = true;
    for (HWND c : w.children)
        if (Window* child = GetLocked(c)) MarkDestroyingLocked(*child);
}

// Takes a window and what is left of its children out of the system; the
// handles taken out are added to removed.
void RemoveLocked(HWND hwnd, std::vector<HWND>* removed) {
    std::shared_ptr<Window> w = FindLocked(hwnd);
    if (!w) return;
    std::vector<HWND> children = w->children;
    for (HWND c : children) RemoveLocked(c, removed);
    UnlinkWindowLocked(*w);
    RemoveTimersOfLocked(hwnd);
    RemoveHotKeysOfLocked(hwnd);
    ForgetFocusLocked(hwnd);
    w->cls->windows--;
    ForgetHandleLocked(hwnd);
    removed->push_back(hwnd);
}

void SendDestroy(HWND hwnd) {
    CallWindowProcOf(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        Guard lock(Lock());
        if (Window* w = GetLocked(hwnd)) children = w->children;
    }
    for (HWND c : children) SendDestroy(c);
}

void FinalDestroy(HWND hwnd) {
    std::vector<HWND> children;
    {
        Guard lock(Lock());
        if (Window* w = GetLocked(hwnd)) children = w->children;
    }
    for (HWND c : children) FinalDestroy(c);
    CallWindowProcOf(hwnd, WM_NCDESTROY, 0, 0);
    std::vector<HWND> removed;
    {
        Guard lock(Lock());
        RemoveLocked(hwnd, &removed);
    }
    ForgetDestroyedDialogs(removed);
}

}  // namespace

void DestroyThreadWindowsLocked(DWORD threadId, std::vector<HWND>* removed) {
    std::vector<HWND> doomed;
    ForEachWindowLocked([&](Window& w) {
        if (w.threadId == threadId && !IsDesktopLocked(w.handle)) doomed.push_back(w.handle);
    });
    // Parents come before their children, so a child may already be gone.
    for (HWND h : doomed) RemoveLocked(h, removed);
    // Other threads' windows that they owned are orphaned, as the platform does.
    ForEachWindowLocked([&](Window& w) {
        if (w.owner && !GetLocked(w.owner)) w.owner = nullptr;
    });
}

// What the dialog manager kept of windows gone goes with them, whatever
// their class: a dialog of a private class need not pass its last message
// to DefDlgProc. Without the window lock, since the kept font is a GDI
// object.
void ForgetDestroyedDialogs(const std::vector<HWND>& removed) {
    for (HWND gone : removed) dialog::ForgetState(gone);
}

}  // namespace user

using namespace user;

extern "C" HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X,
                                       int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                                       HINSTANCE hInstance, LPVOID lpParam) {
    HWND hwnd = nullptr;
    {
        Guard lock(Lock());
        long error = ERROR_NOT_ENOUGH_MEMORY;
        if (host::ShouldFail("CreateWindowExW", &error)) {
            SetLastError(static_cast<DWORD>(error));
            return nullptr;
        }
        std::shared_ptr<WindowClass> cls = FindClassLocked(lpClassName, hInstance);
        if (!cls) {
            SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
            return nullptr;
        }
        HWND parent = nullptr, owner = nullptr;
        if (dwStyle & WS_CHILD) {
            if (!hWndParent) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
            if (!CheckWindowLocked(hWndParent)) return nullptr;
            parent = hWndParent;
        } else {
            parent = DesktopLocked();
            if (hWndParent) {
                Window* o = CheckWindowLocked(hWndParent);
                if (!o) return nullptr;
                Window* top = TopLevelOfLocked(o);
                owner = top ? top->handle : nullptr;
            }
        }
        auto w = std::make_shared<Window>();
        w->threadId = CurrentThreadId();
        w->queue = CurrentQueueLocked();
        w->cls = cls;
        w->proc = cls->wc.lpfnWndProc;
        w->instance = hInstance;
        w->style = dwStyle & ~WS_VISIBLE;
        w->exStyle = dwExStyle;
        w->id = (dwStyle & WS_CHILD) ? reinterpret_cast<LONG_PTR>(hMenu) : 0;
        w->parent = parent;
        w->owner = owner;
        if (lpWindowName) w->text = lpWindowName;
        w->extra.assign(static_cast<size_t>(cls->wc.cbWndExtra), 0);
        bool topLevel = !(dwStyle & WS_CHILD);
        if (X == CW_USEDEFAULT) X = Y = 0;
        if (nWidth == CW_USEDEFAULT) {
            // A default-sized top-level window covers the screen.
            host::ScreenProfile p = host::GetScreenProfile();
            nWidth = topLevel ? p.width : 0;
            nHeight = topLevel ? p.height : 0;
        }
        w->rect = RECT{X, Y, X + std::max(0, nWidth), Y + std::max(0, nHeight)};
        hwnd = NewHandleLocked(w);
        cls->windows++;
        LinkWindowLocked(*w);
        InvalidateLocked(*w, nullptr, true);
    }
    CREATESTRUCTW cs{lpParam,      hInstance,   hMenu,    hWndParent, nHeight, nWidth, Y, X, static_cast<LONG>(dwStyle),
                     lpWindowName, lpClassName, dwExStyle};
    if (CallWindowProcOf(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    RECT client{};
    POINT origin{};
    {
        Guard lock(Lock());
        Window* w = GetLocked(hwnd);
        if (!w || w->destroying) return nullptr;
        client = ClientAreaLocked(*w);
        origin = POINT{w->rect.left + client.left, w->rect.top + client.top};
    }
    CallWindowProcOf(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
    CallWindowProcOf(hwnd, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
    if (dwStyle & WS_VISIBLE) ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

extern "C" BOOL WINAPI DestroyWindow(HWND hWnd) {
    std::vector<HWND> owned;
    HWND parent = nullptr;
    bool focusInside = false, wasActive = false, topLevel = false;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return FALSE;
        if (IsDesktopLocked(hWnd) || w->threadId != CurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        if (w->destroying) return TRUE;
        MarkDestroyingLocked(*w);
        topLevel = IsTopLevelLocked(*w);
        parent = topLevel ? nullptr : w->parent;
        ForEachWindowLocked([&](Window& o) {
            if (o.owner != hWnd) return;
            if (o.threadId == w->threadId)
                owned.push_back(o.handle);
            else
                o.owner = nullptr;
        });
        std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
        focusInside = q->focus && IsDescendantLocked(hWnd, q->focus);
        wasActive = q->active == hWnd || ForegroundLocked() == hWnd;
        w->style &= ~WS_VISIBLE;
    }
    for (HWND o : owned) DestroyWindow(o);
    if (focusInside && !topLevel) SetFocus(parent);
    if (wasActive) ActivateOtherIfNeeded(hWnd);
    SendDestroy(hWnd);
    FinalDestroy(hWnd);
    return TRUE;
}

extern "C" BOOL WINAPI IsWindow(HWND hWnd) {
    Guard lock(Lock());
    return GetLocked(hWnd) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsWindowVisible(HWND hWnd) {
    Guard lock(Lock());
    Window* w = GetLocked(hWnd);
    return w && IsVisibleLocked(*w) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsWindowEnabled(HWND hWnd) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    return w && !(w->style & WS_DISABLED) ? TRUE : FALSE;
}

extern "C" BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable) {
    bool wasDisabled = false;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return FALSE;
        wasDisabled = (w->style & WS_DISABLED) != 0;
        if (wasDisabled == !bEnable) return wasDisabled ? TRUE : FALSE;
        if (bEnable)
            w->style &= ~WS_DISABLED;
        else
            w->style |= WS_DISABLED;
    }
    if (!bEnable) {
        // A disabled window cannot keep the focus.
        Guard lock(Lock());
        std::shared_ptr<MessageQueue> q = CurrentQueueLocked();
        bool hadFocus = q->focus && IsDescendantLocked(hWnd, q->focus);
        lock.unlock();
        if (hadFocus) SetFocus(nullptr);
    }
    SendMessageW(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

extern "C" BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd) {
    Guard lock(Lock());
    Window* w = GetLocked(hWnd);
    if (!w || !GetLocked(hWndParent) || hWndParent == hWnd) return FALSE;
    // Only a chain of WS_CHILD windows makes a child.
    for (Window* p = w; p && (p->style & WS_CHILD); p = GetLocked(p->parent))
        if (p->parent == hWndParent) return TRUE;
    return FALSE;
}

extern "C" HWND WINAPI GetParent(HWND hWnd) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return nullptr;
    // A child's parent; for a top-level window, its owner.
    if (w->style & WS_CHILD) return w->parent;
    return GetLocked(w->owner) ? w->owner : nullptr;
}

extern "C" HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWndChild);
    if (!w || IsDesktopLocked(hWndChild)) return nullptr;
    HWND newParent = hWndNewParent ? hWndNewParent : DesktopLocked();
    Window* p = CheckWindowLocked(newParent);
    if (!p || IsDescendantLocked(hWndChild, newParent)) {
        if (p) SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HWND old = w->parent;
    UnlinkWindowLocked(*w);
    w->parent = newParent;
    if (IsDesktopLocked(newParent)) w->style &= ~WS_CHILD;
    LinkWindowLocked(*w);
    if (Window* top = TopLevelOfLocked(w)) InvalidateLocked(*top, nullptr, true);
    return old;
}

extern "C" HWND WINAPI GetDesktopWindow(void) {
    Guard lock(Lock());
    return DesktopLocked();
}

extern "C" HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName) {
    Guard lock(Lock());
    bool byAtom = lpClassName && reinterpret_cast<ULONG_PTR>(lpClassName) < 0x10000;
    Window* desktop = GetLocked(DesktopLocked());
    for (HWND h : desktop->children) {
        Window* w = GetLocked(h);
        if (!w || w->destroying) continue;
        if (byAtom && w->cls->atom != static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(lpClassName))) continue;
        if (lpClassName && !byAtom && _wcsicmp(w->cls->name.c_str(), lpClassName) != 0) continue;
        if (lpWindowName && w->text != std::u16string_view(lpWindowName)) continue;
        return h;
    }
    return nullptr;
}

extern "C" HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hDlg);
    if (!w) return nullptr;
    for (HWND c : w->children) {
        Window* child = GetLocked(c);
        if (child && static_cast<int>(child->id) == nIDDlgItem) return c;
    }
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

extern "C" int WINAPI GetDlgCtrlID(HWND hWnd) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return 0;
    return (w->style & WS_CHILD) ? static_cast<int>(w->id) : 0;
}

extern "C" DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return 0;
    if (lpdwProcessId) *lpdwProcessId = GetCurrentProcessId();
    return w->threadId;
}
