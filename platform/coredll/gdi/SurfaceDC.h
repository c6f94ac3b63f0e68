// The contract between the window system and GDI: a device context that
// draws on part of a cairo surface (a window's, the screen's or a bitmap's).
// Internal to coredll.
#pragma once

#include <windows.h>

#include <cairo.h>

#include <mutex>

namespace gdi {

// A DC drawing on surface, whose (0,0) lies at origin in surface
// coordinates, clipped to clip (surface coordinates). window is the window
// it belongs to (null for memory and screen DCs). The DC keeps its own
// reference on the surface.
HDC CreateSurfaceDC(cairo_surface_t* surface, POINT origin, RECT clip, HWND window);
// Ends such a DC (ReleaseDC and EndPaint call this for window DCs).
void DestroySurfaceDC(HDC dc);

// Held by every GDI call while it draws; whoever reads or replaces the
// pixels of a surface GDI may draw on (the screen composition) holds it too.
std::recursive_mutex& Lock();

}  // namespace gdi
