#include "ScreenShape.h"

ScreenShape GetScreenShape() {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    if (height < width) return Wide;
    if (height > width) return Tall;
    return Square;
}
