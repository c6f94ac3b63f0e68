// Text output and measurement: DrawTextW (lines, word breaks, alignment,
// "&" prefixes, ellipsis, the measuring DT_CALCRECT), ExtTextOutW and the
// extent queries. Lines follow one another at the font's cell height.
#include "gdi/Fonts.h"

#include <algorithm>
#include <climits>

using namespace gdi;

namespace {

// Pango takes a width in 1/1024 pixels, in an int: a rectangle wider than
// this wraps and cuts its text as one this wide would, which no text shown
// on the phone tells apart.
const int kWidestLayout = INT_MAX / PANGO_SCALE;

int Length(LPCWSTR text, int count) {
    if (!text) return 0;
    if (count >= 0) return count;
    int length = 0;
    while (text[length]) ++length;
    return length;
}

// The text as it is shown: "&&" is one "&", "&x" is x underlined, a lone
// "&" at the end is dropped. Underlined characters are returned as UTF-8
// byte ranges of the result.
struct Shown {
    std::string text;
    std::vector<std::pair<int, int>> underlined;
};

Shown PrepareText(LPCWSTR text, int length, UINT format) {
    std::u16string visible;
    std::vector<size_t> marks;  // indexes into visible
    for (int i = 0; i < length; ++i) {
        WCHAR c = text[i];
        if (!(format & DT_NOPREFIX) && c == u'&') {
            if (i + 1 >= length) break;
            ++i;
            if (text[i] != u'&') marks.push_back(visible.size());
            c = text[i];
        }
        if ((format & DT_SINGLELINE) && (c == u'\r' || c == u'\n')) c = u' ';
        visible += c;
    }
    Utf8Text utf8 = ToUtf8WithOffsets(visible.data(), static_cast<int>(visible.size()));
    Shown shown{std::move(utf8.text), {}};
    for (size_t mark : marks) shown.underlined.emplace_back(utf8.offsets[mark], utf8.offsets[mark + 1]);
    return shown;
}

void Underline(PangoLayout* layout, const std::vector<std::pair<int, int>>& ranges) {
    if (ranges.empty()) return;
    PangoAttrList* attributes = pango_layout_get_attributes(layout);
    attributes = attributes ? pango_attr_list_copy(attributes) : pango_attr_list_new();
    for (auto [start, end] : ranges) {
        PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
        underline->start_index = static_cast<guint>(start);
        underline->end_index = static_cast<guint>(end);
        pango_attr_list_insert(attributes, underline);
    }
    pango_layout_set_attributes(layout, attributes);
    pango_attr_list_unref(attributes);
}

// Draws one laid-out line with its top-left corner at (x, top).
void ShowLine(Canvas& canvas, const DC& dc, const FontFace& face, PangoLayoutLine* line, int x, int top) {
    cairo_t* cr = canvas.cr();
    PangoRectangle logical;
    pango_layout_line_get_pixel_extents(line, nullptr, &logical);
    if (dc.bkMode == OPAQUE) {
        cairo_rectangle(cr, x, top, logical.width, face.height());
        canvas.SetColor(dc.bkColor);
        cairo_fill(cr);
    }
    canvas.SetColor(dc.textColor);
    cairo_move_to(cr, x - logical.x, top + face.ascent);
    pango_cairo_show_layout_line(cr, line);
}

}  // namespace

extern "C" int WINAPI DrawTextW(HDC hDC, LPCWSTR lpString, int nCount, LPRECT lpRect, UINT uFormat) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hDC);
    if (!dc || !lpRect || (!lpString && nCount != 0)) {
        SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return 0;
    }
    int length = Length(lpString, nCount);
    const FontFace& face = FaceOf(*dc);
    Shown shown = PrepareText(lpString, length, uFormat);
    PangoLayout* layout = NewLayout(face, shown.text);
    Underline(layout, shown.underlined);
    int width = lpRect->right - lpRect->left;
    const int layoutWidth = std::min(width, kWidestLayout);
    bool single = (uFormat & DT_SINGLELINE) != 0;
    if (single) pango_layout_set_single_paragraph_mode(layout, TRUE);
    if ((uFormat & DT_WORDBREAK) && !single && width > 0) {
        pango_layout_set_width(layout, layoutWidth * PANGO_SCALE);
        pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    }
    if ((uFormat & DT_END_ELLIPSIS) && width > 0) {
        pango_layout_set_width(layout, layoutWidth * PANGO_SCALE);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        if (!single) pango_layout_set_height(layout, -1);  // one line per paragraph
    }

    int lines = length == 0 ? 0 : pango_layout_get_line_count(layout);
    int lineHeight = face.height();
    int textHeight = lines * lineHeight;
    int widest = 0;
    for (int i = 0; i < lines; ++i) widest = std::max(widest, LineWidth(pango_layout_get_line_readonly(layout, i)));

    int top = lpRect->top;
    if (single && (uFormat & DT_VCENTER))
        top = lpRect->top + (lpRect->bottom - lpRect->top - lineHeight) / 2;
    else if (single && (uFormat & DT_BOTTOM))
        top = lpRect->bottom - lineHeight;
    int result = (single && (uFormat & (DT_VCENTER | DT_BOTTOM))) ? top - lpRect->top + textHeight : textHeight;

    if (uFormat & DT_CALCRECT) {
        lpRect->right = lpRect->left + widest;
        lpRect->bottom = lpRect->top + textHeight;
        g_object_unref(layout);
        return result;
    }
    {
        Canvas canvas(*dc);
        if (!(uFormat & DT_NOCLIP)) {
            cairo_rectangle(canvas.cr(), lpRect->left, lpRect->top, width, lpRect->bottom - lpRect->top);
            cairo_clip(canvas.cr());
        }
        for (int i = 0; i < lines; ++i) {
            PangoLayoutLine* line = pango_layout_get_line_readonly(layout, i);
            int lineWidth = LineWidth(line);
            int x = lpRect->left;
            if (uFormat & DT_CENTER)
                x = lpRect->left + (width - lineWidth) / 2;
            else if (uFormat & DT_RIGHT)
                x = lpRect->right - lineWidth;
            ShowLine(canvas, *dc, face, line, x, top + i * lineHeight);
        }
    }
    g_object_unref(layout);
    return result;
}

