#include "user/KeptSurface.h"

namespace user {

cairo_surface_t* KeptSurface::Take(int width, int height) {
    std::lock_guard<std::mutex> lock(lock_);
    // A count of one is the keeper's own: no DC or window still sees the
    // pixels about to be drawn over.
    if (kept_ && cairo_surface_get_reference_count(kept_) == 1 && cairo_image_surface_get_width(kept_) == width &&
        cairo_image_surface_get_height(kept_) == height)
        return cairo_surface_reference(kept_);
    if (kept_) cairo_surface_destroy(kept_);
    kept_ = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    return cairo_surface_reference(kept_);
}

}  // namespace user
