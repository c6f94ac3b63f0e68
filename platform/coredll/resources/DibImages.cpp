// Reading DIBs: 1, 4 and 8 bits per pixel through the colour table, 16 bits
// as 5-5-5 or by bit-field masks, 24 and 32 bits; bottom-up or top-down
// rows. Every read is checked against the data's size.
#include "resources/DibImages.h"

#include <cstring>
#include <vector>

namespace gdi {

namespace {

// Larger images are refused rather than allocated.
const int kMaxSide = 4096;

struct Layout {
    BITMAPINFOHEADER header{};
    int width = 0;
    int height = 0;  // of the colour image
    bool topDown = false;
    std::vector<RGBQUAD> colours;
    DWORD masks[3] = {0, 0, 0};
    const BYTE* bits = nullptr;
    size_t stride = 0;
};

bool ReadLayout(const BYTE* data, size_t size, bool icon, Layout* layout) {
    if (size < sizeof(BITMAPINFOHEADER)) return false;
    std::memcpy(&layout->header, data, sizeof(BITMAPINFOHEADER));
    const BITMAPINFOHEADER& h = layout->header;
    if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biSize > size) return false;
    if (h.biWidth <= 0 || h.biWidth > kMaxSide || h.biHeight == 0 || h.biHeight < -kMaxSide ||
        h.biHeight > 2 * kMaxSide)
        return false;
    int bits = h.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
    if (h.biCompression != BI_RGB && !(h.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32))) return false;
    layout->width = h.biWidth;
    layout->topDown = h.biHeight < 0;
    int rows = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    layout->height = icon ? rows / 2 : rows;
    if (layout->height < 1) return false;
    size_t at = h.biSize;
    if (h.biCompression == BI_BITFIELDS) {
        if (at + 12 > size) return false;
        std::memcpy(layout->masks, data + at, 12);
        at += 12;
    } else if (bits == 16) {
        layout->masks[0] = 0x7C00;
        layout->masks[1] = 0x03E0;
        layout->masks[2] = 0x001F;
    }
    if (bits <= 8) {
        size_t count = h.biClrUsed ? h.biClrUsed : (1u << bits);
        if (count > 256 || at + count * 4 > size) return false;
        layout->colours.resize(count);
        std::memcpy(layout->colours.data(), data + at, count * 4);
        at += count * 4;
    }
    layout->stride = ((static_cast<size_t>(layout->width) * bits + 31) / 32) * 4;
    if (at + layout->stride * layout->height > size) return false;
    layout->bits = data + at;
    return true;
}

// The value a mask selects, scaled to 0..255.
unsigned Channel(DWORD value, DWORD mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    DWORD max = mask >> shift;
    return static_cast<unsigned>(((value & mask) >> shift) * 255 / max);
}

