// Lines, rectangles, rounded rectangles, ellipses and pixels, with GDI's
// pixel rules: a shape covers its left and top edges but not its right and
// bottom ones, a line leaves out its last pixel, and a pen of width w is
// centred on the pixels of the outline (an even width reaching one pixel
// further up and left).
#include "gdi/Gdi.h"

#include <cmath>
#include <cstdlib>

namespace gdi {

// A brush handle, or a system colour index + 1 as FillRect accepts it.
bool BrushColor(HBRUSH handle, COLORREF* color) {
    uintptr_t value = reinterpret_cast<uintptr_t>(handle);
    if (value >= 1 && value <= C_SYS_COLOR_TYPES) {
        *color = GetSysColor(static_cast<int>(value - 1));
        return true;
    }
    auto brush = FindAs<Brush>(handle, Kind::Brush);
    if (!brush || brush->hollow) return false;
    *color = brush->color;
    return true;
}

}  // namespace gdi

using namespace gdi;

namespace {

// Where the centre line of a pen of this width runs for the pixel v.
double Centre(int v, int width) { return v + (width % 2 ? 0.5 : 0.0); }

std::shared_ptr<Pen> VisiblePen(const DC& dc) {
    auto pen = FindAs<Pen>(dc.pen, Kind::Pen);
    return pen && pen->style != PS_NULL ? pen : nullptr;
}

// A rectangle path whose corners are quarter ellipses of rx by ry.
void RoundedPath(cairo_t* cr, double x0, double y0, double x1, double y1, double rx, double ry) {
    rx = std::min(rx, (x1 - x0) / 2);
    ry = std::min(ry, (y1 - y0) / 2);
    if (rx <= 0 || ry <= 0) {
        cairo_rectangle(cr, x0, y0, x1 - x0, y1 - y0);
        return;
    }
    auto corner = [&](double cx, double cy, double from, double to) {
        cairo_save(cr);
        cairo_translate(cr, cx, cy);
        cairo_scale(cr, rx, ry);
        cairo_arc(cr, 0, 0, 1, from, to);
        cairo_restore(cr);
    };
    cairo_new_sub_path(cr);
    corner(x1 - rx, y0 + ry, -M_PI / 2, 0);
    corner(x1 - rx, y1 - ry, 0, M_PI / 2);
    corner(x0 + rx, y1 - ry, M_PI / 2, M_PI);
    corner(x0 + rx, y0 + ry, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void StrokeWith(Canvas& canvas, const Pen& pen) {
    cairo_t* cr = canvas.cr();
    canvas.SetColor(pen.color);
    cairo_set_line_width(cr, pen.width);
    // Wide pens are geometric: round ends and joins.
    cairo_set_line_cap(cr, pen.width > 1 ? CAIRO_LINE_CAP_ROUND : CAIRO_LINE_CAP_BUTT);
    cairo_set_line_join(cr, pen.width > 1 ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    if (pen.style == PS_DASH) {
        const double dashes[] = {18, 6};
        cairo_set_dash(cr, dashes, 2, 0);
    }
    cairo_stroke(cr);
}

// Fills and outlines the shape in the box from (left, top) to (right,
// bottom), corner ellipses of ew by eh (0: square corners).
BOOL Shape(HDC hdc, int left, int top, int right, int bottom, int ew, int eh) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (right - left < 1 || bottom - top < 1) return TRUE;
    ew = std::abs(ew);
    eh = std::abs(eh);
    Canvas canvas(*dc);
    cairo_t* cr = canvas.cr();
    COLORREF fill;
    if (BrushColor(dc->brush, &fill)) {
        // The interior: one pixel short on the right and bottom, where the
        // outline of a one-pixel pen goes.
        RoundedPath(cr, left, top, right - 1, bottom - 1, ew / 2.0, eh / 2.0);
        canvas.SetColor(fill);
        cairo_fill(cr);
    }
    if (auto pen = VisiblePen(*dc)) {
        int w = pen->width;
        RoundedPath(cr, Centre(left, w), Centre(top, w), Centre(right - 1, w), Centre(bottom - 1, w), (ew - 1) / 2.0,
                    (eh - 1) / 2.0);
        StrokeWith(canvas, *pen);
    }
    return TRUE;
}

// A one-pixel line from (x0, y0) up to but not including (x1, y1).
void ThinLine(Canvas& canvas, const Pen& pen, int x0, int y0, int x1, int y1) {
    cairo_t* cr = canvas.cr();
    int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
    int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
    int error = dx + dy;
    int step = 0;
    while (x0 != x1 || y0 != y1) {
        if (pen.style != PS_DASH || step % 24 < 18) cairo_rectangle(cr, x0, y0, 1, 1);
        ++step;
        int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y0 += sy;
        }
    }
    canvas.SetColor(pen.color);
    cairo_fill(cr);
}

}  // namespace

extern "C" BOOL WINAPI MoveToEx(HDC hdc, int X, int Y, LPPOINT lpPoint) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (lpPoint) *lpPoint = dc->position;
    dc->position = POINT{X, Y};
    return TRUE;
}

