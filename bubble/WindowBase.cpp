#include "WindowBase.h"

WindowBase::WindowBase(HINSTANCE instance) : parent_(nullptr), hwnd_(nullptr), instance_(instance) {}

WindowBase::~WindowBase() {}

LRESULT WindowBase::OnPaint(HWND, UINT, WPARAM, LPARAM) { return -1; }
LRESULT WindowBase::OnCommand(HWND, UINT, WPARAM, LPARAM) { return -1; }
LRESULT WindowBase::OnActivate(HWND, UINT, WPARAM, LPARAM) { return -1; }
// The bubble places its children itself (PlaceBubble).
LRESULT WindowBase::OnResize(HWND, UINT, WPARAM, LPARAM) { return 0; }
LRESULT WindowBase::Reserved1(HWND, UINT, WPARAM, LPARAM) { return -1; }
LRESULT WindowBase::Reserved2(HWND, UINT, WPARAM, LPARAM) { return -1; }

LRESULT WindowBase::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return DispatchStandard(hwnd, msg, wParam, lParam);
}

LRESULT WindowBase::DispatchStandard(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE:
            return OnCreate(hwnd, msg, wParam, lParam);
        case WM_DESTROY:
            return OnDestroy(hwnd, msg, wParam, lParam);
        case WM_SIZE:
            return OnResize(hwnd, msg, wParam, lParam);
        case WM_ACTIVATE:
            return OnActivate(hwnd, msg, wParam, lParam);
        case WM_PAINT:
            return OnPaint(hwnd, msg, wParam, lParam);
        case WM_COMMAND:
            return OnCommand(hwnd, msg, wParam, lParam);
    }
    return 1;
}

BOOL WindowBase::CreateFrameWindow(DWORD exStyle, HWND parent, LPCWSTR className, LPCWSTR title, DWORD style, int x,
                                   int y, int width, int height) {
    parent_ = parent;
    text_ = WString::FromText(title);
    HWND hwnd = CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr, instance_,
                                this);
    hwnd_ = hwnd;
    return hwnd != nullptr;
}

LRESULT CALLBACK RouteWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        CREATESTRUCTW* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        WindowBase* object = static_cast<WindowBase*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(object));
        if (object) object->hwnd_ = hwnd;
    }
    WindowBase* object = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (object) return object->HandleMessage(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ATOM RegisterWindowClass(HINSTANCE instance, LPCWSTR className, HBRUSH background, BOOL inheritDialog) {
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = RouteWindowMessage;
    if (inheritDialog) {
        WNDCLASSW dialog = {};
        if (GetClassInfoW(nullptr, TEXT("DIALOG"), &dialog)) wc.cbWndExtra = dialog.cbWndExtra;
    }
    wc.hInstance = instance;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    return RegisterClassW(&wc);
}
