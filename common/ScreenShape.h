// The shape of the screen, shared by the bubble and the settings program.
#pragma once

#include <windows.h>

enum ScreenShape {
    Wide = 0,   // height less than width
    Tall = 1,   // height greater than width
    Square = 2  // height equal to width
};

// From GetSystemMetrics SM_CXSCREEN and SM_CYSCREEN, read afresh each time.
ScreenShape GetScreenShape();
