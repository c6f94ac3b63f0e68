// Images stored as device-independent bitmaps (a BITMAPINFOHEADER, its
// colour table and the pixel rows), as resources and icon files hold them,
// and PNG icon images. Internal to coredll.
#pragma once

#include <windows.h>

#include <cairo.h>

namespace gdi {

struct DibImage {
    cairo_surface_t* surface = nullptr;  // the caller owns it
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

// A bitmap resource: an opaque 24-bit surface. False for data that is not a
// DIB this platform reads, or that is cut short.
bool DecodeBitmap(const BYTE* data, size_t size, DibImage* image);

// An icon image: the colour rows followed by the AND mask, the header
// giving twice the image's height; or a PNG. The result is premultiplied
// ARGB, transparent where the mask (or the alpha of a 32-bit image) says.
bool DecodeIconImage(const BYTE* data, size_t size, DibImage* image);

}  // namespace gdi
