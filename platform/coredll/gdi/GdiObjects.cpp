// The GDI handle table, the stock objects, pens and brushes, and the
// selection of objects into DCs.
#include "gdi/Gdi.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
#include <unordered_map>

namespace gdi {

namespace {

std::unordered_map<uintptr_t, std::shared_ptr<Object>> g_objects;
// Apart from the kernel's handles, so that CloseHandle never meets one.
uintptr_t g_nextHandle = 0x10000000;

struct Stock {
    HGDIOBJ objects[DEFAULT_GUI_FONT + 1] = {};
    HGDIOBJ defaultBitmap = nullptr;
};

HGDIOBJ InsertStock(std::shared_ptr<Object> object) {
    object->stock = true;
    return Insert(std::move(object));
}

HGDIOBJ StockBrush(COLORREF color, bool hollow = false) {
    auto brush = std::make_shared<Brush>();
    brush->color = color;
    brush->hollow = hollow;
    return InsertStock(brush);
}

HGDIOBJ StockPen(int style, COLORREF color) {
    auto pen = std::make_shared<Pen>();
    pen->style = style;
    pen->color = color;
    return InsertStock(pen);
}

// The phone's fonts are Tahoma; lfHeight negative is the character height.
HGDIOBJ StockFont(LONG height, LONG weight) {
    auto font = std::make_shared<Font>();
    font->logfont.lfHeight = height;
    font->logfont.lfWeight = weight;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), font->logfont.lfFaceName);
    return InsertStock(font);
}

const Stock& Stocks() {
    static const Stock stock = [] {
        Stock s;
        s.objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
        s.objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
        s.objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
        s.objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
        s.objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
        s.objects[NULL_BRUSH] = StockBrush(0, true);
        s.objects[WHITE_PEN] = StockPen(PS_SOLID, RGB(255, 255, 255));
        s.objects[BLACK_PEN] = StockPen(PS_SOLID, RGB(0, 0, 0));
        s.objects[NULL_PEN] = StockPen(PS_NULL, 0);
        s.objects[SYSTEM_FONT] = StockFont(-12, FW_BOLD);
        s.objects[DEFAULT_GUI_FONT] = StockFont(-11, FW_NORMAL);
        auto bitmap = std::make_shared<Bitmap>();
        bitmap->surface = NewSurface(1, 1);
        bitmap->width = bitmap->height = 1;
        bitmap->monochrome = true;
        s.defaultBitmap = InsertStock(bitmap);
        return s;
    }();
    return stock;
}

}  // namespace

std::recursive_mutex& Lock() {
    static std::recursive_mutex lock;
    return lock;
}

HGDIOBJ Insert(std::shared_ptr<Object> object) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    uintptr_t value = g_nextHandle;
    g_nextHandle += 4;
    g_objects.emplace(value, std::move(object));
    return reinterpret_cast<HGDIOBJ>(value);
}

std::shared_ptr<Object> Find(HGDIOBJ handle) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto it = g_objects.find(reinterpret_cast<uintptr_t>(handle));
    return it == g_objects.end() ? nullptr : it->second;
}

bool Remove(HGDIOBJ handle) {
    std::shared_ptr<Object> object;  // destroyed after the erase
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto it = g_objects.find(reinterpret_cast<uintptr_t>(handle));
    if (it == g_objects.end()) return false;
    object = std::move(it->second);
    g_objects.erase(it);
    return true;
}

std::shared_ptr<DC> FindDC(HDC dc) { return FindAs<DC>(dc, Kind::DC); }

HPEN DefaultPen() { return static_cast<HPEN>(Stocks().objects[BLACK_PEN]); }
HBRUSH DefaultBrush() { return static_cast<HBRUSH>(Stocks().objects[WHITE_BRUSH]); }
HFONT DefaultFont() { return static_cast<HFONT>(Stocks().objects[SYSTEM_FONT]); }
HBITMAP DefaultBitmap() { return static_cast<HBITMAP>(Stocks().defaultBitmap); }

Bitmap::~Bitmap() {
    if (surface) cairo_surface_destroy(surface);
}

Icon::~Icon() {
    if (image) cairo_surface_destroy(image);
}

}  // namespace gdi

using namespace gdi;

extern "C" HGDIOBJ WINAPI GetStockObject(int fnObject) {
    if (fnObject < 0 || fnObject > DEFAULT_GUI_FONT) return nullptr;
    return Stocks().objects[fnObject];
}

extern "C" HPEN WINAPI CreatePen(int fnPenStyle, int nWidth, COLORREF crColor) {
    if (fnPenStyle != PS_SOLID && fnPenStyle != PS_DASH && fnPenStyle != PS_NULL) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto pen = std::make_shared<Pen>();
    // Width 0 is one pixel wide; a dashed pen wider than that draws solid.
    pen->width = nWidth < 1 ? 1 : nWidth;
    pen->style = fnPenStyle == PS_DASH && pen->width > 1 ? PS_SOLID : fnPenStyle;
    pen->color = crColor & 0x00FFFFFF;
    return static_cast<HPEN>(Insert(pen));
}

