// The bubble's lengths are logical units at 96 dpi, converted to the
// screen's pixels.
#pragma once

#include <windows.h>

// Reads the screen's dpi on its first call; later calls change nothing.
void InitScaling();
// sign(v) * ((|v| * dpi + 48) div 96), horizontally and vertically.
int ScaleX(int v);
int ScaleY(int v);

// The bubble's height in logical units: 63 on a wide screen, 85 otherwise.
int BubbleHeight();
