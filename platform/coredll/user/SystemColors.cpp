// The system colours: the Smartphone's default blue scheme, white pages
// with black text, and a brush of each colour.
#include "gdi/Gdi.h"

namespace {

// Indexed by COLOR_*.
const COLORREF kScheme[C_SYS_COLOR_TYPES] = {
    RGB(200, 208, 212),  // COLOR_SCROLLBAR
    RGB(0, 58, 140),     // COLOR_BACKGROUND
    RGB(0, 61, 140),     // COLOR_ACTIVECAPTION
    RGB(99, 142, 206),   // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(33, 66, 132),    // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(49, 106, 197),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(222, 223, 222),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(255, 255, 255),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(0, 0, 0),        // COLOR_3DDKSHADOW
    RGB(192, 192, 192),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(255, 255, 255),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
    RGB(99, 142, 206),   // COLOR_GRADIENTACTIVECAPTION
    RGB(173, 199, 239),  // COLOR_GRADIENTINACTIVECAPTION
};

int Index(int nIndex) {
    int index = nIndex & ~SYS_COLOR_INDEX_FLAG;
    return index >= 0 && index < C_SYS_COLOR_TYPES ? index : -1;
}

}  // namespace

extern "C" DWORD WINAPI GetSysColor(int nIndex) {
    int index = Index(nIndex);
    return index < 0 ? 0 : kScheme[index];
}

extern "C" HBRUSH WINAPI GetSysColorBrush(int nIndex) {
    int index = Index(nIndex);
    if (index < 0) return nullptr;
    static HBRUSH brushes[C_SYS_COLOR_TYPES] = {};
    std::lock_guard<std::recursive_mutex> lock(gdi::Lock());
    if (!brushes[index]) {
        auto brush = std::make_shared<gdi::Brush>();
        brush->color = kScheme[index];
        brush->stock = true;
        brushes[index] = static_cast<HBRUSH>(gdi::Insert(brush));
    }
    return brushes[index];
}
