#include "CallScreen.h"

#include <PhoneWindow.h>

#include <mutex>

namespace cellcore {

namespace {

const WCHAR kClass[] = u"CallScreen";
const UINT WM_NEWNUMBER = WM_USER + 1;

std::mutex g_lock;
HANDLE g_thread = nullptr;
HWND g_window = nullptr;
HANDLE g_ready = nullptr;
std::u16string g_number;  // guarded by g_lock

std::u16string Number() {
    std::lock_guard<std::mutex> lock(g_lock);
    return g_number;
}

void Paint(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    const int third = client.bottom / 3;
    HFONT title = platform::ScreenFont(16, false), number = platform::ScreenFont(19, true);
    HGDIOBJ old = SelectObject(dc, title);
    RECT line = {0, third - third / 2, client.right, third};
    DrawTextW(dc, u"Calling", -1, &line, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, number);
    std::u16string text = Number();
    RECT numberLine = {4, third, client.right - 4, 2 * third};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &numberLine, DT_CENTER | DT_WORDBREAK);
    SelectObject(dc, old);
    DeleteObject(title);
    DeleteObject(number);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK CallScreenProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd);
            return 0;
        case WM_NEWNUMBER:
            SetWindowTextW(hwnd, Number().c_str());
            InvalidateRect(hwnd, nullptr, FALSE);
            SetForegroundWindow(hwnd);
            return 0;
        case WM_HOTKEY:
            // End ends the call, on its release as the phone does.
            if (static_cast<int>(wParam) == platform::kEndHotKey) DestroyWindow(hwnd);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            platform::GiveEndKeyBack(hwnd);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI CallScreenThread(LPVOID) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = CallScreenProc;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND window = CreateWindowExW(0, kClass, Number().c_str(), WS_VISIBLE, work.left, work.top, work.right - work.left,
                                  work.bottom - work.top, nullptr, nullptr, nullptr, nullptr);
    if (window) {
        // The call holds End for as long as it lasts.
        platform::TakeEndKey(window);
        SetForegroundWindow(window);
    }
    {
        std::lock_guard<std::mutex> lock(g_lock);
        g_window = window;
    }
    SetEvent(g_ready);
    if (!window) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    std::lock_guard<std::mutex> lock(g_lock);
    g_window = nullptr;
    return 0;
}

}  // namespace

bool ShowCallScreen(const std::u16string& number) {
    std::unique_lock<std::mutex> lock(g_lock);
    g_number = number;
    if (g_window) {
        HWND window = g_window;
        lock.unlock();
        PostMessageW(window, WM_NEWNUMBER, 0, 0);
        return true;
    }
    // A screen that closed leaves its thread to be collected here.
    if (g_thread) {
        HANDLE ended = g_thread;
        g_thread = nullptr;
        lock.unlock();
        WaitForSingleObject(ended, 5000);
        CloseHandle(ended);
        lock.lock();
    }
    if (!g_ready) g_ready = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    g_thread = CreateThread(nullptr, 0, CallScreenThread, nullptr, 0, nullptr);
    HANDLE ready = g_ready;
    bool started = g_thread != nullptr;
    lock.unlock();
    if (started) WaitForSingleObject(ready, 5000);
    return started;
}

void CloseCallScreen() {
    std::unique_lock<std::mutex> lock(g_lock);
    HWND window = g_window;
    HANDLE thread = g_thread;
    g_thread = nullptr;
    lock.unlock();
    if (window) PostMessageW(window, WM_CLOSE, 0, 0);
    if (thread) {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    lock.lock();
    if (g_ready) CloseHandle(g_ready);
    g_ready = nullptr;
}

}  // namespace cellcore
