// Images from a module's resources: LoadBitmapW, and icons (LoadIconW,
// DrawIconEx, GetIconInfo, DestroyIcon).
#include "resources/DibImages.h"
#include "gdi/Gdi.h"
#include "resources/Resources.h"

#include <cstdlib>
#include <cstring>

using namespace gdi;

namespace {

const DWORD kInvalidIconHandle = 1402;  // ERROR_INVALID_ICON_HANDLE

#pragma pack(push, 2)
struct GroupIconHeader {
    WORD reserved;
    WORD type;  // 1 for icons
    WORD count;
};
struct GroupIconEntry {
    BYTE width;  // 0 is 256
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

// The image of the group nearest the system's icon size; of those, the
// deepest.
bool ChooseImage(const BYTE* data, DWORD size, WORD* id) {
    GroupIconHeader header;
    if (!data || size < sizeof header) return false;
    std::memcpy(&header, data, sizeof header);
    if (header.type != 1 || header.count == 0 || sizeof header + header.count * sizeof(GroupIconEntry) > size)
        return false;
    int target = SystemIconSize();
    int bestDistance = 1 << 30, bestBits = -1;
    for (WORD i = 0; i < header.count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, data + sizeof header + i * sizeof entry, sizeof entry);
        int width = entry.width ? entry.width : 256;
        int distance = std::abs(width - target);
        if (distance < bestDistance || (distance == bestDistance && entry.bitCount > bestBits)) {
            bestDistance = distance;
            bestBits = entry.bitCount;
            *id = entry.id;
        }
    }
    return true;
}

}  // namespace

extern "C" HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName) {
    if (!hInstance || !lpBitmapName) {
        // The system's own bitmaps (OBM_*) are not kept.
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    const resources::Entry* entry = resources::FindIn(hInstance, RT_BITMAP, lpBitmapName);
    if (!entry) return nullptr;
    DibImage image;
    if (!DecodeBitmap(entry->data, entry->size, &image)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    auto bitmap = std::make_shared<Bitmap>();
    bitmap->surface = image.surface;
    bitmap->width = image.width;
    bitmap->height = image.height;
    bitmap->monochrome = image.bitCount == 1;
    return static_cast<HBITMAP>(Insert(bitmap));
}

extern "C" HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
    if (!lpIconName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!hInstance) return StandardIcon(lpIconName);
    const resources::Entry* group = resources::FindIn(hInstance, RT_GROUP_ICON, lpIconName);
    if (!group) return nullptr;
    WORD id = 0;
    if (!ChooseImage(group->data, group->size, &id)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    const resources::Entry* entry = resources::FindIn(hInstance, RT_ICON, MAKEINTRESOURCE(id));
    if (!entry) return nullptr;
    DibImage image;
    if (!DecodeIconImage(entry->data, entry->size, &image)) {
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    auto icon = std::make_shared<Icon>();
    icon->image = image.surface;
    icon->width = image.width;
    icon->height = image.height;
    return static_cast<HICON>(Insert(icon));
}

extern "C" BOOL WINAPI DestroyIcon(HICON hIcon) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto icon = FindAs<Icon>(hIcon, Kind::Icon);
    if (!icon) {
        SetLastError(kInvalidIconHandle);
        return FALSE;
    }
    if (!icon->shared) Remove(hIcon);
    return TRUE;
}

extern "C" BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth,
                                  UINT /*istepIfAniCur*/, HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    auto icon = FindAs<Icon>(hIcon, Kind::Icon);
    if (!dc || !icon) {
        SetLastError(!dc ? ERROR_INVALID_HANDLE : kInvalidIconHandle);
        return FALSE;
    }
    // Zero sizes draw the image at its own size.
    int width = cxWidth > 0 ? cxWidth : icon->width;
    int height = cyWidth > 0 ? cyWidth : icon->height;
    Canvas canvas(*dc);
    cairo_t* cr = canvas.cr();
    COLORREF background;
    if (hbrFlickerFreeDraw && BrushColor(hbrFlickerFreeDraw, &background)) {
        cairo_rectangle(cr, xLeft, yTop, width, height);
        canvas.SetColor(background);
        cairo_fill(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, xLeft, yTop);
    cairo_scale(cr, static_cast<double>(width) / icon->width, static_cast<double>(height) / icon->height);
    cairo_rectangle(cr, 0, 0, icon->width, icon->height);
    cairo_clip(cr);
    if ((diFlags & DI_NORMAL) == DI_MASK) {
        // The AND mask alone: black where the icon is opaque.
        cairo_set_source_rgb(cr, 0, 0, 0);
        cairo_mask_surface(cr, icon->image, 0, 0);
    } else {
        cairo_set_source_surface(cr, icon->image, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
        // The image alone covers its box; with the mask it is drawn through it.
        if ((diFlags & DI_NORMAL) == DI_IMAGE) cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_paint(cr);
    }
    cairo_restore(cr);
    return TRUE;
}

extern "C" BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto icon = FindAs<Icon>(hIcon, Kind::Icon);
    if (!icon || !piconinfo) {
        SetLastError(!icon ? kInvalidIconHandle : ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // The colour image over black, and the mask: white where transparent.
    HBITMAP colour = CreateBitmap(icon->width, icon->height, 1, 24, nullptr);
    HBITMAP mask = CreateBitmap(icon->width, icon->height, 1, 1, nullptr);
    auto colourBitmap = FindAs<Bitmap>(colour, Kind::Bitmap);
    auto maskBitmap = FindAs<Bitmap>(mask, Kind::Bitmap);
    int width, height, stride, iwidth, iheight, istride, mwidth, mheight, mstride;
    uint32_t* out = Pixels(colourBitmap->surface, &width, &height, &stride);
    uint32_t* maskOut = Pixels(maskBitmap->surface, &mwidth, &mheight, &mstride);
    cairo_surface_flush(icon->image);
    const uint32_t* in = reinterpret_cast<const uint32_t*>(cairo_image_surface_get_data(icon->image));
    iwidth = cairo_image_surface_get_width(icon->image);
    iheight = cairo_image_surface_get_height(icon->image);
    istride = cairo_image_surface_get_stride(icon->image) / 4;
    for (int y = 0; y < iheight && y < height; ++y) {
        for (int x = 0; x < iwidth && x < width; ++x) {
            uint32_t p = in[y * istride + x];
            out[y * stride + x] = 0xFF000000u | (p & 0x00FFFFFF);
            maskOut[y * mstride + x] = (p >> 24) < 128 ? 0xFFFFFFFFu : 0xFF000000u;
        }
    }
    cairo_surface_mark_dirty(colourBitmap->surface);
    cairo_surface_mark_dirty(maskBitmap->surface);
    piconinfo->fIcon = TRUE;
    piconinfo->xHotspot = static_cast<DWORD>(icon->width / 2);
    piconinfo->yHotspot = static_cast<DWORD>(icon->height / 2);
    piconinfo->hbmMask = mask;
    piconinfo->hbmColor = colour;
    return TRUE;
}