extern "C" HBRUSH WINAPI CreateSolidBrush(COLORREF crColor) {
    auto brush = std::make_shared<Brush>();
    brush->color = crColor & 0x00FFFFFF;
    return static_cast<HBRUSH>(Insert(brush));
}

extern "C" HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ hgdiobj) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    auto object = Find(hgdiobj);
    if (!dc || !object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto swap = [&](auto& slot) -> HGDIOBJ {
        HGDIOBJ previous = slot;
        if (previous == hgdiobj) return previous;
        if (auto old = Find(previous)) --old->selections;
        ++object->selections;
        slot = static_cast<std::remove_reference_t<decltype(slot)>>(hgdiobj);
        return previous;
    };
    switch (object->kind) {
        case Kind::Pen:
            return swap(dc->pen);
        case Kind::Brush:
            return swap(dc->brush);
        case Kind::Font:
            return swap(dc->font);
        case Kind::Bitmap: {
            auto bitmap = std::static_pointer_cast<Bitmap>(object);
            if (!dc->memory) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
            if (dc->bitmap == hgdiobj) return hgdiobj;
            // A bitmap is in one memory DC at a time (a state SaveDC kept counts).
            bool savedHere = std::any_of(dc->saved.begin(), dc->saved.end(),
                                         [&](const DC::State& state) { return state.bitmap == hgdiobj; });
            if (!bitmap->stock && (bitmap->selectedInto || (bitmap->selections > 0 && !savedHere))) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
            HGDIOBJ previous = dc->bitmap;
            if (auto old = FindAs<Bitmap>(previous, Kind::Bitmap)) {
                if (!old->stock) {
                    --old->selections;
                    old->selectedInto = nullptr;
                }
            }
            if (!bitmap->stock) {
                ++bitmap->selections;
                bitmap->selectedInto = hdc;
            }
            dc->bitmap = static_cast<HBITMAP>(hgdiobj);
            cairo_surface_reference(bitmap->surface);
            cairo_surface_destroy(dc->surface);
            dc->surface = bitmap->surface;
            dc->origin = POINT{0, 0};
            dc->clip = RECT{0, 0, bitmap->width, bitmap->height};
            return previous;
        }
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
    }
}

extern "C" HGDIOBJ WINAPI GetCurrentObject(HDC hdc, UINT uObjectType) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc) return nullptr;
    switch (uObjectType) {
        case OBJ_PEN:
            return dc->pen;
        case OBJ_BRUSH:
            return dc->brush;
        case OBJ_FONT:
            return dc->font;
        case OBJ_BITMAP:
            return dc->bitmap;
        default:
            return nullptr;
    }
}

extern "C" BOOL WINAPI DeleteObject(HGDIOBJ hObject) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto object = Find(hObject);
    if (!object || object->kind == Kind::DC || object->kind == Kind::Icon) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (object->stock) return TRUE;
    // Windows CE refuses to delete an object still selected into a DC.
    if (object->selections > 0) return FALSE;
    Remove(hObject);
    return TRUE;
}

extern "C" DWORD WINAPI GetObjectType(HGDIOBJ h) {
    auto object = Find(h);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    switch (object->kind) {
        case Kind::Pen:
            return OBJ_PEN;
        case Kind::Brush:
            return OBJ_BRUSH;
        case Kind::Font:
            return OBJ_FONT;
        case Kind::Bitmap:
            return OBJ_BITMAP;
        case Kind::DC:
            return std::static_pointer_cast<DC>(object)->memory ? OBJ_MEMDC : OBJ_DC;
        default:
            return 0;
    }
}

extern "C" int WINAPI GetObjectW(HGDIOBJ hgdiobj, int cbBuffer, LPVOID lpvObject) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto object = Find(hgdiobj);
    if (!object) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    auto give = [&](const auto& value) -> int {
        int size = static_cast<int>(sizeof value);
        if (!lpvObject) return size;
        if (cbBuffer < size) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
            return 0;
        }
        std::memcpy(lpvObject, &value, sizeof value);
        return size;
    };
    switch (object->kind) {
        case Kind::Pen: {
            auto& pen = static_cast<Pen&>(*object);
            return give(LOGPEN{static_cast<UINT>(pen.style), POINT{pen.width, 0}, pen.color});
        }
        case Kind::Brush: {
            auto& brush = static_cast<Brush&>(*object);
            return give(LOGBRUSH{brush.hollow ? static_cast<UINT>(BS_NULL) : BS_SOLID, brush.color, 0});
        }
        case Kind::Font:
            return give(static_cast<Font&>(*object).logfont);
        case Kind::Bitmap: {
            auto& bitmap = static_cast<Bitmap&>(*object);
            BITMAP info{};
            info.bmWidth = bitmap.width;
            info.bmHeight = bitmap.height;
            info.bmPlanes = 1;
            info.bmBitsPixel = bitmap.monochrome ? 1 : 24;
            info.bmWidthBytes = ((bitmap.width * info.bmBitsPixel + 15) / 16) * 2;
            return give(info);
        }
        default:
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
    }
}
