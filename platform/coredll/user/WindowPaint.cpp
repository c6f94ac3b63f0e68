// Painting glue: update regions, WM_PAINT, BeginPaint/EndPaint and window
// DCs. A top-level window owns a cairo surface of its size; its children
// draw into it, offset and clipped to themselves and their parents.
#include "gdi/SurfaceDC.h"
#include "user/KeptSurface.h"
#include "user/WindowSystem.h"

using namespace user;

namespace {

RECT Intersect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
    if (r.right < r.left) r.right = r.left;
    if (r.bottom < r.top) r.bottom = r.top;
    return r;
}

bool Empty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

RECT Offset(RECT r, LONG dx, LONG dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// A top-level window's picture is cut at this many pixels a side. The
// phone's screen is a few hundred pixels across, and a window made far
// larger (a template's size, a MoveWindow) would otherwise cost memory in
// proportion: 3.6 GB for a square of 30,000. What lies past the cut is off
// any screen the platform shows, and drawing there is clipped away, as
// drawing off the phone's screen is.
const int kMaxSurfaceSide = 2048;

// The picture of the last top-level window made, used again by the next
// one of its size once that window and its DCs are gone: a dialog made
// again and again takes no fresh pages.
KeptSurface g_windowPicture;

cairo_surface_t* NewWindowSurface(int width, int height) {
    cairo_surface_t* s =
        g_windowPicture.Take(std::clamp(width, 1, kMaxSurfaceSide), std::clamp(height, 1, kMaxSurfaceSide));
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_destroy(cr);
    return s;
}

void EnsureSurfaceLocked(Window& top) {
    if (!top.surface) top.surface = NewWindowSurface(top.rect.right - top.rect.left, top.rect.bottom - top.rect.top);
}

// What a DC of the window needs: the top-level surface (referenced), the
// DC's origin and its clip, both in surface coordinates.
bool DCPlaceLocked(Window& w, bool client, cairo_surface_t** surface, POINT* origin, RECT* clip) {
    Window* top = TopLevelOfLocked(&w);
    if (!top) return false;
    EnsureSurfaceLocked(*top);
    RECT topScreen = ScreenRectLocked(*top);
    RECT area = ScreenRectLocked(w);
    if (client) {
        POINT o = ClientOriginLocked(w);
        RECT c = ClientAreaLocked(w);
        area = RECT{o.x, o.y, o.x + (c.right - c.left), o.y + (c.bottom - c.top)};
    }
    *origin = POINT{area.left - topScreen.left, area.top - topScreen.top};
    RECT r = Offset(area, -topScreen.left, -topScreen.top);
    for (Window* p = GetLocked(w.parent); p && !IsDesktopLocked(p->handle); p = GetLocked(p->parent)) {
        POINT o = ClientOriginLocked(*p);
        RECT c = ClientAreaLocked(*p);
        RECT pc{o.x, o.y, o.x + (c.right - c.left), o.y + (c.bottom - c.top)};
        r = Intersect(r, Offset(pc, -topScreen.left, -topScreen.top));
    }
    *clip = r;
    *surface = cairo_surface_reference(top->surface);
    return true;
}

HDC WindowDC(HWND hwnd, bool client, const RECT* limit) {
    cairo_surface_t* surface = nullptr;
    POINT origin{};
    RECT clip{};
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hwnd);
        if (!w) return nullptr;
        if (!DCPlaceLocked(*w, client, &surface, &origin, &clip)) return nullptr;
    }
    if (limit) clip = Intersect(clip, Offset(*limit, origin.x, origin.y));
    HDC dc = gdi::CreateSurfaceDC(surface, origin, clip, hwnd);
    cairo_surface_destroy(surface);
    return dc;
}

HDC ScreenDC() {
    cairo_surface_t* screen = ComposeScreen(nullptr);
    if (!screen) return nullptr;
    RECT all{0, 0, cairo_image_surface_get_width(screen), cairo_image_surface_get_height(screen)};
    HDC dc = gdi::CreateSurfaceDC(screen, POINT{0, 0}, all, nullptr);
    cairo_surface_destroy(screen);
    return dc;
}

// The frame of a bordered window: the one piece of a window the system
// draws itself.
void DrawBorder(HWND hwnd) {
    cairo_surface_t* surface = nullptr;
    POINT origin{};
    RECT clip{};
    RECT own{};
    {
        Guard lock(Lock());
        Window* w = GetLocked(hwnd);
        if (!w || !(w->style & (WS_BORDER | WS_DLGFRAME))) return;
        if (!DCPlaceLocked(*w, false, &surface, &origin, &clip)) return;
        own = RECT{origin.x, origin.y, origin.x + (w->rect.right - w->rect.left),
                   origin.y + (w->rect.bottom - w->rect.top)};
    }
    {
        std::lock_guard<std::recursive_mutex> pixels(gdi::Lock());
        cairo_t* cr = cairo_create(surface);
        cairo_rectangle(cr, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top);
        cairo_clip(cr);
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, own.left + 0.5, own.top + 0.5, own.right - own.left - 1, own.bottom - own.top - 1);
        cairo_stroke(cr);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }
    cairo_surface_destroy(surface);
    ScreenChanged();
}

}  // namespace

