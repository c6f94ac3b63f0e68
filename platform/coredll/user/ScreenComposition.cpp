// The screen: the visible top-level windows composed in z-order over the
// desktop, for GetDC(NULL) and for screenshots.
#include "gdi/SurfaceDC.h"
#include "user/WindowSystem.h"

#include <screen_host.h>

using namespace user;

namespace user {

cairo_surface_t* ComposeScreen(bool* asleep) {
    host::ScreenProfile p = host::GetScreenProfile();
    struct Layer {
        cairo_surface_t* surface;
        RECT rect;
    };
    std::vector<Layer> layers;  // bottom first
    {
        Guard lock(Lock());
        const std::vector<HWND>& tops = GetLocked(DesktopLocked())->children;
        for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
            Window* w = GetLocked(*it);
            if (!w || !(w->style & WS_VISIBLE)) continue;
            layers.push_back({cairo_surface_reference(WindowSurfaceLocked(*w)), ScreenRectLocked(*w)});
        }
    }
    cairo_surface_t* screen = cairo_image_surface_create(CAIRO_FORMAT_RGB24, std::max(1, p.width),
                                                         std::max(1, p.height));
    bool dark = asleep && !host::ScreenIsOn();
    if (asleep) *asleep = dark;
    {
        std::lock_guard<std::recursive_mutex> pixels(gdi::Lock());
        cairo_t* cr = cairo_create(screen);
        if (dark) {
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_paint(cr);
        } else {
            COLORREF desk = GetSysColor(COLOR_BACKGROUND);
            cairo_set_source_rgb(cr, GetRValue(desk) / 255.0, GetGValue(desk) / 255.0, GetBValue(desk) / 255.0);
            cairo_paint(cr);
            for (const Layer& l : layers) {
                cairo_set_source_surface(cr, l.surface, l.rect.left, l.rect.top);
                cairo_rectangle(cr, l.rect.left, l.rect.top, l.rect.right - l.rect.left, l.rect.bottom - l.rect.top);
                cairo_fill(cr);
            }
        }
        cairo_destroy(cr);
        cairo_surface_flush(screen);
    }
    for (const Layer& l : layers) cairo_surface_destroy(l.surface);
    return screen;
}

}  // namespace user

namespace host {

bool SaveScreenshot(const std::string& path, std::string* error) {
    WaitForIdle();
    bool asleep = false;
    cairo_surface_t* screen = ComposeScreen(&asleep);
    cairo_status_t status = cairo_surface_write_to_png(screen, path.c_str());
    cairo_surface_destroy(screen);
    if (status != CAIRO_STATUS_SUCCESS) {
        if (error) *error = std::string("cannot write ") + path + ": " + cairo_status_to_string(status);
        return false;
    }
    return true;
}

}  // namespace host
