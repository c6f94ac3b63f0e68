// Fonts: LOGFONTW to a pango font of the same pixel size, and the text
// metrics GDI reports for it. The phone's faces ("Tahoma", the dialog face
// "MS Shell Dlg") map to one installed sans face, and any other face to it
// or to the mono face by pitch, so that text measures the same on every
// machine that has them; the condensed cut is the one nearest
// the phone's narrow face, so that dialogs laid out in dialog units keep
// close to the width they were drawn for. Pango falls back per character
// for scripts the face lacks.
#include "gdi/Fonts.h"

#include <coredll_host.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>

namespace gdi {

namespace {

const char kSans[] = "DejaVu Sans Condensed";
const char kMono[] = "DejaVu Sans Mono";

// Character height of a font asked for with height 0.
const int kDefaultEmHeight = 12;
// The largest character height the font library scales a face to. Asked
// for more (a template's point size, a page's style), it makes no font,
// draws nothing and keeps what it had made for it; such a font is made at
// this height instead.
const double kLargestEmHeight = 65535;

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string FamilyFor(const LOGFONTW& logfont) {
    size_t length = 0;
    while (length < LF_FACESIZE && logfont.lfFaceName[length]) ++length;
    std::string face = Lower(host::ToUtf8(std::u16string_view(logfont.lfFaceName, length)));
    static const std::map<std::string, const char*> kMapped = {
        {"", kSans},
        {"tahoma", kSans},
        {"ms shell dlg", kSans},
        {"ms shell dlg 2", kSans},
        {"system", kSans},
        {"ms sans serif", kSans},
        {"arial", kSans},
        {"segoe ui", kSans},
        {"courier new", kMono},
        {"courier", kMono},
    };
    if (auto it = kMapped.find(face); it != kMapped.end()) return it->second;
    // A face the phone does not have is the one its font mapper falls back
    // to by pitch: the host's other fonts are no part of the phone, and a
    // page naming ever new faces would grow the font library's caches.
    return (logfont.lfPitchAndFamily & 0x3) == FIXED_PITCH ? kMono : kSans;
}

PangoLanguage* MetricsLanguage() { return pango_language_from_string("en"); }

// Cell height (ascent + descent) per pixel of character height.
double CellRatio(PangoFontDescription* description) {
    PangoFontDescription* probe = pango_font_description_copy(description);
    pango_font_description_set_absolute_size(probe, 1000.0 * PANGO_SCALE);
    PangoFontMetrics* metrics = pango_context_get_metrics(TextContext(), probe, MetricsLanguage());
    double cell = (pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
                  static_cast<double>(PANGO_SCALE) / 1000.0;
    pango_font_metrics_unref(metrics);
    pango_font_description_free(probe);
    return cell > 0 ? cell : 1.0;
}

int Advance(PangoFontDescription* description, const char* text) {
    PangoLayout* layout = pango_layout_new(TextContext());
    pango_layout_set_font_description(layout, description);
    pango_layout_set_text(layout, text, -1);
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    g_object_unref(layout);
    return width;
}

std::shared_ptr<FontFace> MakeFace(const LOGFONTW& logfont) {
    auto face = std::make_shared<FontFace>();
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, FamilyFor(logfont).c_str());
    int weight = logfont.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<int>(logfont.lfWeight, 100, 1000);
    pango_font_description_set_weight(description, static_cast<PangoWeight>(weight));
    pango_font_description_set_style(description, logfont.lfItalic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);
    // Negative: the character height; positive: the cell height, which
    // the metrics below then meet exactly.
    double em = kDefaultEmHeight;
    if (logfont.lfHeight < 0)
        em = -static_cast<double>(logfont.lfHeight);
    else if (logfont.lfHeight > 0)
        em = logfont.lfHeight / CellRatio(description);
    em = std::min(em, kLargestEmHeight);
    pango_font_description_set_absolute_size(description, em * PANGO_SCALE);
    face->description = description;
    face->underline = logfont.lfUnderline != 0;
    face->strikeOut = logfont.lfStrikeOut != 0;

    PangoFontMetrics* metrics = pango_context_get_metrics(TextContext(), description, MetricsLanguage());
    double ascent = pango_font_metrics_get_ascent(metrics) / static_cast<double>(PANGO_SCALE);
    double descent = pango_font_metrics_get_descent(metrics) / static_cast<double>(PANGO_SCALE);
    pango_font_metrics_unref(metrics);
    face->ascent = static_cast<int>(std::lround(ascent));
    face->descent = logfont.lfHeight > 0 ? logfont.lfHeight - face->ascent : static_cast<int>(std::lround(descent));
    face->emHeight = static_cast<int>(std::lround(em));
    face->averageWidth = Advance(description, "x");
    face->maxWidth = std::max(Advance(description, "W"), Advance(description, "\xD0\xA9"));  // "W", "Щ"
    return face;
}

// Faces already made, by the font they were made for. Programs make the
// same fonts again and again (a page's at each relayout, a dialog's at each
// creation), and a face costs a font lookup and its metrics; a face never
// changes once made, so fonts alike share one. Past kKeptFaces they are
// let go together (the fonts that hold one keep it).
const size_t kKeptFaces = 64;

std::shared_ptr<FontFace> KeptFace(const LOGFONTW& logfont) {
    static std::map<std::string, std::shared_ptr<FontFace>> kept;
    // The font's bytes are the key: LOGFONTW has no padding, and what
    // follows the face name's terminator is no part of the font.
    static_assert(sizeof(LOGFONTW) == 5 * sizeof(LONG) + 8 + LF_FACESIZE * sizeof(WCHAR));
    LOGFONTW key = logfont;
    size_t n = 0;
    while (n < LF_FACESIZE && key.lfFaceName[n]) ++n;
    std::fill(key.lfFaceName + n, key.lfFaceName + LF_FACESIZE, WCHAR(0));
    std::string bytes(reinterpret_cast<const char*>(&key), sizeof key);
    auto found = kept.find(bytes);
    if (found != kept.end()) return found->second;
    if (kept.size() >= kKeptFaces) kept.clear();
    auto face = MakeFace(logfont);
    kept.emplace(std::move(bytes), face);
    return face;
}

}  // namespace

FontFace::~FontFace() {
    if (description) pango_font_description_free(description);
}

PangoContext* TextContext() {
    static PangoContext* context = [] {
        PangoFontMap* map = pango_cairo_font_map_new();
        PangoContext* created = pango_font_map_create_context(map);
        g_object_unref(map);  // the context keeps it
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(created, options);
        cairo_font_options_destroy(options);
        pango_context_set_language(created, MetricsLanguage());
        return created;
    }();
    return context;
}

const FontFace& FaceOf(const DC& dc) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto font = FindAs<Font>(dc.font, Kind::Font);
    if (!font) font = FindAs<Font>(DefaultFont(), Kind::Font);
    if (!font->face) font->face = KeptFace(font->logfont);
    return *font->face;
}

