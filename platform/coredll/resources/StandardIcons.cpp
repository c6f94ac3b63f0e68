// The system's own icons (LoadIconW with no module): the application icon
// and the four message-box symbols, drawn at the system's icon size. They
// are shared: DestroyIcon leaves them.
#include "gdi/Gdi.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace gdi {

namespace {

void Disc(cairo_t* cr, double size, double r, double g, double b) {
    cairo_arc(cr, size / 2, size / 2, size * 0.45, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, r, g, b);
    cairo_fill(cr);
}

// A vertical bar with a dot below or above it ("!" or "i").
void BarAndDot(cairo_t* cr, double size, bool dotAbove) {
    double w = size * 0.12, x = size / 2 - w / 2;
    double barTop = dotAbove ? size * 0.42 : size * 0.22, barBottom = dotAbove ? size * 0.78 : size * 0.62;
    cairo_rectangle(cr, x, barTop, w, barBottom - barTop);
    cairo_arc(cr, size / 2, dotAbove ? size * 0.28 : size * 0.74, w * 0.7, 0, 2 * M_PI);
    cairo_fill(cr);
}

void Draw(cairo_t* cr, WORD id, double s) {
    switch (id) {
        case 32513:  // IDI_HAND: a white cross on red
            Disc(cr, s, 0.85, 0.1, 0.1);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_set_line_width(cr, s * 0.12);
            cairo_move_to(cr, s * 0.32, s * 0.32);
            cairo_line_to(cr, s * 0.68, s * 0.68);
            cairo_move_to(cr, s * 0.68, s * 0.32);
            cairo_line_to(cr, s * 0.32, s * 0.68);
            cairo_stroke(cr);
            break;
        case 32514:  // IDI_QUESTION: a white question mark on blue
            Disc(cr, s, 0.15, 0.35, 0.8);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_set_line_width(cr, s * 0.11);
            cairo_arc(cr, s / 2, s * 0.38, s * 0.14, M_PI, 2.3 * M_PI);
            cairo_line_to(cr, s / 2, s * 0.6);
            cairo_stroke(cr);
            cairo_arc(cr, s / 2, s * 0.74, s * 0.07, 0, 2 * M_PI);
            cairo_fill(cr);
            break;
        case 32515:  // IDI_EXCLAMATION: a black mark on a yellow triangle
            cairo_move_to(cr, s / 2, s * 0.06);
            cairo_line_to(cr, s * 0.96, s * 0.92);
            cairo_line_to(cr, s * 0.04, s * 0.92);
            cairo_close_path(cr);
            cairo_set_source_rgb(cr, 1, 0.8, 0);
            cairo_fill(cr);
            cairo_set_source_rgb(cr, 0, 0, 0);
            cairo_translate(cr, 0, s * 0.08);
            BarAndDot(cr, s * 1.0, false);
            break;
        case 32516:  // IDI_ASTERISK: a white "i" on blue
            Disc(cr, s, 0.15, 0.35, 0.8);
            cairo_set_source_rgb(cr, 1, 1, 1);
            BarAndDot(cr, s, true);
            break;
        default:  // IDI_APPLICATION, IDI_WINLOGO: a window
            cairo_rectangle(cr, s * 0.1, s * 0.15, s * 0.8, s * 0.7);
            cairo_set_source_rgb(cr, 1, 1, 1);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
            cairo_set_line_width(cr, std::max(1.0, s / 32));
            cairo_stroke(cr);
            cairo_rectangle(cr, s * 0.1, s * 0.15, s * 0.8, s * 0.16);
            cairo_set_source_rgb(cr, 0, 0.24, 0.55);
            cairo_fill(cr);
            break;
    }
}

}  // namespace

HICON StandardIcon(LPCWSTR name) {
    WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(name));
    if (!IS_INTRESOURCE(name) || id < 32512 || id > 32517) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    int size = SystemIconSize();
    std::lock_guard<std::recursive_mutex> lock(Lock());
    static std::map<std::pair<WORD, int>, HICON> made;
    auto& handle = made[{id, size}];
    if (!handle) {
        auto icon = std::make_shared<Icon>();
        icon->image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
        icon->width = icon->height = size;
        icon->shared = true;
        cairo_t* cr = cairo_create(icon->image);
        Draw(cr, id, size);
        cairo_destroy(cr);
        cairo_surface_flush(icon->image);
        handle = static_cast<HICON>(Insert(icon));
    }
    return handle;
}

}  // namespace gdi
