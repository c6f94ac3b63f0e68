// Painting: WM_PAINT after invalidation and after posted messages,
// BeginPaint's update rectangle and erase flag, UpdateWindow, and the
// composed screen with children clipped to their parents.
#include <MessageRecorder.h>
#include <TempDevice.h>
#include <cairo.h>
#include <gtest/gtest.h>
#include <pm.h>
#include <screen_host.h>
#include <windows.h>

#include <vector>

using namespace testing_support;

namespace {

RECT g_lastPaint;
BOOL g_lastErase;

LRESULT CALLBACK PaintingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (MessageRecorder* r = MessageRecorder::Current()) r->Record(hwnd, msg, wParam, lParam);
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        g_lastPaint = ps.rcPaint;
        g_lastErase = ps.fErase;
        RECT all;
        GetClientRect(hwnd, &all);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(hwnd, GWL_USERDATA)));
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

class WindowPaint : public ::testing::Test {
protected:
    void SetUp() override {
        host::SetScreenProfile(host::ScreenProfile{240, 320, 96});
        WNDCLASSW wc{};
        wc.lpfnWndProc = PaintingProc;
        wc.lpszClassName = u"Painted";
        RegisterClassW(&wc);
        recorder.Ignore({WM_SHOWWINDOW, WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE, WM_CREATE, WM_ACTIVATE, WM_SETFOCUS,
                         WM_KILLFOCUS, WM_DESTROY, WM_NCDESTROY});
    }
    // What a test made goes with it, so that the tests after it in one
    // process see none of its windows.
    void TearDown() override {
        for (HWND w : made_)
            if (IsWindow(w)) DestroyWindow(w);
    }
    HWND Make(DWORD style, int x, int y, int cx, int cy, COLORREF color, HWND parent = nullptr) {
        HWND w = CreateWindowExW(0, u"Painted", nullptr, style & ~WS_VISIBLE, x, y, cx, cy, parent, nullptr, nullptr,
                                 nullptr);
        made_.push_back(w);
        SetWindowLongPtrW(w, GWL_USERDATA, static_cast<LONG_PTR>(color));
        if (style & WS_VISIBLE) ShowWindow(w, SW_SHOWNA);
        return w;
    }
    COLORREF ScreenPixel(int x, int y) {
        HDC screen = GetDC(nullptr);
        COLORREF c = GetPixel(screen, x, y);
        ReleaseDC(nullptr, screen);
        return c;
    }
    MessageRecorder recorder;
    std::vector<HWND> made_;
};

TEST_F(WindowPaint, WmPaintComesAfterPostedMessagesWithTheUnionOfTheInvalidatedParts) {
    HWND w = Make(WS_VISIBLE, 0, 0, 100, 100, RGB(255, 0, 0));
    recorder.Pump();
    recorder.Clear();
    RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
    InvalidateRect(w, &a, TRUE);
    InvalidateRect(w, &b, FALSE);
    PostMessageW(w, WM_USER, 0, 0);
    RECT update;
    EXPECT_TRUE(GetUpdateRect(w, &update, FALSE));
    recorder.Pump();
    const Expected kOrder[] = {{WM_USER, Posted}, {WM_PAINT, Posted}, {WM_ERASEBKGND, Sent}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kOrder));
    EXPECT_EQ(g_lastPaint.left, 10);
    EXPECT_EQ(g_lastPaint.top, 5);
    EXPECT_EQ(g_lastPaint.right, 40);
    EXPECT_EQ(g_lastPaint.bottom, 20);
    EXPECT_TRUE(g_lastErase) << "no class brush, so the window must erase";
    EXPECT_FALSE(GetUpdateRect(w, &update, FALSE));
    // Validated: nothing more to paint.
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    // A hidden window gets no WM_PAINT until it is shown.
    ShowWindow(w, SW_HIDE);
    InvalidateRect(w, nullptr, FALSE);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE));
    ValidateRect(w, nullptr);
    DestroyWindow(w);
}

TEST_F(WindowPaint, UpdateWindowSendsWmPaintAtOnceOnlyWhenInvalid) {
    HWND w = Make(WS_VISIBLE, 0, 0, 50, 50, RGB(0, 255, 0));
    recorder.Pump();
    recorder.Clear();
    UpdateWindow(w);
    EXPECT_TRUE(recorder.Take(w).empty());
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    const Expected kNow[] = {{WM_PAINT, Sent}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kNow));
    EXPECT_FALSE(g_lastErase);
    EXPECT_EQ(g_lastPaint.right, 50);
    DestroyWindow(w);
}

