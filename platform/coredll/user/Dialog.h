// The dialog manager's pieces, shared by its files: the template reader,
// the state of each dialog, base units and the focus and scroll helpers.
// Internal to coredll.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace dialog {

// A name in a template: an ordinal after 0xFFFF, or a string.
struct NameOrOrdinal {
    WORD ordinal = 0;
    bool isOrdinal = false;
    std::u16string text;
    // What CreateWindowExW takes: the string, or the ordinal as an atom.
    LPCWSTR AsClass() const;
};

struct ItemTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    WORD id = 0;
    NameOrOrdinal cls;
    NameOrOrdinal title;
    // The creation data from its size WORD on, as CreateWindowExW's
    // parameter passes it; null when there is none.
    const BYTE* creationData = nullptr;
};

struct Template {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal cls;
    std::u16string title;
    WORD pointSize = 0;
    std::u16string face;
    std::vector<ItemTemplate> items;
};

// Reads a template without reading past limit bytes (SIZE_MAX when its
// end is not known); false when it is truncated or malformed.
bool ParseTemplate(const BYTE* data, size_t limit, Template* out);

// The class name of a predefined control ordinal (0x0080 "Button" ...),
// or null.
LPCWSTR PredefinedClass(WORD ordinal);

// What the dialog manager keeps of one dialog window.
struct State {
    HFONT font = nullptr;
    bool ownsFont = false;     // made from the template, deleted with the dialog
    int unitX = 0, unitY = 0;  // base units
    INT_PTR result = 0;
    bool ended = false;
    bool modal = false;
    HWND disabledOwner = nullptr;  // re-enabled when the dialog ends
    HWND lastFocus = nullptr;      // given back when the dialog is activated
    int scroll = 0;                // pixels the controls are moved up by
};

// The state of a dialog window, made on first use; null for a window the
// dialog manager does not know.
std::shared_ptr<State> StateOf(HWND hwnd);
std::shared_ptr<State> MakeState(HWND hwnd);
void ForgetState(HWND hwnd);

// A length in dialog units to pixels, rounded as MulDiv rounds.
inline int ScaleUnits(int value, int unit, int divisor) {
    long long product = static_cast<long long>(value) * unit;
    return static_cast<int>(product >= 0 ? (product + divisor / 2) / divisor : -((-product + divisor / 2) / divisor));
}

// Base units of a font as the platform computes them: the average width of
// the 52 Latin letters, rounded, and the font's height.
void BaseUnitsOf(HFONT font, int* cx, int* cy);
// The font a template names, at the screen's resolution.
HFONT TemplateFont(const Template& t);

// Focus: puts it on a control, and the first tab stop.
void FocusControl(HWND dlg, HWND control);
HWND FirstTabStop(HWND dlg);

// Scrolling a dialog taller than its window (WS_VSCROLL).
void ScrollIntoView(HWND dlg, HWND control);
void ScrollTo(HWND dlg, int position);
// The bar, in the window's frame beside the client area.
void PaintScrollBar(HWND dlg);

}  // namespace dialog
