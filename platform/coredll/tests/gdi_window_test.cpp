// GDI on the DCs of windows: BitBlt reads another window's pixels, and the
// screen's DC reports the screen.
#include "PaintTarget.h"

#include <screen_host.h>

#include <gtest/gtest.h>

namespace {

using painting::PaintTarget;

LRESULT CALLBACK Plain(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        ValidateRect(hwnd, nullptr);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

COLORREF Pattern(int x, int y) { return RGB(x * 5 % 256, y * 9 % 256, 77); }

TEST(GdiWindows, BitBltCopiesTheSourceWindowsPixelsExactly) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
    WNDCLASSW wc{};
    wc.lpfnWndProc = Plain;
    wc.lpszClassName = TEXT("Beneath");
    ASSERT_TRUE(RegisterClassW(&wc));
    HWND beneath = CreateWindowExW(0, TEXT("Beneath"), nullptr, WS_VISIBLE, 0, 0, 240, 200, nullptr, nullptr, nullptr,
                                   nullptr);
    ASSERT_NE(beneath, nullptr);
    UpdateWindow(beneath);
    HDC window = GetDC(beneath);
    ASSERT_NE(window, nullptr);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) SetPixel(window, 100 + x, 120 + y, Pattern(x, y));

    // The strip under a window above, copied as the bubble copies it.
    PaintTarget strip(60, 20);
    ASSERT_TRUE(BitBlt(strip.dc(), 0, 0, 60, 40, window, 100, 120, SRCCOPY));
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(strip.at(x, y), Pattern(x, y)) << x << "," << y;

    // And back into the window, elsewhere.
    ASSERT_TRUE(BitBlt(window, 10, 10, 60, 20, strip.dc(), 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(window, 10, 10), Pattern(0, 0));
    EXPECT_EQ(GetPixel(window, 69, 29), Pattern(59, 19));
    EXPECT_EQ(GetPixel(window, 240, 10), CLR_INVALID);  // outside the window
    ReleaseDC(beneath, window);
    DestroyWindow(beneath);
}

TEST(GdiWindows, TheScreensDcReportsTheScreen) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 192});
    HDC screen = GetDC(nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192);
    EXPECT_EQ(GetDeviceCaps(screen, HORZRES), 240);
    EXPECT_EQ(GetDeviceCaps(screen, VERTRES), 320);
    ReleaseDC(nullptr, screen);
}

}  // namespace
