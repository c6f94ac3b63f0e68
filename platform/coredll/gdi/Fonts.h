// Fonts as pango sees them, and text laid out with them. Internal to
// coredll.
#pragma once

#include "gdi/Gdi.h"

#include <pango/pangocairo.h>

#include <string>
#include <vector>

namespace gdi {

// A font made ready for pango, with its metrics in whole pixels.
struct FontFace {
    ~FontFace();
    PangoFontDescription* description = nullptr;
    bool underline = false;
    bool strikeOut = false;
    int ascent = 0;
    int descent = 0;
    int emHeight = 0;
    int averageWidth = 0;
    int maxWidth = 0;
    int height() const { return ascent + descent; }
};

// The face of the font selected into a DC (made on first use).
const FontFace& FaceOf(const DC& dc);

// The one pango context of the process (used under the GDI lock).
PangoContext* TextContext();

// UTF-16 text as UTF-8, with the byte offset of each UTF-16 unit (and one
// past the end).
struct Utf8Text {
    std::string text;
    std::vector<int> offsets;
};
Utf8Text ToUtf8WithOffsets(const WCHAR* text, int length);

// A layout of the text in the face; the caller unrefs it.
PangoLayout* NewLayout(const FontFace& face, const std::string& text);
int LineWidth(PangoLayoutLine* line);

}  // namespace gdi
