// Device contexts: the surface DCs of windows and the screen, memory DCs,
// their attributes and capabilities, and the canvas drawing goes through.
#include "gdi/Gdi.h"
#include "gdi/SurfaceDC.h"

#include <screen_host.h>

namespace gdi {

namespace {

std::shared_ptr<DC> NewDC(cairo_surface_t* surface, POINT origin, RECT clip) {
    auto dc = std::make_shared<DC>();
    cairo_surface_reference(surface);
    dc->surface = surface;
    dc->origin = origin;
    dc->clip = clip;
    dc->pen = DefaultPen();
    dc->brush = DefaultBrush();
    dc->font = DefaultFont();
    return dc;
}

void Count(HGDIOBJ held, int change) {
    if (auto object = Find(held); object && !object->stock) object->selections += change;
}

void CountState(const DC::State& state, int change) {
    for (HGDIOBJ held : {static_cast<HGDIOBJ>(state.pen), static_cast<HGDIOBJ>(state.brush),
                         static_cast<HGDIOBJ>(state.font), static_cast<HGDIOBJ>(state.bitmap)})
        Count(held, change);
}

// Lets go of what a DC holds selected, saved states included, so that the
// objects may be deleted.
void Deselect(DC& dc) {
    for (const DC::State& state : dc.saved) CountState(state, -1);
    dc.saved.clear();
    for (HGDIOBJ held : {static_cast<HGDIOBJ>(dc.pen), static_cast<HGDIOBJ>(dc.brush), static_cast<HGDIOBJ>(dc.font)})
        Count(held, -1);
    if (auto bitmap = FindAs<Bitmap>(dc.bitmap, Kind::Bitmap); bitmap && !bitmap->stock) {
        --bitmap->selections;
        bitmap->selectedInto = nullptr;
    }
    dc.pen = nullptr;
    dc.brush = nullptr;
    dc.font = nullptr;
    dc.bitmap = nullptr;
}

}  // namespace

HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, RECT clip, HWND window) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    DefaultPen();  // the stock objects exist before the first DC
    auto dc = NewDC(surface, origin, clip);
    dc->window = window;
    return static_cast<HDC>(Insert(dc));
}

void DestroySurfaceDC(HDC hdc) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc || dc->memory) return;
    Deselect(*dc);
    Remove(hdc);
}

DC::~DC() {
    if (surface) cairo_surface_destroy(surface);
}

cairo_surface_t* NewSurface(int width, int height) {
    return cairo_image_surface_create(CAIRO_FORMAT_RGB24, width < 1 ? 1 : width, height < 1 ? 1 : height);
}

uint32_t* Pixels(cairo_surface_t* surface, int* width, int* height, int* stride) {
    if (cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE) return nullptr;
    cairo_format_t format = cairo_image_surface_get_format(surface);
    if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) return nullptr;
    cairo_surface_flush(surface);
    *width = cairo_image_surface_get_width(surface);
    *height = cairo_image_surface_get_height(surface);
    *stride = cairo_image_surface_get_stride(surface) / 4;
    return reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
}

COLORREF ToColorRef(uint32_t pixel) { return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF); }

uint32_t ToPixel(COLORREF color) {
    return 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

void HoldMonochrome(cairo_surface_t* surface) {
    int width, height, stride;
    uint32_t* pixels = Pixels(surface, &width, &height, &stride);
    if (!pixels) return;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint32_t& p = pixels[y * stride + x];
            unsigned luminance = (((p >> 16) & 0xFF) * 299 + ((p >> 8) & 0xFF) * 587 + (p & 0xFF) * 114) / 1000;
            p = luminance >= 128 ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    cairo_surface_mark_dirty(surface);
}

Canvas::Canvas(DC& dc) : dc_(dc), cr_(cairo_create(dc.surface)) {
    cairo_rectangle(cr_, dc.clip.left, dc.clip.top, dc.clip.right - dc.clip.left, dc.clip.bottom - dc.clip.top);
    cairo_clip(cr_);
    cairo_translate(cr_, dc.origin.x, dc.origin.y);
    // GDI draws whole pixels.
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_NONE);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_flush(dc_.surface);
    if (dc_.memory) {
        if (auto bitmap = FindAs<Bitmap>(dc_.bitmap, Kind::Bitmap); bitmap && bitmap->monochrome)
            HoldMonochrome(dc_.surface);
    }
}

void Canvas::SetColor(COLORREF color) {
    cairo_set_source_rgb(cr_, GetRValue(color) / 255.0, GetGValue(color) / 255.0, GetBValue(color) / 255.0);
}

int ScreenDpi() {
    int dpi = host::GetScreenProfile().dpi;
    return dpi > 0 ? dpi : 96;
}

// 32 pixels at 96 dpi, scaled as the system scales its own metrics.
int SystemIconSize() { return (32 * ScreenDpi() + 48) / 96; }

}  // namespace gdi

using namespace gdi;

