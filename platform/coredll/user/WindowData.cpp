// What a window keeps: its slots (GWL_*), extra bytes and text.
#include "user/WindowSystem.h"

#include <cstring>

using namespace user;

namespace {

// Reads or writes one slot; size is 4 for the LONG calls and pointer-wide
// for the LONG_PTR ones, which matters only for the extra bytes.
bool AccessSlot(HWND hwnd, int index, size_t size, const LONG_PTR* newValue, LONG_PTR* oldValue) {
    Guard lock(Lock());
    Window* w = CheckWindowLocked(hwnd);
    if (!w) return false;
    if (index >= 0) {
        if (static_cast<size_t>(index) + size > w->extra.size()) {
            SetLastError(ERROR_INVALID_INDEX);
            return false;
        }
        BYTE* at = w->extra.data() + index;
        if (size == sizeof(LONG)) {
            LONG v;
            std::memcpy(&v, at, sizeof v);
            *oldValue = v;
            if (newValue) {
                v = static_cast<LONG>(*newValue);
                std::memcpy(at, &v, sizeof v);
            }
        } else {
            LONG_PTR v;
            std::memcpy(&v, at, sizeof v);
            *oldValue = v;
            if (newValue) std::memcpy(at, newValue, sizeof v);
        }
        return true;
    }
    LONG_PTR* slot = nullptr;
    LONG_PTR styleValue = 0;
    switch (index) {
        case GWL_USERDATA:
            slot = &w->userData;
            break;
        case GWL_ID:
            slot = &w->id;
            break;
        case GWL_WNDPROC:
            *oldValue = reinterpret_cast<LONG_PTR>(w->proc);
            if (newValue) {
                if (!*newValue) {
                    SetLastError(ERROR_INVALID_PARAMETER);
                    return false;
                }
                w->proc = reinterpret_cast<WNDPROC>(*newValue);
            }
            return true;
        case GWL_HINSTANCE:
            *oldValue = reinterpret_cast<LONG_PTR>(w->instance);
            if (newValue) w->instance = reinterpret_cast<HINSTANCE>(*newValue);
            return true;
        case GWL_STYLE:
        case GWL_EXSTYLE: {
            DWORD& field = index == GWL_STYLE ? w->style : w->exStyle;
            styleValue = static_cast<LONG>(field);
            *oldValue = styleValue;
            if (newValue) field = static_cast<DWORD>(*newValue);
            return true;
        }
        default:
            SetLastError(ERROR_INVALID_INDEX);
            return false;
    }
    *oldValue = *slot;
    if (newValue) *slot = *newValue;
    return true;
}

}  // namespace

extern "C" LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex) {
    LONG_PTR value = 0;
    return AccessSlot(hWnd, nIndex, sizeof(LONG_PTR), nullptr, &value) ? value : 0;
}

extern "C" LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong) {
    LONG_PTR value = 0;
    return AccessSlot(hWnd, nIndex, sizeof(LONG_PTR), &dwNewLong, &value) ? value : 0;
}

extern "C" LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex) {
    LONG_PTR value = 0;
    return AccessSlot(hWnd, nIndex, sizeof(LONG), nullptr, &value) ? static_cast<LONG>(value) : 0;
}

extern "C" LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong) {
    LONG_PTR value = 0;
    LONG_PTR wide = dwNewLong;
    return AccessSlot(hWnd, nIndex, sizeof(LONG), &wide, &value) ? static_cast<LONG>(value) : 0;
}

// The text goes through WM_SETTEXT and WM_GETTEXT, so that a control can
// keep its own; DefWindowProcW keeps it in the window.
extern "C" BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lpString)) ? TRUE : FALSE;
}

extern "C" int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount) {
    if (!lpString || nMaxCount <= 0) return 0;
    lpString[0] = 0;
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(
        SendMessageW(hWnd, WM_GETTEXT, static_cast<WPARAM>(nMaxCount), reinterpret_cast<LPARAM>(lpString)));
}

extern "C" int WINAPI GetWindowTextLengthW(HWND hWnd) {
    if (!IsWindow(hWnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return static_cast<int>(SendMessageW(hWnd, WM_GETTEXTLENGTH, 0, 0));
}