// Pixel x of a stored row as 0x00RRGGBB, and the 32-bit alpha in *alpha.
uint32_t ReadPixel(const Layout& layout, const BYTE* row, int x, unsigned* alpha) {
    *alpha = 255;
    auto fromTable = [&](unsigned index) -> uint32_t {
        if (index >= layout.colours.size()) return 0;
        const RGBQUAD& q = layout.colours[index];
        return (q.rgbRed << 16) | (q.rgbGreen << 8) | q.rgbBlue;
    };
    switch (layout.header.biBitCount) {
        case 1:
            return fromTable((row[x / 8] >> (7 - x % 8)) & 1);
        case 4:
            return fromTable((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
        case 8:
            return fromTable(row[x]);
        case 16: {
            DWORD v = row[2 * x] | (row[2 * x + 1] << 8);
            return (Channel(v, layout.masks[0]) << 16) | (Channel(v, layout.masks[1]) << 8) |
                   Channel(v, layout.masks[2]);
        }
        case 24:
            return (row[3 * x + 2] << 16) | (row[3 * x + 1] << 8) | row[3 * x];
        default: {
            DWORD v;
            std::memcpy(&v, row + 4 * x, 4);
            *alpha = v >> 24;
            if (layout.header.biCompression == BI_BITFIELDS)
                return (Channel(v, layout.masks[0]) << 16) | (Channel(v, layout.masks[1]) << 8) |
                       Channel(v, layout.masks[2]);
            return v & 0x00FFFFFF;
        }
    }
}

const BYTE* Row(const BYTE* bits, size_t stride, int height, bool topDown, int y) {
    return bits + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
}

struct PngSource {
    const BYTE* data;
    size_t size;
    size_t at;
};

bool DecodePng(const BYTE* data, size_t size, DibImage* image) {
    PngSource source{data, size, 0};
    cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(
        [](void* closure, unsigned char* out, unsigned int length) {
            auto* s = static_cast<PngSource*>(closure);
            if (length > s->size - s->at) return CAIRO_STATUS_READ_ERROR;
            std::memcpy(out, s->data + s->at, length);
            s->at += length;
            return CAIRO_STATUS_SUCCESS;
        },
        &source);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    image->surface = surface;
    image->width = cairo_image_surface_get_width(surface);
    image->height = cairo_image_surface_get_height(surface);
    image->bitCount = 32;
    return true;
}

}  // namespace

bool DecodeBitmap(const BYTE* data, size_t size, DibImage* image) {
    Layout layout;
    if (!data || !ReadLayout(data, size, false, &layout)) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, layout.width, layout.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    uint32_t* pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    int stride = cairo_image_surface_get_stride(surface) / 4;
    for (int y = 0; y < layout.height; ++y) {
        const BYTE* row = Row(layout.bits, layout.stride, layout.height, layout.topDown, y);
        unsigned alpha;
        for (int x = 0; x < layout.width; ++x) pixels[y * stride + x] = 0xFF000000u | ReadPixel(layout, row, x, &alpha);
    }
    cairo_surface_mark_dirty(surface);
    image->surface = surface;
    image->width = layout.width;
    image->height = layout.height;
    image->bitCount = layout.header.biBitCount;
    return true;
}

bool DecodeIconImage(const BYTE* data, size_t size, DibImage* image) {
    if (!data) return false;
    if (size >= 8 && std::memcmp(data, "\x89PNG", 4) == 0) return DecodePng(data, size, image);
    Layout layout;
    if (!ReadLayout(data, size, true, &layout)) return false;
    size_t maskStride = ((static_cast<size_t>(layout.width) + 31) / 32) * 4;
    const BYTE* mask = layout.bits + layout.stride * layout.height;
    bool hasMask = static_cast<size_t>(mask - data) + maskStride * layout.height <= size;
    // A 32-bit image whose alpha is all zero is an old-style one: its mask decides.
    bool useAlpha = false;
    if (layout.header.biBitCount == 32) {
        for (int y = 0; y < layout.height && !useAlpha; ++y) {
            const BYTE* row = Row(layout.bits, layout.stride, layout.height, layout.topDown, y);
            for (int x = 0; x < layout.width && !useAlpha; ++x) useAlpha = row[4 * x + 3] != 0;
        }
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, layout.width, layout.height);
    if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(surface);
        return false;
    }
    cairo_surface_flush(surface);
    uint32_t* pixels = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface));
    int stride = cairo_image_surface_get_stride(surface) / 4;
    for (int y = 0; y < layout.height; ++y) {
        const BYTE* row = Row(layout.bits, layout.stride, layout.height, layout.topDown, y);
        const BYTE* maskRow = hasMask ? Row(mask, maskStride, layout.height, layout.topDown, y) : nullptr;
        for (int x = 0; x < layout.width; ++x) {
            unsigned alpha;
            uint32_t rgb = ReadPixel(layout, row, x, &alpha);
            if (!useAlpha) alpha = maskRow && ((maskRow[x / 8] >> (7 - x % 8)) & 1) ? 0 : 255;
            unsigned r = ((rgb >> 16) & 0xFF) * alpha / 255, g = ((rgb >> 8) & 0xFF) * alpha / 255,
                     b = (rgb & 0xFF) * alpha / 255;
            pixels[y * stride + x] = (alpha << 24) | (r << 16) | (g << 8) | b;
        }
    }
    cairo_surface_mark_dirty(surface);
    image->surface = surface;
    image->width = layout.width;
    image->height = layout.height;
    image->bitCount = layout.header.biBitCount;
    return true;
}

}  // namespace gdi
