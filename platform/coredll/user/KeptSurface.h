// A picture kept for the next one asked for at its size: once nothing but
// the keeper holds it, its memory is drawn into again instead of a fresh
// picture's worth of pages.
#pragma once

#include <cairo.h>

#include <mutex>

namespace user {

class KeptSurface {
public:
    // An RGB24 surface of the size, referenced for the caller: the kept one
    // when nobody else holds it, else a new one, which is kept instead.
    cairo_surface_t* Take(int width, int height);

private:
    std::mutex lock_;
    cairo_surface_t* kept_ = nullptr;
};

}  // namespace user
