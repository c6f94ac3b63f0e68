#include "Scaling.h"

#include "ScreenShape.h"

namespace {
// Written once by the UI thread before anything reads them.
int g_dpiX = 0;
int g_dpiY = 0;

int Scale(int v, int dpi) {
    int magnitude = v < 0 ? -v : v;
    int scaled = (magnitude * dpi + 48) / 96;
    return v < 0 ? -scaled : scaled;
}
}  // namespace

void InitScaling() {
    if (g_dpiX) return;
    HDC screen = GetDC(nullptr);
    g_dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    g_dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
}

int ScaleX(int v) { return Scale(v, g_dpiX); }
int ScaleY(int v) { return Scale(v, g_dpiY); }

int BubbleHeight() { return GetScreenShape() == Wide ? 63 : 85; }
