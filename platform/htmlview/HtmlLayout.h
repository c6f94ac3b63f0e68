// A document laid out at a width and zoom: lines of text segments placed
// in pixels, and the boxes of each link. Text is measured through the
// platform's GDI, a word at a time (long words in slices), so the cost is
// linear in the page. Internal to htmlview.
#pragma once

#include "HtmlDocument.h"

#include <map>
#include <string>
#include <vector>

namespace htmlview {

struct Segment {
    int x = 0, y = 0, width = 0, height = 0;  // in page pixels
    std::u16string text;
    int style = 0;
    int link = -1;
};

struct Layout {
    std::vector<Segment> segments;
    std::vector<std::vector<RECT>> linkBoxes;  // by link, in page pixels
    int height = 0;
    int lineStep = 16;  // the height of a line of the page's first style
};

// The fonts of a document's styles at one zoom and dpi, kept while the
// layout is used for drawing too.
class FontSet {
public:
    FontSet() = default;
    ~FontSet();
    FontSet(const FontSet&) = delete;
    FontSet& operator=(const FontSet&) = delete;

    void Reset(const Document& doc, int zoom, int dpi);
    HFONT Font(int style, bool underline);
    int Height(int style) const { return heights_[style]; }

private:
    void Clear();
    std::vector<HFONT> fonts_, underlined_;
    std::vector<LOGFONTW> logFonts_;
    std::vector<int> heights_;
};

// Zoom level 0 to 4, 2 the normal size.
double ZoomFactor(int zoom);

Layout LayOut(const Document& doc, FontSet& fonts, HDC dc, int width);

}  // namespace htmlview
