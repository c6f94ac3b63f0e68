// The small window framework of the rule client: an object per window,
// found through the window's user data, with a virtual handler per message
// kind. A handler returns 0 when it handled the message.
#pragma once

#include "WString.h"

#include <windows.h>

class WindowBase {
public:
    explicit WindowBase(HINSTANCE instance);
    virtual ~WindowBase();
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    virtual LRESULT OnCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT OnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    virtual LRESULT OnPaint(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnActivate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnResize(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Kept for the slot order of the handlers; no message reaches them.
    virtual LRESULT Reserved1(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT Reserved2(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    virtual LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    // Creates the window with this object as its creation parameter.
    BOOL CreateFrameWindow(DWORD exStyle, HWND parent, LPCWSTR className, LPCWSTR title, DWORD style, int x, int y,
                           int width, int height);

    HWND Window() const { return hwnd_; }
    HINSTANCE Instance() const { return instance_; }

protected:
    // Routes the standard messages to their handlers; 1 for any other.
    LRESULT DispatchStandard(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND parent_;
    HWND hwnd_;
    HINSTANCE instance_;
    WString text_;

    friend LRESULT CALLBACK RouteWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

// The window procedure of every class registered here.
LRESULT CALLBACK RouteWindowMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Registers a class routed to its objects; the class atom, 0 on failure.
// With inheritDialog the windows get the extra bytes of the system's dialogs.
ATOM RegisterWindowClass(HINSTANCE instance, LPCWSTR className, HBRUSH background, BOOL inheritDialog);
