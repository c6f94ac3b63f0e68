// The screen: the visible top-level windows composed in z-order over the
// desktop, for GetDC(NULL) and for screenshots.
#include "gdi/SurfaceDC.h"
#include "user/KeptSurface.h"
#include "user/WindowSystem.h"

#include <screen_host.h>

#include <cstring>
#include <mutex>

using namespace user;

namespace {

std::mutex g_observersLock;
std::vector<std::function<void()>> g_observers;

// The screen's last picture. Every GetDC(NULL) composes the screen, and
// most only measure text on it.
KeptSurface g_screenPicture;

}  // namespace

namespace user {

void ScreenChanged() {
    std::lock_guard<std::mutex> lock(g_observersLock);
    for (const auto& observer : g_observers) observer();
}

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
    cairo_surface_t* screen = g_screenPicture.Take(std::max(1, p.width), std::max(1, p.height));
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

void ComposeScreenPixels(std::vector<uint32_t>* pixels, int* width, int* height) {
    bool asleep = false;
    cairo_surface_t* screen = ComposeScreen(&asleep);
    const int w = cairo_image_surface_get_width(screen), h = cairo_image_surface_get_height(screen);
    const int stride = cairo_image_surface_get_stride(screen);
    const unsigned char* data = cairo_image_surface_get_data(screen);
    pixels->resize(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) std::memcpy(pixels->data() + static_cast<size_t>(y) * w, data + y * stride, w * 4u);
    // RGB24 leaves the top byte undefined.
    for (uint32_t& p : *pixels) p &= 0x00FFFFFF;
    cairo_surface_destroy(screen);
    *width = w;
    *height = h;
}

void AddScreenObserver(std::function<void()> observer) {
    std::lock_guard<std::mutex> lock(g_observersLock);
    g_observers.push_back(std::move(observer));
}

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