namespace user {

void InvalidateLocked(Window& w, const RECT* clientRect, bool erase) {
    RECT c = ClientAreaLocked(w);
    RECT whole{0, 0, c.right - c.left, c.bottom - c.top};
    RECT r = clientRect ? Intersect(*clientRect, whole) : whole;
    if (Empty(r)) return;
    if (w.invalid) {
        w.update = RECT{std::min(w.update.left, r.left), std::min(w.update.top, r.top),
                        std::max(w.update.right, r.right), std::max(w.update.bottom, r.bottom)};
    } else {
        w.update = r;
        w.invalid = true;
    }
    w.erase = w.erase || erase;
    if (auto q = QueueOfLocked(w)) q->wake.notify_all();
    // Children over the invalidated part are invalidated with it, so that
    // they paint again after their parent.
    for (HWND h : w.children) {
        Window* child = GetLocked(h);
        if (!child || !(child->style & WS_VISIBLE)) continue;
        RECT part = Intersect(r, child->rect);
        if (Empty(part)) continue;
        RECT cc = ClientAreaLocked(*child);
        RECT local = Offset(part, -(child->rect.left + cc.left), -(child->rect.top + cc.top));
        InvalidateLocked(*child, &local, erase);
    }
}

HWND PaintPendingLocked(const MessageQueue& q, HWND filter) {
    HWND found = nullptr;
    ForEachWindowLocked([&](Window& w) {
        if (found || w.threadId != q.threadId || !w.invalid || w.destroying) return;
        if (filter && filter != reinterpret_cast<HWND>(-1) && w.handle != filter &&
            !IsDescendantLocked(filter, w.handle))
            return;
        if (filter == reinterpret_cast<HWND>(-1)) return;
        if (IsVisibleLocked(w)) found = w.handle;
    });
    return found;
}

void ResizeSurfaceLocked(Window& w) {
    if (!w.surface) return;
    cairo_surface_t* old = w.surface;
    w.surface = NewWindowSurface(w.rect.right - w.rect.left, w.rect.bottom - w.rect.top);
    // The old picture stays in place until the window repaints.
    std::lock_guard<std::recursive_mutex> pixels(gdi::Lock());
    cairo_t* cr = cairo_create(w.surface);
    cairo_set_source_surface(cr, old, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(old);
}

cairo_surface_t* WindowSurfaceLocked(Window& top) {
    EnsureSurfaceLocked(top);
    return top.surface;
}

}  // namespace user

extern "C" HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint) {
    if (!lpPaint) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT update{};
    bool erase = false;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return nullptr;
        if (w->invalid) update = w->update;
        erase = w->erase;
        w->invalid = false;
        w->erase = false;
        w->update = RECT{};
    }
    if (erase) DrawBorder(hWnd);
    HDC dc = WindowDC(hWnd, true, &update);
    if (!dc) return nullptr;
    bool erased = false;
    if (erase) erased = SendMessageW(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) != 0;
    *lpPaint = PAINTSTRUCT{};
    lpPaint->hdc = dc;
    lpPaint->fErase = erase && !erased;
    lpPaint->rcPaint = update;
    return dc;
}

extern "C" BOOL WINAPI EndPaint(HWND, const PAINTSTRUCT* lpPaint) {
    if (!lpPaint || !lpPaint->hdc) return FALSE;
    gdi::DestroySurfaceDC(lpPaint->hdc);
    ScreenChanged();
    return TRUE;
}

extern "C" BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase) {
    Guard lock(Lock());
    if (!hWnd) {
        // Every window of the screen.
        for (HWND h : GetLocked(DesktopLocked())->children)
            if (Window* w = GetLocked(h)) InvalidateLocked(*w, nullptr, bErase != FALSE);
        return TRUE;
    }
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return FALSE;
    InvalidateLocked(*w, lpRect, bErase != FALSE);
    return TRUE;
}

extern "C" BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return FALSE;
    if (!w->invalid) return TRUE;
    // The update region is kept as its bounding rectangle: a rectangle that
    // covers it validates the window, a smaller one leaves it as it was.
    if (!lpRect || (lpRect->left <= w->update.left && lpRect->top <= w->update.top &&
                    lpRect->right >= w->update.right && lpRect->bottom >= w->update.bottom)) {
        w->invalid = false;
        w->erase = false;
        w->update = RECT{};
    }
    return TRUE;
}

extern "C" BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hWnd);
    if (!w) return FALSE;
    if (lpRect) *lpRect = w->invalid ? w->update : RECT{};
    return w->invalid ? TRUE : FALSE;
}

extern "C" BOOL WINAPI UpdateWindow(HWND hWnd) {
    std::vector<HWND> pending;
    {
        Guard lock(Lock());
        Window* w = CheckWindowLocked(hWnd);
        if (!w) return FALSE;
        std::function<void(Window&)> collect = [&](Window& x) {
            if (!(x.style & WS_VISIBLE)) return;
            if (x.invalid) pending.push_back(x.handle);
            for (HWND c : x.children)
                if (Window* child = GetLocked(c)) collect(*child);
        };
        if (IsVisibleLocked(*w)) collect(*w);
    }
    for (HWND h : pending) {
        Guard lock(Lock());
        Window* w = GetLocked(h);
        bool still = w && w->invalid;
        lock.unlock();
        if (still) SendMessageW(h, WM_PAINT, 0, 0);
    }
    return TRUE;
}

extern "C" HDC WINAPI GetDC(HWND hWnd) {
    if (!hWnd) return ScreenDC();
    {
        Guard lock(Lock());
        if (IsDesktopLocked(hWnd)) {
            lock.unlock();
            return ScreenDC();
        }
    }
    return WindowDC(hWnd, true, nullptr);
}

extern "C" HDC WINAPI GetWindowDC(HWND hWnd) {
    if (!hWnd) return ScreenDC();
    return WindowDC(hWnd, false, nullptr);
}

extern "C" int WINAPI ReleaseDC(HWND, HDC hDC) {
    if (!hDC) return 0;
    gdi::DestroySurfaceDC(hDC);
    ScreenChanged();
    return 1;
}
