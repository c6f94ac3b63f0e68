#include "MessagingApp.h"

#include <HandedState.h>
#include <PhoneWindow.h>

#include <memory>
#include <mutex>

namespace cemapi {

namespace {

const WCHAR kClass[] = u"MessagingApp";

struct OpenWindow {
    AppWindow content;
    HWND window = nullptr;
    HANDLE ready = nullptr;
};

platform::HandedState<OpenWindow> g_handed;

std::mutex g_lock;
std::vector<HANDLE> g_threads;

void Paint(HWND hwnd, const AppWindow& content) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    const int strip = platform::ScaleToScreen(22), pad = platform::ScaleToScreen(4);
    RECT title = {0, 0, client.right, strip};
    FillRect(dc, &title, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SetBkMode(dc, TRANSPARENT);
    HFONT bold = platform::ScreenFont(12, true), plain = platform::ScreenFont(12, false);
    HGDIOBJ old = SelectObject(dc, bold);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    title.left += pad;
    DrawTextW(dc, content.title.c_str(), static_cast<int>(content.title.size()), &title,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    SelectObject(dc, plain);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    int y = strip + pad;
    for (const std::u16string& line : content.lines) {
        if (y >= client.bottom) break;
        RECT box = {pad, y, client.right - pad, client.bottom};
        RECT measure = box;
        DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &measure, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
        DrawTextW(dc, line.c_str(), static_cast<int>(line.size()), &box, DT_LEFT | DT_WORDBREAK);
        y += (measure.bottom - measure.top) + pad;
    }
    SelectObject(dc, old);
    DeleteObject(bold);
    DeleteObject(plain);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK AppProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    OpenWindow* open = reinterpret_cast<OpenWindow*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    switch (msg) {
        case WM_CREATE:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(g_handed.Take(lParam)));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (open)
                Paint(hwnd, open->content);
            else
                ValidateRect(hwnd, nullptr);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_TBACK) DestroyWindow(hwnd);
            return 0;
        case WM_HOTKEY:
            // End closes the application, on its release as the phone does.
            if (static_cast<int>(wParam) == platform::kEndHotKey) DestroyWindow(hwnd);
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            if (!open) break;  // not the application's window: its thread goes on
            platform::GiveEndKeyBack(hwnd);
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI AppThread(LPVOID parameter) {
    std::unique_ptr<OpenWindow> open(static_cast<OpenWindow*>(parameter));
    static const bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = AppProc;
        wc.lpszClassName = kClass;
        return RegisterClassW(&wc) != 0;
    }();
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    HWND window = registered ? CreateWindowExW(0, kClass, open->content.title.c_str(), WS_VISIBLE, work.left, work.top,
                                               work.right - work.left, work.bottom - work.top, nullptr, nullptr,
                                               nullptr, g_handed.Hand(open.get()))
                             : nullptr;
    g_handed.Withdraw(open.get());
    if (window) {
        // The application holds End while it is in front.
        platform::TakeEndKey(window);
        SetForegroundWindow(window);
        SetFocus(window);
    }
    open->window = window;
    SetEvent(open->ready);
    if (!window) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

bool OpenAppWindow(const AppWindow& content) {
    auto* open = new (std::nothrow) OpenWindow;
    if (!open) return false;
    open->content = content;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    open->ready = ready;
    HANDLE thread = CreateThread(nullptr, 0, AppThread, open, 0, nullptr);
    if (!thread) {
        delete open;
        CloseHandle(ready);
        return false;
    }
    WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
    std::lock_guard<std::mutex> lock(g_lock);
    // Threads of windows already closed are collected as new ones come.
    for (auto it = g_threads.begin(); it != g_threads.end();) {
        if (WaitForSingleObject(*it, 0) == WAIT_OBJECT_0) {
            CloseHandle(*it);
            it = g_threads.erase(it);
        } else {
            ++it;
        }
    }
    g_threads.push_back(thread);
    return true;
}

void CloseAppWindows() {
    for (HWND w = FindWindowW(kClass, nullptr); w; w = FindWindowW(kClass, nullptr)) {
        SendMessageW(w, WM_CLOSE, 0, 0);
        if (IsWindow(w)) break;
    }
    std::lock_guard<std::mutex> lock(g_lock);
    for (HANDLE thread : g_threads) {
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
    }
    g_threads.clear();
}

}  // namespace cemapi
