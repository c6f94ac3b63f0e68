// GDI objects behind HDC, HPEN, HBRUSH, HFONT, HBITMAP and HICON, and the
// canvas through which every drawing call reaches cairo. Internal to coredll.
#pragma once

#include <windows.h>

#include <cairo.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace gdi {

enum class Kind { Pen, Brush, Font, Bitmap, DC, Icon };

struct Object {
    explicit Object(Kind kind) : kind(kind) {}
    virtual ~Object() = default;
    const Kind kind;
    bool stock = false;  // never deleted
    int selections = 0;  // DCs it is selected into
};

struct Pen : Object {
    Pen() : Object(Kind::Pen) {}
    int style = PS_SOLID;
    int width = 1;
    COLORREF color = 0;
};

struct Brush : Object {
    Brush() : Object(Kind::Brush) {}
    bool hollow = false;
    COLORREF color = 0;
};

struct FontFace;  // Fonts.h
struct Font : Object {
    Font() : Object(Kind::Font) {}
    LOGFONTW logfont{};
    std::shared_ptr<FontFace> face;  // made on first use
};

// An image surface; every bitmap is kept as 24-bit colour, a monochrome one
// is held to black and white after each drawing.
struct Bitmap : Object {
    Bitmap() : Object(Kind::Bitmap) {}
    ~Bitmap() override;
    cairo_surface_t* surface = nullptr;
    int width = 0;
    int height = 0;
    bool monochrome = false;
    HDC selectedInto = nullptr;
};

struct Icon : Object {
    Icon() : Object(Kind::Icon) {}
    ~Icon() override;
    cairo_surface_t* image = nullptr;  // premultiplied ARGB, the mask applied
    int width = 0;
    int height = 0;
    bool shared = false;  // a standard icon: DestroyIcon leaves it
};

struct DC : Object {
    DC() : Object(Kind::DC) {}
    ~DC() override;
    cairo_surface_t* surface = nullptr;  // one reference held
    POINT origin{};                      // of the DC's (0,0), in surface coordinates
    RECT clip{};                         // in surface coordinates
    HWND window = nullptr;
    bool memory = false;
    HBITMAP bitmap = nullptr;  // memory DCs
    HPEN pen = nullptr;
    HBRUSH brush = nullptr;
    HFONT font = nullptr;
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF bkColor = RGB(255, 255, 255);
    int bkMode = OPAQUE;
    POINT position{};
    // SaveDC's states, oldest first. What they hold counts as selected.
    struct State {
        HPEN pen;
        HBRUSH brush;
        HFONT font;
        HBITMAP bitmap;
        COLORREF textColor;
        COLORREF bkColor;
        int bkMode;
        POINT position;
    };
    std::vector<State> saved;
};

// Every GDI call holds this lock for its whole length. It also guards the
// pixels of the surfaces GDI draws on: the screen composition takes it
// before it reads window surfaces (see SurfaceDC.h).
std::recursive_mutex& Lock();

// The handle table. Handles are never reused: a deleted handle stays
// refused.
HGDIOBJ Insert(std::shared_ptr<Object> object);
std::shared_ptr<Object> Find(HGDIOBJ handle);
template <class T>
std::shared_ptr<T> FindAs(HGDIOBJ handle, Kind kind) {
    auto object = Find(handle);
    if (!object || object->kind != kind) return nullptr;
    return std::static_pointer_cast<T>(object);
}
bool Remove(HGDIOBJ handle);
std::shared_ptr<DC> FindDC(HDC dc);

// The stock objects a fresh DC starts with.
HPEN DefaultPen();
HBRUSH DefaultBrush();
HFONT DefaultFont();
HBITMAP DefaultBitmap();

// A new 24-bit image surface (black), or a 1x1 one for empty sizes.
cairo_surface_t* NewSurface(int width, int height);

// A cairo context on a DC's surface, translated to the DC's origin and
// clipped to its clip rectangle. On destruction the drawing is flushed and
// a monochrome bitmap is held to black and white.
class Canvas {
public:
    explicit Canvas(DC& dc);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    cairo_t* cr() const { return cr_; }
    void SetColor(COLORREF color);

private:
    DC& dc_;
    cairo_t* cr_;
};

// Pixels of an image surface as 0x00RRGGBB words (after a flush), or null
// when the surface is not an image.
uint32_t* Pixels(cairo_surface_t* surface, int* width, int* height, int* stride);
void HoldMonochrome(cairo_surface_t* surface);
COLORREF ToColorRef(uint32_t pixel);
uint32_t ToPixel(COLORREF color);

// The colour of a brush handle, or of a system colour index + 1 as FillRect
// accepts it; false for a hollow brush or a bad handle (Drawing.cpp).
bool BrushColor(HBRUSH handle, COLORREF* color);

// The system's own icons, LoadIconW with no module (resources/StandardIcons.cpp).
HICON StandardIcon(LPCWSTR name);

// The screen profile's dots per inch, and the system's icon size derived
// from it.
int ScreenDpi();
int SystemIconSize();

}  // namespace gdi
