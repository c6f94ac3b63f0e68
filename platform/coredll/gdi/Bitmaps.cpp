// Bitmaps compatible with a DC, and block transfers between DCs with the
// ternary raster operations.
#include "gdi/Gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace gdi;

extern "C" HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int nWidth, int nHeight) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc || nWidth < 0 || nHeight < 0) {
        SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto bitmap = std::make_shared<Bitmap>();
    // A memory DC still holding its initial 1x1 bitmap is monochrome, and so
    // is what is made compatible with it; an empty size gives 1x1 monochrome.
    auto selected = FindAs<Bitmap>(dc->bitmap, Kind::Bitmap);
    bitmap->monochrome = (dc->memory && selected && selected->monochrome) || nWidth == 0 || nHeight == 0;
    bitmap->width = nWidth == 0 || nHeight == 0 ? 1 : nWidth;
    bitmap->height = nWidth == 0 || nHeight == 0 ? 1 : nHeight;
    bitmap->surface = NewSurface(bitmap->width, bitmap->height);
    if (cairo_surface_status(bitmap->surface) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return static_cast<HBITMAP>(Insert(bitmap));
}

namespace {

// One pixel of a row of device-dependent bits.
uint32_t DeviceBit(const BYTE* row, int x, UINT bits) {
    switch (bits) {
        case 1:
            return (row[x / 8] >> (7 - x % 8)) & 1 ? 0x00FFFFFFu : 0;
        case 16: {
            unsigned v = row[2 * x] | (row[2 * x + 1] << 8);
            unsigned r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
            return ((r * 255 / 31) << 16) | ((g * 255 / 63) << 8) | (b * 255 / 31);
        }
        case 24:
            return (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
        default:
            return (row[4 * x + 2] << 16) | (row[4 * x + 1] << 8) | row[4 * x];
    }
}

}  // namespace

extern "C" HBITMAP WINAPI CreateBitmap(int nWidth, int nHeight, UINT cPlanes, UINT cBitsPerPel, const void* lpvBits) {
    UINT bits = cPlanes * cBitsPerPel;
    if (nWidth < 0 || nHeight < 0 || (bits != 1 && bits != 16 && bits != 24 && bits != 32)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto bitmap = std::make_shared<Bitmap>();
    bool empty = nWidth == 0 || nHeight == 0;
    bitmap->monochrome = bits == 1 || empty;
    bitmap->width = empty ? 1 : nWidth;
    bitmap->height = empty ? 1 : nHeight;
    bitmap->surface = NewSurface(bitmap->width, bitmap->height);
    if (cairo_surface_status(bitmap->surface) != CAIRO_STATUS_SUCCESS) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if (lpvBits && !empty) {
        int width, height, stride;
        uint32_t* pixels = Pixels(bitmap->surface, &width, &height, &stride);
        size_t rowBytes = ((static_cast<size_t>(nWidth) * bits + 15) / 16) * 2;
        const BYTE* source = static_cast<const BYTE*>(lpvBits);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[y * stride + x] = 0xFF000000u | DeviceBit(source + y * rowBytes, x, bits);
        cairo_surface_mark_dirty(bitmap->surface);
    }
    return static_cast<HBITMAP>(Insert(bitmap));
}

namespace {

bool UsesSource(DWORD rop) { return (((rop >> 2) ^ rop) & 0x00330000) != 0; }
bool UsesPattern(DWORD rop) { return (((rop >> 4) ^ rop) & 0x000F0000) != 0; }

// One ternary raster operation on 24-bit colours: bit i of the operation's
// index byte gives the result for pattern, source and destination bits
// (P << 2 | S << 1 | D) = i.
uint32_t Rop3(BYTE op, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t result = 0;
    for (int i = 0; i < 8; ++i) {
        if (!(op & (1 << i))) continue;
        result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return result & 0x00FFFFFF;
}

BOOL Blit(HDC hdcDest, int x, int y, int width, int height, HDC hdcSrc, int sx, int sy, DWORD rop) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dst = FindDC(hdcDest);
    std::shared_ptr<DC> src = UsesSource(rop) ? FindDC(hdcSrc) : nullptr;
    if (!dst || (UsesSource(rop) && !src)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (width < 0) {
        x += width;
        sx += width;
        width = -width;
    }
    if (height < 0) {
        y += height;
        sy += height;
        height = -height;
    }
    int dw, dh, dstride;
    uint32_t* dpix = Pixels(dst->surface, &dw, &dh, &dstride);
    if (!dpix) return FALSE;
    // The destination in surface coordinates, cut to the clip and the surface.
    int left = dst->origin.x + x, top = dst->origin.y + y;
    int right = left + width, bottom = top + height;
    int cl = std::max({left, static_cast<int>(dst->clip.left), 0});
    int ct = std::max({top, static_cast<int>(dst->clip.top), 0});
    int cr = std::min({right, static_cast<int>(dst->clip.right), dw});
    int cb = std::min({bottom, static_cast<int>(dst->clip.bottom), dh});
    // The source shifts with the cut; what lies beyond its surface is not copied.
    uint32_t* spix = nullptr;
    int sw = 0, shgt = 0, sstride = 0, offX = 0, offY = 0;
    if (src) {
        spix = Pixels(src->surface, &sw, &shgt, &sstride);
        if (!spix) return FALSE;
        offX = src->origin.x + sx - left;
        offY = src->origin.y + sy - top;
        cl = std::max(cl, -offX);
        ct = std::max(ct, -offY);
        cr = std::min(cr, sw - offX);
        cb = std::min(cb, shgt - offY);
    }
    if (cl >= cr || ct >= cb) return TRUE;
    uint32_t pattern = 0;
    if (UsesPattern(rop)) {
        COLORREF brush = RGB(255, 255, 255);
        BrushColor(dst->brush, &brush);
        pattern = ToPixel(brush) & 0x00FFFFFF;
    }
    BYTE op = static_cast<BYTE>(rop >> 16);
    // Copied first: source and destination may be the same surface.
    std::vector<uint32_t> source;
    int cw = cr - cl;
    if (src) {
        source.resize(static_cast<size_t>(cw) * (cb - ct));
        for (int row = ct; row < cb; ++row)
            std::memcpy(&source[static_cast<size_t>(row - ct) * cw], &spix[(row + offY) * sstride + cl + offX],
                        static_cast<size_t>(cw) * 4);
    }
    for (int row = ct; row < cb; ++row) {
        uint32_t* out = &dpix[row * dstride + cl];
        const uint32_t* in = src ? &source[static_cast<size_t>(row - ct) * cw] : nullptr;
        for (int col = 0; col < cw; ++col) {
            uint32_t s = in ? in[col] & 0x00FFFFFF : 0;
            uint32_t value = op == 0xCC ? s : Rop3(op, pattern, s, out[col] & 0x00FFFFFF);
            out[col] = 0xFF000000u | value;
        }
    }
    cairo_surface_mark_dirty(dst->surface);
    if (auto bitmap = FindAs<Bitmap>(dst->bitmap, Kind::Bitmap); dst->memory && bitmap && bitmap->monochrome)
        HoldMonochrome(dst->surface);
    return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI BitBlt(HDC hdcDest, int nXDest, int nYDest, int nWidth, int nHeight, HDC hdcSrc, int nXSrc,
                              int nYSrc, DWORD dwRop) {
    return Blit(hdcDest, nXDest, nYDest, nWidth, nHeight, hdcSrc, nXSrc, nYSrc, dwRop);
}

extern "C" BOOL WINAPI PatBlt(HDC hdc, int nXLeft, int nYLeft, int nWidth, int nHeight, DWORD dwRop) {
    if (UsesSource(dwRop)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return Blit(hdc, nXLeft, nYLeft, nWidth, nHeight, nullptr, 0, 0, dwRop);
}
