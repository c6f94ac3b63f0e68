// The standard controls (BUTTON, STATIC, EDIT, LISTBOX, COMBOBOX): classes of
// the platform, one file each. A control keeps its state in a small struct
// whose pointer sits at the start of its extra bytes, and talks to its
// parent with WM_COMMAND notifications.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace controls {

WNDCLASSW ButtonClass();
WNDCLASSW StaticClass();
WNDCLASSW EditClass();
WNDCLASSW ListBoxClass();
WNDCLASSW ComboBoxClass();

// Every class above, for the window system's table of system classes.
std::vector<WNDCLASSW> SystemClasses();

// A class of the platform whose extra bytes hold the state pointer.
WNDCLASSW ControlClass(LPCWSTR name, WNDPROC proc);

// The state of a control, made at WM_CREATE and freed at WM_NCDESTROY by
// the control's procedure.
template <class State>
State* StateOf(HWND hwnd) {
    return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, 0));
}
template <class State>
State* MakeState(HWND hwnd) {
    State* state = new State();
    SetWindowLongPtrW(hwnd, 0, reinterpret_cast<LONG_PTR>(state));
    return state;
}
template <class State>
void FreeState(HWND hwnd) {
    delete StateOf<State>(hwnd);
    SetWindowLongPtrW(hwnd, 0, 0);
}

// WM_COMMAND to the parent, sent: MAKEWPARAM(id, code), the control.
void NotifyParent(HWND control, WORD code);

// The font a control draws with: the one set by WM_SETFONT, else the
// system font.
HFONT FontOr(HFONT chosen);

// The brush the parent gives for WM_CTLCOLOR*, with the colours it set
// on dc; without one, the system colours given.
HBRUSH ControlColors(HWND control, UINT ctlColor, HDC dc, int background, int text);

bool IsEnabled(HWND hwnd);
bool HasStyle(HWND hwnd, DWORD bits);

// The key of a WM_GETDLGCODE question (its lParam is the key message),
// or 0 when it carries none or not a key press.
WPARAM DlgCodeKey(LPARAM lParam);

// Height of a line of text in the font.
int LineHeight(HDC dc);

}  // namespace controls
