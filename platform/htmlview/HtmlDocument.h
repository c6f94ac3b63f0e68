// A page as the view lays it out: a flat list of blocks, texts and breaks
// in document order with the styles they are drawn in, and the page's
// links. Made from HTML by the fault-tolerant parser, walking its tree
// without recursion so that any nesting is safe. Internal to htmlview.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace htmlview {

struct TextStyle {
    bool bold = false;
    bool italic = false;
    double points = 10;  // the font size, when given in points (follows the dpi)
    int pixels = 0;      // or in pixels, when not 0
    std::u16string family = u"Tahoma";
    COLORREF color = 0;
    bool hasColor = false;  // else the window text colour
    int sysColor = -1;      // a system colour index given by name
};

struct Item {
    enum Kind { BlockStart, BlockEnd, Text, LineBreak } kind = Text;
    std::u16string text;  // Text
    int style = 0;        // index into Document::styles
    int link = -1;        // index into Document::links, or -1
    // BlockStart: its margins in pixels and whether long words break anywhere.
    int marginTop = 0, marginBottom = 0, marginLeft = 0, marginRight = 0;
    bool emergencyWrap = false;
};

struct Link {
    std::u16string target;
    std::u16string name;
    std::u16string text;
};

struct Document {
    std::vector<TextStyle> styles;
    std::vector<Item> items;
    std::vector<Link> links;
};

// Parses source (UTF-16 HTML); never fails: bad markup gives what a browser
// would make of it, and anything outside the subset shows as its text.
Document ParseDocument(const std::u16string& source);

// Applies the declarations of a style attribute onto style and margins.
void ApplyStyleAttribute(const std::string& css, TextStyle* style, Item* block);

}  // namespace htmlview
