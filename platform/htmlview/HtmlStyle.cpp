// The CSS of the style attribute that pages use: the font shorthand,
// color (names, #rgb, #rrggbb, rgb() and the system colours), margin-*
// in pixels and wrap-option. Anything else is ignored.
#include "HtmlDocument.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace htmlview {

namespace {

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct NamedColor {
    const char* name;
    COLORREF rgb;
};
const NamedColor kColors[] = {
    {"black", RGB(0, 0, 0)},      {"white", RGB(255, 255, 255)}, {"red", RGB(255, 0, 0)},
    {"green", RGB(0, 128, 0)},    {"blue", RGB(0, 0, 255)},      {"yellow", RGB(255, 255, 0)},
    {"gray", RGB(128, 128, 128)}, {"grey", RGB(128, 128, 128)},  {"silver", RGB(192, 192, 192)},
    {"maroon", RGB(128, 0, 0)},   {"navy", RGB(0, 0, 128)},      {"purple", RGB(128, 0, 128)},
    {"olive", RGB(128, 128, 0)},  {"teal", RGB(0, 128, 128)},    {"lime", RGB(0, 255, 0)},
    {"aqua", RGB(0, 255, 255)},   {"fuchsia", RGB(255, 0, 255)}, {"orange", RGB(255, 165, 0)},
};

struct SystemColor {
    const char* name;
    int index;
};
const SystemColor kSystemColors[] = {
    {"menutext", COLOR_MENUTEXT},
    {"window", COLOR_WINDOW},
    {"windowtext", COLOR_WINDOWTEXT},
    {"highlight", COLOR_HIGHLIGHT},
    {"highlighttext", COLOR_HIGHLIGHTTEXT},
    {"buttontext", COLOR_BTNTEXT},
    {"buttonface", COLOR_BTNFACE},
    {"graytext", COLOR_GRAYTEXT},
    {"captiontext", COLOR_CAPTIONTEXT},
    {"activecaption", COLOR_ACTIVECAPTION},
    {"inactivecaption", COLOR_INACTIVECAPTION},
    {"menu", COLOR_MENU},
    {"windowframe", COLOR_WINDOWFRAME},
    {"buttonshadow", COLOR_BTNSHADOW},
};

int Hex(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

void ApplyColor(const std::string& value, TextStyle* style) {
    std::string v = Lower(Trim(value));
    for (const SystemColor& c : kSystemColors)
        if (v == c.name) {
            style->sysColor = c.index;
            style->hasColor = false;
            return;
        }
    for (const NamedColor& c : kColors)
        if (v == c.name) {
            style->color = c.rgb;
            style->hasColor = true;
            style->sysColor = -1;
            return;
        }
    if (v.size() == 4 && v[0] == '#') {
        int r = Hex(v[1]), g = Hex(v[2]), b = Hex(v[3]);
        if (r < 0 || g < 0 || b < 0) return;
        style->color = RGB(r * 17, g * 17, b * 17);
    } else if (v.size() == 7 && v[0] == '#') {
        int d[6];
        for (int i = 0; i < 6; ++i)
            if ((d[i] = Hex(v[i + 1])) < 0) return;
        style->color = RGB(d[0] * 16 + d[1], d[2] * 16 + d[3], d[4] * 16 + d[5]);
    } else if (v.rfind("rgb(", 0) == 0) {
        int parts[3] = {0, 0, 0};
        const char* p = v.c_str() + 4;
        for (int i = 0; i < 3; ++i) {
            char* end = nullptr;
            long n = std::strtol(p, &end, 10);
            if (end == p) return;
            parts[i] = n < 0 ? 0 : n > 255 ? 255 : static_cast<int>(n);
            p = end;
            while (*p == ',' || *p == ' ') ++p;
        }
        style->color = RGB(parts[0], parts[1], parts[2]);
    } else {
        return;
    }
    style->hasColor = true;
    style->sysColor = -1;
}

// "12px" or "5" -> pixels; false for anything else.
bool Pixels(const std::string& value, int* pixels) {
    std::string v = Lower(Trim(value));
    char* end = nullptr;
    double n = std::strtod(v.c_str(), &end);
    if (end == v.c_str()) return false;
    std::string unit = Trim(end);
    if (!unit.empty() && unit != "px") return false;
    if (n < 0) n = 0;
    if (n > 10000) n = 10000;
    *pixels = static_cast<int>(n + 0.5);
    return true;
}

// The font shorthand: [style] [weight] size family...
void ApplyFont(const std::string& value, TextStyle* style) {
    std::string v = Trim(value);
    size_t at = 0;
    while (at < v.size()) {
        while (at < v.size() && std::isspace(static_cast<unsigned char>(v[at]))) ++at;
        size_t end = at;
        while (end < v.size() && !std::isspace(static_cast<unsigned char>(v[end]))) ++end;
        std::string word = Lower(v.substr(at, end - at));
        if (word.empty()) break;
        if (word == "bold" || word == "bolder" || word == "700" || word == "800" || word == "900") {
            style->bold = true;
        } else if (word == "normal" || word == "400") {
            style->bold = false;
            style->italic = false;
        } else if (word == "italic" || word == "oblique") {
            style->italic = true;
        } else if (std::isdigit(static_cast<unsigned char>(word[0])) || word[0] == '.') {
            char* unitAt = nullptr;
            double n = std::strtod(word.c_str(), &unitAt);
            std::string unit = unitAt;
            if (n > 0 && n <= 1000) {
                if (unit == "px") {
                    style->pixels = static_cast<int>(n + 0.5);
                } else if (unit == "pt" || unit.empty()) {
                    style->points = n;
                    style->pixels = 0;
                }
            }
        } else {
            // The rest is the family (the first of a list).
            std::string family = Trim(v.substr(at));
            size_t comma = family.find(',');
            if (comma != std::string::npos) family = Trim(family.substr(0, comma));
            if (family.size() >= 2 && (family[0] == '\'' || family[0] == '"'))
                family = family.substr(1, family.size() - 2);
            if (!family.empty()) style->family = std::u16string(family.begin(), family.end());
            break;
        }
        at = end;
    }
}

}  // namespace

void ApplyStyleAttribute(const std::string& css, TextStyle* style, Item* block) {
    size_t start = 0;
    while (start <= css.size()) {
        size_t end = css.find(';', start);
        if (end == std::string::npos) end = css.size();
        std::string declaration = css.substr(start, end - start);
        size_t colon = declaration.find(':');
        if (colon != std::string::npos) {
            std::string name = Lower(Trim(declaration.substr(0, colon)));
            std::string value = Trim(declaration.substr(colon + 1));
            int px = 0;
            if (name == "font")
                ApplyFont(value, style);
            else if (name == "color")
                ApplyColor(value, style);
            else if (name == "font-weight")
                style->bold = Lower(value) == "bold" || value == "700";
            else if (block && name == "margin-top" && Pixels(value, &px))
                block->marginTop = px;
            else if (block && name == "margin-bottom" && Pixels(value, &px))
                block->marginBottom = px;
            else if (block && name == "margin-left" && Pixels(value, &px))
                block->marginLeft = px;
            else if (block && name == "margin-right" && Pixels(value, &px))
                block->marginRight = px;
            else if (block && name == "wrap-option")
                block->emergencyWrap = Lower(value) == "emergency";
        }
        start = end + 1;
    }
}

}  // namespace htmlview