Utf8Text ToUtf8WithOffsets(const WCHAR* text, int length) {
    Utf8Text out;
    out.offsets.reserve(length + 1);
    for (int i = 0; i < length; ++i) {
        out.offsets.push_back(static_cast<int>(out.text.size()));
        uint32_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            out.offsets.push_back(static_cast<int>(out.text.size()));
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;  // a lone surrogate
        }
        if (c == 0) c = ' ';  // pango stops at NUL; a counted string may hold one
        if (c < 0x80) {
            out.text += static_cast<char>(c);
        } else if (c < 0x800) {
            out.text += static_cast<char>(0xC0 | (c >> 6));
            out.text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out.text += static_cast<char>(0xE0 | (c >> 12));
            out.text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out.text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out.text += static_cast<char>(0xF0 | (c >> 18));
            out.text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out.text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out.text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    out.offsets.push_back(static_cast<int>(out.text.size()));
    return out;
}

PangoLayout* NewLayout(const FontFace& face, const std::string& text) {
    PangoLayout* layout = pango_layout_new(TextContext());
    pango_layout_set_font_description(layout, face.description);
    pango_layout_set_text(layout, text.data(), static_cast<int>(text.size()));
    if (face.underline || face.strikeOut) {
        PangoAttrList* attributes = pango_attr_list_new();
        if (face.underline) pango_attr_list_insert(attributes, pango_attr_underline_new(PANGO_UNDERLINE_SINGLE));
        if (face.strikeOut) pango_attr_list_insert(attributes, pango_attr_strikethrough_new(TRUE));
        pango_layout_set_attributes(layout, attributes);
        pango_attr_list_unref(attributes);
    }
    return layout;
}

int LineWidth(PangoLayoutLine* line) {
    PangoRectangle logical;
    pango_layout_line_get_pixel_extents(line, nullptr, &logical);
    return logical.width;
}

}  // namespace gdi

using namespace gdi;

extern "C" HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf) {
    if (!lplf) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto font = std::make_shared<Font>();
    font->logfont = *lplf;
    font->logfont.lfFaceName[LF_FACESIZE - 1] = 0;
    return static_cast<HFONT>(Insert(font));
}

extern "C" BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc || !lptm) {
        SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const FontFace& face = FaceOf(*dc);
    auto font = FindAs<Font>(dc->font, Kind::Font);
    const LOGFONTW& logfont = font->logfont;
    TEXTMETRICW tm{};
    tm.tmHeight = face.height();
    tm.tmAscent = face.ascent;
    tm.tmDescent = face.descent;
    tm.tmInternalLeading = std::max(0, face.height() - face.emHeight);
    tm.tmExternalLeading = 0;
    tm.tmAveCharWidth = face.averageWidth;
    tm.tmMaxCharWidth = face.maxWidth;
    tm.tmWeight = logfont.lfWeight == FW_DONTCARE ? FW_NORMAL : logfont.lfWeight;
    tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = ScreenDpi();
    tm.tmFirstChar = 0x20;
    tm.tmLastChar = 0xFFFC;
    tm.tmDefaultChar = 0x1F;
    tm.tmBreakChar = 0x20;
    tm.tmItalic = logfont.lfItalic;
    tm.tmUnderlined = logfont.lfUnderline;
    tm.tmStruckOut = logfont.lfStrikeOut;
    // The low bit set means a variable pitch, as the platform has it.
    tm.tmPitchAndFamily = (logfont.lfPitchAndFamily & 0x3) == FIXED_PITCH ? FF_MODERN : (FF_SWISS | 1);
    tm.tmCharSet = logfont.lfCharSet;
    *lptm = tm;
    return TRUE;
}

extern "C" int WINAPI GetTextFaceW(HDC hdc, int nCount, LPWSTR lpFaceName) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    auto font = dc ? FindAs<Font>(dc->font, Kind::Font) : nullptr;
    if (!font) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    const WCHAR* name = font->logfont.lfFaceName;
    int length = 0;
    while (length < LF_FACESIZE && name[length]) ++length;
    if (!lpFaceName) return length + 1;
    if (nCount <= 0) return 0;
    int copied = std::min(length, nCount - 1);
    std::memcpy(lpFaceName, name, copied * sizeof(WCHAR));
    lpFaceName[copied] = 0;
    return copied;
}