extern "C" BOOL WINAPI LineTo(HDC hdc, int nXEnd, int nYEnd) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    POINT from = dc->position;
    dc->position = POINT{nXEnd, nYEnd};
    auto pen = VisiblePen(*dc);
    if (!pen) return TRUE;
    Canvas canvas(*dc);
    if (pen->width == 1) {
        ThinLine(canvas, *pen, from.x, from.y, nXEnd, nYEnd);
    } else {
        cairo_t* cr = canvas.cr();
        cairo_move_to(cr, Centre(from.x, pen->width), Centre(from.y, pen->width));
        cairo_line_to(cr, Centre(nXEnd, pen->width), Centre(nYEnd, pen->width));
        StrokeWith(canvas, *pen);
    }
    return TRUE;
}

extern "C" BOOL WINAPI Rectangle(HDC hdc, int nLeftRect, int nTopRect, int nRightRect, int nBottomRect) {
    return Shape(hdc, nLeftRect, nTopRect, nRightRect, nBottomRect, 0, 0);
}

extern "C" BOOL WINAPI RoundRect(HDC hdc, int nLeftRect, int nTopRect, int nRightRect, int nBottomRect, int nWidth,
                                 int nHeight) {
    return Shape(hdc, nLeftRect, nTopRect, nRightRect, nBottomRect, nWidth, nHeight);
}

namespace {

// The surface pixel of a DC's point, when the point lies in the DC's clip.
uint32_t* PixelAt(DC& dc, int x, int y) {
    int sx = dc.origin.x + x, sy = dc.origin.y + y;
    if (sx < dc.clip.left || sx >= dc.clip.right || sy < dc.clip.top || sy >= dc.clip.bottom) return nullptr;
    int width, height, stride;
    uint32_t* pixels = Pixels(dc.surface, &width, &height, &stride);
    if (!pixels || sx < 0 || sy < 0 || sx >= width || sy >= height) return nullptr;
    return &pixels[sy * stride + sx];
}

}  // namespace

extern "C" COLORREF WINAPI SetPixel(HDC hdc, int X, int Y, COLORREF crColor) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) return CLR_INVALID;
    uint32_t* pixel = PixelAt(*dc, X, Y);
    if (!pixel) return CLR_INVALID;
    *pixel = ToPixel(crColor);
    cairo_surface_mark_dirty(dc->surface);
    if (auto bitmap = FindAs<Bitmap>(dc->bitmap, Kind::Bitmap); dc->memory && bitmap && bitmap->monochrome)
        HoldMonochrome(dc->surface);
    return ToColorRef(*pixel);
}

extern "C" COLORREF WINAPI GetPixel(HDC hdc, int nXPos, int nYPos) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) return CLR_INVALID;
    uint32_t* pixel = PixelAt(*dc, nXPos, nYPos);
    return pixel ? ToColorRef(*pixel) : CLR_INVALID;
}

extern "C" int WINAPI FillRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hDC);
    COLORREF color;
    if (!dc || !lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!BrushColor(hbr, &color)) return 1;  // a hollow brush paints nothing
    if (lprc->right <= lprc->left || lprc->bottom <= lprc->top) return 1;
    Canvas canvas(*dc);
    cairo_rectangle(canvas.cr(), lprc->left, lprc->top, lprc->right - lprc->left, lprc->bottom - lprc->top);
    canvas.SetColor(color);
    cairo_fill(canvas.cr());
    return 1;
}

extern "C" int WINAPI FrameRect(HDC hDC, const RECT* lprc, HBRUSH hbr) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hDC);
    COLORREF color;
    if (!dc || !lprc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (!BrushColor(hbr, &color)) return 1;
    if (lprc->right <= lprc->left || lprc->bottom <= lprc->top) return 1;
    Canvas canvas(*dc);
    cairo_t* cr = canvas.cr();
    LONG l = lprc->left, t = lprc->top, r = lprc->right, b = lprc->bottom;
    cairo_rectangle(cr, l, t, r - l, b - t);
    if (r - l > 2 && b - t > 2) cairo_rectangle(cr, l + 1, b - 1, r - l - 2, -(b - t - 2));  // the hole, reversed
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    canvas.SetColor(color);
    cairo_fill(cr);
    return 1;
}