extern "C" HDC WINAPI CreateCompatibleDC(HDC hdc) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    if (hdc && !FindDC(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto bitmap = FindAs<Bitmap>(DefaultBitmap(), Kind::Bitmap);
    auto dc = NewDC(bitmap->surface, POINT{0, 0}, RECT{0, 0, 1, 1});
    dc->memory = true;
    dc->bitmap = DefaultBitmap();
    return static_cast<HDC>(Insert(dc));
}

extern "C" BOOL WINAPI DeleteDC(HDC hdc) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    // A window's DC is given back with ReleaseDC, not deleted.
    if (!dc || !dc->memory) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Deselect(*dc);
    Remove(hdc);
    return TRUE;
}

extern "C" int WINAPI GetDeviceCaps(HDC hdc, int nIndex) {
    if (!FindDC(hdc)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    host::ScreenProfile screen = host::GetScreenProfile();
    int dpi = ScreenDpi();
    switch (nIndex) {
        case LOGPIXELSX:
        case LOGPIXELSY:
            return dpi;
        case HORZRES:
            return screen.width;
        case VERTRES:
            return screen.height;
        case HORZSIZE:
            return (screen.width * 254 + dpi * 5) / (dpi * 10);
        case VERTSIZE:
            return (screen.height * 254 + dpi * 5) / (dpi * 10);
        case BITSPIXEL:
            return 24;
        case PLANES:
            return 1;
        case NUMCOLORS:
            return -1;
        case RASTERCAPS:
            return RC_BITBLT | RC_STRETCHBLT;
        case SIZEPALETTE:
            return 0;
        default:
            return 0;
    }
}

namespace {

template <class T>
T Exchange(HDC hdc, T DC::*field, T value, T failure) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return failure;
    }
    T previous = (*dc).*field;
    (*dc).*field = value;
    return previous;
}

template <class T>
T Read(HDC hdc, T DC::*field, T failure) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    return dc ? (*dc).*field : failure;
}

}  // namespace

extern "C" COLORREF WINAPI SetTextColor(HDC hdc, COLORREF crColor) {
    return Exchange(hdc, &DC::textColor, crColor & 0x00FFFFFF, static_cast<COLORREF>(CLR_INVALID));
}

extern "C" COLORREF WINAPI GetTextColor(HDC hdc) {
    return Read(hdc, &DC::textColor, static_cast<COLORREF>(CLR_INVALID));
}

extern "C" COLORREF WINAPI SetBkColor(HDC hdc, COLORREF crColor) {
    return Exchange(hdc, &DC::bkColor, crColor & 0x00FFFFFF, static_cast<COLORREF>(CLR_INVALID));
}

extern "C" int WINAPI SetBkMode(HDC hdc, int iBkMode) {
    if (iBkMode != TRANSPARENT && iBkMode != OPAQUE) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Exchange(hdc, &DC::bkMode, iBkMode, 0);
}

extern "C" int WINAPI GetBkMode(HDC hdc) { return Read(hdc, &DC::bkMode, 0); }

extern "C" int WINAPI SaveDC(HDC hdc) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    DC::State state{dc->pen, dc->brush, dc->font, dc->bitmap, dc->textColor, dc->bkColor, dc->bkMode, dc->position};
    CountState(state, 1);
    dc->saved.push_back(state);
    return static_cast<int>(dc->saved.size());
}

extern "C" BOOL WINAPI RestoreDC(HDC hdc, int nSavedDC) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // A negative level counts back from the last state saved.
    int level = nSavedDC < 0 ? static_cast<int>(dc->saved.size()) + 1 + nSavedDC : nSavedDC;
    if (level < 1 || level > static_cast<int>(dc->saved.size())) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    while (static_cast<int>(dc->saved.size()) > level) {
        CountState(dc->saved.back(), -1);
        dc->saved.pop_back();
    }
    DC::State state = dc->saved.back();
    dc->saved.pop_back();
    // The saved objects are counted already; the current ones are let go.
    Count(dc->pen, -1);
    Count(dc->brush, -1);
    Count(dc->font, -1);
    Count(dc->bitmap, -1);
    dc->pen = state.pen;
    dc->brush = state.brush;
    dc->font = state.font;
    if (dc->memory && state.bitmap != dc->bitmap) {
        if (auto old = FindAs<Bitmap>(dc->bitmap, Kind::Bitmap); old && !old->stock) old->selectedInto = nullptr;
        auto bitmap = FindAs<Bitmap>(state.bitmap, Kind::Bitmap);
        if (!bitmap->stock) bitmap->selectedInto = hdc;
        cairo_surface_reference(bitmap->surface);
        cairo_surface_destroy(dc->surface);
        dc->surface = bitmap->surface;
        dc->origin = POINT{0, 0};
        dc->clip = RECT{0, 0, bitmap->width, bitmap->height};
        dc->bitmap = state.bitmap;
    }
    dc->textColor = state.textColor;
    dc->bkColor = state.bkColor;
    dc->bkMode = state.bkMode;
    dc->position = state.position;
    return TRUE;
}