TEST_F(WindowPaint, TheScreenComposesWindowsInZOrderWithChildrenClippedToTheirParents) {
    HWND red = Make(WS_VISIBLE, 10, 10, 50, 50, RGB(255, 0, 0));
    Make(WS_CHILD | WS_VISIBLE, 20, 20, 100, 100, RGB(0, 0, 255), red);
    HWND green = Make(WS_VISIBLE, 100, 100, 40, 40, RGB(0, 255, 0));
    recorder.Pump();
    EXPECT_EQ(ScreenPixel(12, 12), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(40, 40), RGB(0, 0, 255)) << "the child inside its parent";
    EXPECT_NE(ScreenPixel(65, 65), RGB(0, 0, 255)) << "the child is clipped to its parent";
    EXPECT_EQ(ScreenPixel(110, 110), RGB(0, 255, 0));
    // Moved over the red window, green is on top of it.
    SetWindowPos(green, HWND_TOP, 20, 20, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    recorder.Pump();
    EXPECT_EQ(ScreenPixel(30, 30), RGB(0, 255, 0));
    SetWindowPos(red, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ScreenPixel(30, 30), RGB(0, 0, 255)) << "raised, red and its child are over green";
    ShowWindow(red, SW_HIDE);
    EXPECT_EQ(ScreenPixel(12, 12), ScreenPixel(230, 310)) << "hidden: the desktop shows";
}

TEST_F(WindowPaint, AWindowFarLargerThanTheScreenIsDrawnWhereTheScreenShowsIt) {
    // 30,000 pixels a side, as a dialog template may ask: a picture of all
    // of it would take 3.6 GB.
    HWND huge = Make(WS_VISIBLE, 0, 0, 30000, 30000, RGB(255, 0, 0));
    recorder.Pump();
    EXPECT_EQ(ScreenPixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(ScreenPixel(235, 315), RGB(255, 0, 0));
    HDC dc = GetDC(huge);
    EXPECT_EQ(GetPixel(dc, 100, 100), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 20000, 20000), CLR_INVALID) << "far off the screen nothing is kept";
    ReleaseDC(huge, dc);
    DestroyWindow(huge);
}

// A top-level window made after one of its size is gone draws into that
// one's memory: it still starts white, and a DC that outlived its window
// keeps the pixels it saw.
TEST_F(WindowPaint, AWindowMadeAfterOneOfItsSizeStartsWhiteAndADCThatOutlivedItsWindowKeepsItsPixels) {
    auto fill = [](HWND w, COLORREF color) {
        HDC dc = GetDC(w);
        HBRUSH brush = CreateSolidBrush(color);
        RECT all{0, 0, 60, 40};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ReleaseDC(w, dc);
    };
    auto pixel = [](HWND w) {
        HDC dc = GetDC(w);
        COLORREF c = GetPixel(dc, 30, 20);
        ReleaseDC(w, dc);
        return c;
    };
    const COLORREF white = RGB(255, 255, 255);

    HWND first = Make(0, 0, 0, 60, 40, RGB(255, 0, 0));
    fill(first, RGB(255, 0, 0));
    DestroyWindow(first);
    HWND second = Make(0, 0, 0, 60, 40, RGB(0, 255, 0));
    EXPECT_EQ(pixel(second), white) << "nothing of the window gone shows";
    fill(second, RGB(0, 255, 0));

    HDC held = GetDC(second);
    DestroyWindow(second);
    HWND third = Make(0, 0, 0, 60, 40, RGB(0, 0, 255));
    EXPECT_EQ(pixel(third), white);
    fill(third, RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(held, 30, 20), RGB(0, 255, 0)) << "a held picture is not drawn over";
    ReleaseDC(second, held);

    DestroyWindow(third);
    for (SIZE size : {SIZE{61, 40}, SIZE{60, 40}}) {
        HWND again = Make(0, 0, 0, size.cx, size.cy, RGB(0, 0, 0));
        EXPECT_EQ(pixel(again), white) << size.cx << " x " << size.cy;
        fill(again, RGB(0, 0, 0));
        DestroyWindow(again);
    }
}

TEST_F(WindowPaint, AScreenshotIsAPngOfTheScreenAndBlackWhileTheDisplaySleeps) {
    TempFolder folder;
    Make(WS_VISIBLE, 0, 0, 240, 320, RGB(255, 255, 0));
    recorder.Pump();
    std::string awake = folder.path() + "/awake.png", asleep = folder.path() + "/asleep.png";
    std::string error;
    ASSERT_TRUE(host::SaveScreenshot(awake, &error)) << error;
    SetSystemPowerState(nullptr, POWER_STATE_USERIDLE, 0);
    ASSERT_TRUE(host::SaveScreenshot(asleep, &error)) << error;
    SetSystemPowerState(nullptr, POWER_STATE_ON, 0);
    auto pixel = [](const std::string& path, int x, int y) {
        cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
        EXPECT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
        EXPECT_EQ(cairo_image_surface_get_width(s), 240);
        EXPECT_EQ(cairo_image_surface_get_height(s), 320);
        auto* data = cairo_image_surface_get_data(s);
        uint32_t v = *reinterpret_cast<uint32_t*>(data + y * cairo_image_surface_get_stride(s) + x * 4);
        cairo_surface_destroy(s);
        return v & 0xFFFFFF;
    };
    EXPECT_EQ(pixel(awake, 120, 160), 0xFFFF00u);
    EXPECT_EQ(pixel(asleep, 120, 160), 0x000000u);
    EXPECT_FALSE(host::SaveScreenshot(folder.path() + "/no/such/folder/x.png", &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
