// What the dialog tests share: the "Probe" control class (it keeps the
// arrow keys when its style has PROBE_WANTARROWS, remembers the font it was
// given and the creation data it was made with), stand-ins for the standard
// control classes where the platform has none yet, the templates of
// dialog_tests.rc, and a pump that lets a modeless dialog have its keys.
#pragma once

#include "dialog_tests.h"

#include <windows.h>

#include <map>
#include <vector>

namespace dialog_tests {

struct ProbeLog {
    std::vector<WPARAM> keys;                  // WM_KEYDOWN that reached a probe
    std::map<int, std::vector<WORD>> created;  // creation data by control id
};

inline ProbeLog& Log() {
    static ProbeLog log;
    return log;
}

inline LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
            if (const auto* data = static_cast<const WORD*>(cs->lpCreateParams)) {
                std::vector<WORD> words(data, data + data[0] / 2);
                Log().created[GetDlgCtrlID(hwnd)] = words;
            }
            return 0;
        }
        case WM_GETDLGCODE:
            return (GetWindowLongW(hwnd, GWL_STYLE) & PROBE_WANTARROWS) ? DLGC_WANTARROWS : 0;
        case WM_KEYDOWN:
            Log().keys.push_back(wParam);
            return 0;
        case WM_SETFONT:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, static_cast<LONG_PTR>(wParam));
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(hwnd, GWL_USERDATA);
        default:
            return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
}

inline void RegisterProbeClasses() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ProbeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = u"Probe";
    RegisterClassW(&wc);
    for (LPCWSTR name : {u"Button", u"Edit", u"Static", u"ListBox", u"ComboBox"}) {
        WNDCLASSW known{};
        if (GetClassInfoW(nullptr, name, &known)) continue;
        wc.lpszClassName = name;
        RegisterClassW(&wc);
    }
}

inline const DLGTEMPLATE* Template(int id, LPCWSTR type = RT_DIALOG) {
    HMODULE self = GetModuleHandleW(nullptr);
    HRSRC info = FindResourceW(self, MAKEINTRESOURCE(id), type);
    HGLOBAL data = info ? LoadResource(self, info) : nullptr;
    return data ? static_cast<const DLGTEMPLATE*>(LockResource(data)) : nullptr;
}

// Handles everything queued for this thread, keys through the dialog.
inline void Pump(HWND dlg) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(dlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

// The control's rectangle in the dialog's client coordinates.
inline RECT PlaceOf(HWND dlg, int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(dlg, id), &r);
    MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

inline RECT DialogUnits(HWND dlg, int x, int y, int cx, int cy) {
    RECT r{x, y, x + cx, y + cy};
    MapDialogRect(dlg, &r);
    return r;
}

}  // namespace dialog_tests
