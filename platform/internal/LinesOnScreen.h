// The lines of a figure drawn line by line that can reach the screen. A
// control of a template with a huge font can be millions of pixels tall and
// wide, and a figure scaled to it as many lines: its painting draws only
// these.
#pragma once

#include <windows.h>

#include <algorithm>

namespace platform {

struct LineRange {
    int first;  // empty when first > last
    int last;
};

// Of the lines k = 0 .. count - 1 of hwnd's client area, line k lying at
// base + step * k (step +1 or -1) along the x axis (alongX) or the y axis,
// those on the screen.
inline LineRange LinesOnScreen(HWND hwnd, bool alongX, long long base, int step, int count) {
    POINT origin{0, 0};
    ClientToScreen(hwnd, &origin);
    const long long lo = -static_cast<long long>(alongX ? origin.x : origin.y);
    const long long hi = lo + GetSystemMetrics(alongX ? SM_CXSCREEN : SM_CYSCREEN) - 1;
    const long long from = step > 0 ? lo - base : base - hi;
    const long long to = step > 0 ? hi - base : base - lo;
    return LineRange{static_cast<int>(std::clamp<long long>(from, 0, count)),
                     static_cast<int>(std::clamp<long long>(to, -1, count - 1))};
}

}  // namespace platform
