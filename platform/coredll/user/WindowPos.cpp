// Moving, sizing, showing and stacking windows: SetWindowPos and the calls
// built on it, with WM_WINDOWPOSCHANGED (whose default handling sends
// WM_MOVE and WM_SIZE) and WM_SHOWWINDOW as the platform sends them.
#include "user/WindowSystem.h"

using namespace user;

namespace {

struct DeferList : kernel::Object {
    struct Entry {
        HWND hwnd;
        HWND after;
        int x, y, cx, cy;
        UINT flags;
    };
    std::mutex mutex;
    std::vector<Entry> entries;
};

bool ActivatingShow(int cmd) {
    return cmd == SW_SHOWNORMAL || cmd == SW_SHOW || cmd == SW_SHOWMAXIMIZED || cmd == SW_RESTORE;
}

}  // namespace

extern "C" BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    WINDOWPOS wp{};
    bool activate = false, hidden = false;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return FALSE;
        if (IsDesktopLocked(hWnd)) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
        RECT old = w->rect;
        RECT now = old;
        if (!(uFlags & SWP_NOMOVE)) {
            now.right = X + (old.right - old.left);
            now.bottom = Y + (old.bottom - old.top);
            now.left = X;
            now.top = Y;
        }
        if (!(uFlags & SWP_NOSIZE)) {
            now.right = now.left + std::max(0, cx);
            now.bottom = now.top + std::max(0, cy);
        }
        bool moved = now.left != old.left || now.top != old.top;
        bool sized = (now.right - now.left) != (old.right - old.left) ||
                     (now.bottom - now.top) != (old.bottom - old.top);
        if (!(uFlags & SWP_NOZORDER)) {
            if (hWndInsertAfter == HWND_TOPMOST) {
                w->exStyle |= WS_EX_TOPMOST;
                BringToTopLocked(*w);
            } else if (hWndInsertAfter == HWND_NOTOPMOST) {
                w->exStyle &= ~WS_EX_TOPMOST;
                BringToTopLocked(*w);
            } else if (hWndInsertAfter == HWND_TOP) {
                BringToTopLocked(*w);
            } else if (hWndInsertAfter == HWND_BOTTOM) {
                MoveToBottomLocked(*w);
            } else {
                PlaceAfterLocked(*w, hWndInsertAfter);
            }
        }
        bool wasVisible = (w->style & WS_VISIBLE) != 0;
        if ((uFlags & SWP_SHOWWINDOW) && !wasVisible) w->style |= WS_VISIBLE;
        if ((uFlags & SWP_HIDEWINDOW) && wasVisible) {
            w->style &= ~WS_VISIBLE;
            hidden = true;
        }
        w->rect = now;
        if (sized && IsTopLevelLocked(*w)) ResizeSurfaceLocked(*w);
        if (!(uFlags & SWP_NOREDRAW)) {
            if (sized || ((uFlags & SWP_SHOWWINDOW) && !wasVisible)) InvalidateLocked(*w, nullptr, true);
            // What a child uncovered or moved over is its parent's to repaint.
            if ((moved || sized || hidden) && !IsTopLevelLocked(*w))
                if (Window* parent = GetLocked(w->parent)) InvalidateLocked(*parent, nullptr, true);
        }
        activate = !(uFlags & SWP_NOACTIVATE) && IsTopLevelLocked(*w) && (w->style & WS_VISIBLE) &&
                   !(w->exStyle & WS_EX_NOACTIVATE) && !(w->style & WS_DISABLED);
        wp.hwnd = hWnd;
        wp.hwndInsertAfter = hWndInsertAfter;
        wp.x = now.left;
        wp.y = now.top;
        wp.cx = now.right - now.left;
        wp.cy = now.bottom - now.top;
        wp.flags = uFlags | (moved ? 0 : SWP_NOMOVE) | (sized ? 0 : SWP_NOSIZE);
    }
    ScreenChanged();
    SendMessageW(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
    if (activate) Activate(hWnd);
    if (hidden) ActivateOtherIfNeeded(hWnd);
    return TRUE;
}

extern "C" BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint) {
    return SetWindowPos(hWnd, HWND_TOP, X, Y, nWidth, nHeight,
                        SWP_NOZORDER | SWP_NOACTIVATE | (bRepaint ? 0 : SWP_NOREDRAW));
}

extern "C" BOOL WINAPI BringWindowToTop(HWND hWnd) {
    return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

extern "C" BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    bool wasVisible = false, child = false;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return FALSE;
        wasVisible = (w->style & WS_VISIBLE) != 0;
        child = !IsTopLevelLocked(*w);
    }
    bool show = nCmdShow != SW_HIDE;
    bool activate = ActivatingShow(nCmdShow);
    // A child is neither activated nor restacked by being shown: controls
    // made visible keep their creation (tab) order.
    if (child) {
        if (show == wasVisible) return wasVisible ? TRUE : FALSE;
        SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
        SetWindowPos(
            hWnd, nullptr, 0, 0, 0, 0,
            SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
        return wasVisible ? TRUE : FALSE;
    }
    if (show == wasVisible) {
        if (show && activate) SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return wasVisible ? TRUE : FALSE;
    }
    SendMessageW(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    UINT flags = SWP_NOMOVE | SWP_NOSIZE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW | SWP_NOZORDER) |
                 (activate ? 0 : SWP_NOACTIVATE);
    SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, flags);
    return wasVisible ? TRUE : FALSE;
}

extern "C" HDWP WINAPI BeginDeferWindowPos(int nNumWindows) {
    if (nNumWindows < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto list = std::make_shared<DeferList>();
    list->entries.reserve(static_cast<size_t>(nNumWindows));
    return kernel::InsertHandle(list);
}

extern "C" HDWP WINAPI DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                                      UINT uFlags) {
    auto list = kernel::Lookup<DeferList>(hWinPosInfo);
    if (!list) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(list->mutex);
    list->entries.push_back({hWnd, hWndInsertAfter, x, y, cx, cy, uFlags});
    return hWinPosInfo;
}

extern "C" BOOL WINAPI EndDeferWindowPos(HDWP hWinPosInfo) {
    auto list = kernel::Lookup<DeferList>(hWinPosInfo);
    if (!list) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::vector<DeferList::Entry> entries;
    {
        std::lock_guard<std::mutex> lock(list->mutex);
        entries.swap(list->entries);
    }
    kernel::CloseHandleEntry(hWinPosInfo);
    BOOL ok = TRUE;
    for (const auto& e : entries)
        if (!SetWindowPos(e.hwnd, e.after, e.x, e.y, e.cx, e.cy, e.flags)) ok = FALSE;
    return ok;
}