extern "C" BOOL WINAPI ExtTextOutW(HDC hdc, int X, int Y, UINT fuOptions, const RECT* lprc, LPCWSTR lpString,
                                   UINT cbCount, const int* /*lpDx*/) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc || (!lpString && cbCount != 0)) {
        SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    Canvas canvas(*dc);
    cairo_t* cr = canvas.cr();
    if (lprc && (fuOptions & ETO_OPAQUE)) {
        cairo_rectangle(cr, lprc->left, lprc->top, lprc->right - lprc->left, lprc->bottom - lprc->top);
        canvas.SetColor(dc->bkColor);
        cairo_fill(cr);
    }
    if (cbCount == 0) return TRUE;
    if (lprc && (fuOptions & ETO_CLIPPED)) {
        cairo_rectangle(cr, lprc->left, lprc->top, lprc->right - lprc->left, lprc->bottom - lprc->top);
        cairo_clip(cr);
    }
    const FontFace& face = FaceOf(*dc);
    Utf8Text text = ToUtf8WithOffsets(lpString, static_cast<int>(cbCount));
    PangoLayout* layout = NewLayout(face, text.text);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    if (pango_layout_get_line_count(layout) > 0)
        ShowLine(canvas, *dc, face, pango_layout_get_line_readonly(layout, 0), X, Y);
    g_object_unref(layout);
    return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentExPointW(HDC hdc, LPCWSTR lpszStr, int cchString, int nMaxExtent, LPINT lpnFit,
                                             LPINT alpDx, LPSIZE lpSize) {
    std::lock_guard<std::recursive_mutex> lock(Lock());
    auto dc = FindDC(hdc);
    if (!dc || !lpSize || cchString < 0 || (!lpszStr && cchString > 0)) {
        SetLastError(dc ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    const FontFace& face = FaceOf(*dc);
    Utf8Text text = ToUtf8WithOffsets(lpszStr, cchString);
    PangoLayout* layout = NewLayout(face, text.text);
    pango_layout_set_single_paragraph_mode(layout, TRUE);
    int width = 0;
    pango_layout_get_pixel_size(layout, &width, nullptr);
    lpSize->cx = cchString == 0 ? 0 : width;
    lpSize->cy = face.height();
    if (lpnFit || alpDx) {
        // One walk over the clusters: asking pango for each character's
        // position would cost the length of the line per character.
        std::vector<std::pair<int, int>> clusters;  // first byte, right edge
        PangoLayoutIter* iter = pango_layout_get_iter(layout);
        do {
            int start = pango_layout_iter_get_index(iter);
            if (start >= static_cast<int>(text.text.size())) continue;
            PangoRectangle logical;
            pango_layout_iter_get_cluster_extents(iter, nullptr, &logical);
            clusters.emplace_back(start, PANGO_PIXELS(logical.x + logical.width));
        } while (pango_layout_iter_next_cluster(iter));
        pango_layout_iter_free(iter);
        int fit = 0;
        size_t cluster = 0;
        int extent = 0;
        for (int i = 0; i < cchString; ++i) {
            // The extent up to the end of character i: the right edge of the
            // cluster that holds its last byte.
            int end = text.offsets[i + 1];
            while (cluster < clusters.size() && clusters[cluster].first < end)
                extent = std::max(extent, clusters[cluster++].second);
            if (end >= static_cast<int>(text.text.size())) extent = width;
            if (alpDx) alpDx[i] = extent;
            if (extent <= nMaxExtent && fit == i) fit = i + 1;
        }
        if (lpnFit) *lpnFit = fit;
    }
    g_object_unref(layout);
    return TRUE;
}

extern "C" BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE lpSize) {
    return GetTextExtentExPointW(hdc, lpString, c, 0, nullptr, nullptr, lpSize);
}
