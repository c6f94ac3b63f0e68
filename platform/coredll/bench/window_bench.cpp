// Speed of the window system: a cross-thread SendMessageW round trip, and
// one composition of the screen from its windows.
#include <benchmark/benchmark.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>

namespace {

LRESULT CALLBACK EchoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) return lParam + 1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct Receiver {
    std::atomic<HWND> window{nullptr};
    HANDLE thread = nullptr;

    static DWORD WINAPI Main(LPVOID p) {
        auto* self = static_cast<Receiver*>(p);
        self->window = CreateWindowExW(0, u"Echo", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
        return 0;
    }
    Receiver() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = EchoProc;
        wc.lpszClassName = u"Echo";
        RegisterClassW(&wc);
        thread = CreateThread(nullptr, 0, Main, this, 0, nullptr);
        while (!window) Sleep(1);
    }
    ~Receiver() {
        PostMessageW(window, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
};

void BM_CrossThreadSendMessage(benchmark::State& state) {
    Receiver receiver;
    LPARAM i = 0;
    for (auto _ : state) {
        LRESULT r = SendMessageW(receiver.window, WM_USER, 0, i);
        if (r != i + 1) state.SkipWithError("wrong answer");
        ++i;
    }
}
BENCHMARK(BM_CrossThreadSendMessage)->UseRealTime();

LRESULT CALLBACK PaintProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT r;
        GetClientRect(hwnd, &r);
        FillRect(dc, &r, GetSysColorBrush(static_cast<int>(GetWindowLongPtrW(hwnd, GWL_USERDATA))));
        EndPaint(hwnd, &ps);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A screen like the phone's with a program and a bubble over the home screen.
void BM_ComposeScreen(benchmark::State& state) {
    host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
    WNDCLASSW wc{};
    wc.lpfnWndProc = PaintProc;
    wc.lpszClassName = u"Layer";
    RegisterClassW(&wc);
    const RECT places[] = {{0, 0, 240, 36}, {0, 36, 240, 284}, {0, 284, 240, 320}, {4, 160, 236, 276}};
    const int colors[] = {COLOR_ACTIVECAPTION, COLOR_WINDOW, COLOR_BTNFACE, COLOR_INACTIVECAPTION};
    HWND windows[4];
    for (int i = 0; i < 4; ++i) {
        const RECT& r = places[i];
        windows[i] = CreateWindowExW(0, u"Layer", nullptr, 0, r.left, r.top, r.right - r.left, r.bottom - r.top,
                                     nullptr, nullptr, nullptr, nullptr);
        SetWindowLongPtrW(windows[i], GWL_USERDATA, colors[i]);
        ShowWindow(windows[i], SW_SHOWNA);
        UpdateWindow(windows[i]);
    }
    for (auto _ : state) {
        HDC screen = GetDC(nullptr);
        benchmark::DoNotOptimize(screen);
        ReleaseDC(nullptr, screen);
    }
    for (HWND w : windows) DestroyWindow(w);
}
BENCHMARK(BM_ComposeScreen);

}  // namespace

BENCHMARK_MAIN();
