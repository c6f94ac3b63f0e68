#include "HtmlLayout.h"

#include <unordered_map>

namespace htmlview {

namespace {

const double kZoom[] = {0.7, 0.85, 1.0, 1.25, 1.5};
// Long words are measured in slices of this many characters, and broken
// in slices of the smaller size (a line of the phone holds fewer).
const int kSlice = 256;
const int kFitSlice = 64;

// White space collapses; a no-break space does not.
bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

// Widths of words in one style, measured once each.
class Measurer {
public:
    Measurer(FontSet& fonts, HDC dc) : fonts_(fonts), dc_(dc) {}

    int Width(int style, const char16_t* text, int count) {
        if (count <= 0) return 0;
        std::u16string key(1, static_cast<char16_t>(style));
        key.append(text, static_cast<size_t>(count));
        auto it = cache_.find(key);
        if (it != cache_.end()) return it->second;
        Select(style);
        int width = 0;
        for (int at = 0; at < count; at += kSlice) {
            SIZE size = {};
            GetTextExtentPoint32W(dc_, reinterpret_cast<LPCWSTR>(text + at), count - at < kSlice ? count - at : kSlice,
                                  &size);
            width += size.cx;
        }
        if (count <= 64 && cache_.size() < 65536) cache_.emplace(std::move(key), width);
        return width;
    }
    // How many characters of text fit in room (at least one).
    int Fit(int style, const char16_t* text, int count, int room) {
        Select(style);
        int taken = 0, used = 0;
        while (taken < count) {
            int slice = count - taken < kFitSlice ? count - taken : kFitSlice;
            std::vector<int> extents(static_cast<size_t>(slice));
            SIZE size = {};
            int fit = 0;
            GetTextExtentExPointW(dc_, reinterpret_cast<LPCWSTR>(text + taken), slice, room - used, &fit,
                                  extents.data(), &size);
            if (fit < slice) {
                taken += fit;
                break;
            }
            taken += slice;
            used += size.cx;
        }
        return taken > 0 ? taken : 1;
    }

private:
    void Select(int style) {
        if (style == selected_) return;
        SelectObject(dc_, fonts_.Font(style, false));
        selected_ = style;
    }
    FontSet& fonts_;
    HDC dc_;
    int selected_ = -1;
    std::unordered_map<std::u16string, int> cache_;
};

class LineBuilder {
public:
    LineBuilder(FontSet& fonts, Measurer& measure, Layout& out) : fonts_(fonts), measure_(measure), out_(out) {}

    void SetBounds(int left, int right, bool emergency) {
        left_ = left;
        right_ = right < left + 1 ? left + 1 : right;
        emergency_ = emergency;
        if (line_.empty()) x_ = left_;
    }
    void Space(int style) {
        if (!line_.empty()) pendingSpace_ = style;
    }
    void Word(int style, int link, const char16_t* text, int count) {
        while (count > 0) {
            const int space = pendingSpace_ >= 0 && !line_.empty() ? measure_.Width(pendingSpace_, u" ", 1) : 0;
            if (!line_.empty()) {
                // A long word never shares a line; a short one goes on when it fits.
                if (count > kSlice || x_ + space + measure_.Width(style, text, count) > right_) {
                    EndLine(style);
                    continue;
                }
                Place(style, link, text, count, space);
                return;
            }
            if (!emergency_ || count == 1) {
                Place(style, link, text, count, 0);
                return;
            }
            // A line of its own; too long for it, it breaks where it fills the line.
            const int fit = measure_.Fit(style, text, count, right_ - x_);
            Place(style, link, text, fit, 0);
            if (fit >= count) return;
            EndLine(style);
            text += fit;
            count -= fit;
        }
    }
    void EndLine(int style) {
        int height = fonts_.Height(style);
        for (size_t i = lineStart_; i < out_.segments.size(); ++i)
            if (out_.segments[i].height > height) height = out_.segments[i].height;
        // Segments sit on the line's bottom.
        for (size_t i = lineStart_; i < out_.segments.size(); ++i) {
            Segment& s = out_.segments[i];
            s.y = y_ + height - s.height;
            if (s.link >= 0) out_.linkBoxes[s.link].push_back(RECT{s.x, s.y, s.x + s.width, s.y + s.height});
        }
        y_ += height;
        line_.clear();
        lineStart_ = out_.segments.size();
        x_ = left_;
        pendingSpace_ = -1;
    }
    void FinishLine() {
        if (!line_.empty()) EndLine(line_.back());
    }
    void Advance(int pixels) { y_ += pixels; }
    int Y() const { return y_; }

private:
    void Place(int style, int link, const char16_t* text, int count, int space) {
        int width = measure_.Width(style, text, count);
        // A word joins the segment before it when style and link agree.
        if (!line_.empty() && out_.segments.back().style == style && out_.segments.back().link == link &&
            (pendingSpace_ < 0 || pendingSpace_ == style)) {
            Segment& last = out_.segments.back();
            if (pendingSpace_ >= 0) last.text += u' ';
            last.text.append(text, static_cast<size_t>(count));
            last.width = x_ + space + width - last.x;
        } else {
            Segment s;
            s.x = x_ + space;
            s.width = width;
            s.height = fonts_.Height(style);
            s.text.assign(text, static_cast<size_t>(count));
            s.style = style;
            s.link = link;
            out_.segments.push_back(std::move(s));
        }
        x_ += space + width;
        pendingSpace_ = -1;
        line_.push_back(style);
    }

    FontSet& fonts_;
    Measurer& measure_;
    Layout& out_;
    std::vector<int> line_;  // styles of the words on the current line
    size_t lineStart_ = 0;
    int x_ = 0, y_ = 0, left_ = 0, right_ = 1;
    bool emergency_ = false;
    int pendingSpace_ = -1;
};

}  // namespace

double ZoomFactor(int zoom) { return kZoom[zoom < 0 ? 0 : zoom > 4 ? 4 : zoom]; }

FontSet::~FontSet() { Clear(); }

void FontSet::Clear() {
    for (HFONT f : fonts_)
        if (f) DeleteObject(f);
    for (HFONT f : underlined_)
        if (f) DeleteObject(f);
    fonts_.clear();
    underlined_.clear();
    logFonts_.clear();
    heights_.clear();
}

void FontSet::Reset(const Document& doc, int zoom, int dpi) {
    Clear();
    const double factor = ZoomFactor(zoom);
    HDC screen = GetDC(nullptr);
    for (const TextStyle& style : doc.styles) {
        LOGFONTW font = {};
        double pixels = style.pixels ? style.pixels : style.points * dpi / 72.0;
        int height = static_cast<int>(pixels * factor + 0.5);
        font.lfHeight = -(height < 1 ? 1 : height);
        font.lfWeight = style.bold ? FW_BOLD : FW_NORMAL;
        font.lfItalic = style.italic ? 1 : 0;
        size_t n = style.family.size() < LF_FACESIZE - 1 ? style.family.size() : LF_FACESIZE - 1;
        for (size_t i = 0; i < n; ++i) font.lfFaceName[i] = style.family[i];
        logFonts_.push_back(font);
        HFONT handle = CreateFontIndirectW(&font);
        fonts_.push_back(handle);
        underlined_.push_back(nullptr);
        TEXTMETRICW metrics = {};
        HGDIOBJ old = SelectObject(screen, handle);
        GetTextMetricsW(screen, &metrics);
        SelectObject(screen, old);
        heights_.push_back(metrics.tmHeight > 0 ? metrics.tmHeight : height);
    }
    ReleaseDC(nullptr, screen);
}

HFONT FontSet::Font(int style, bool underline) {
    if (!underline) return fonts_[style];
    if (!underlined_[style]) {
        LOGFONTW font = logFonts_[style];
        font.lfUnderline = 1;
        underlined_[style] = CreateFontIndirectW(&font);
    }
    return underlined_[style];
}

Layout LayOut(const Document& doc, FontSet& fonts, HDC dc, int width) {
    Layout out;
    out.linkBoxes.resize(doc.links.size());
    out.lineStep = doc.styles.empty() ? 16 : fonts.Height(0);
    Measurer measure(fonts, dc);
    LineBuilder lines(fonts, measure, out);
    struct Bounds {
        int left, right, marginBottom;
        bool emergency;
    };
    std::vector<Bounds> blocks = {{0, width, 0, false}};
    lines.SetBounds(0, width, false);
    for (const Item& item : doc.items) {
        switch (item.kind) {
            case Item::BlockStart: {
                lines.FinishLine();
                lines.Advance(item.marginTop);
                const Bounds& outer = blocks.back();
                blocks.push_back(Bounds{outer.left + item.marginLeft, outer.right - item.marginRight, item.marginBottom,
                                        outer.emergency || item.emergencyWrap});
                lines.SetBounds(blocks.back().left, blocks.back().right, blocks.back().emergency);
                break;
            }
            case Item::BlockEnd: {
                lines.FinishLine();
                if (blocks.size() > 1) {
                    lines.Advance(blocks.back().marginBottom);
                    blocks.pop_back();
                }
                lines.SetBounds(blocks.back().left, blocks.back().right, blocks.back().emergency);
                break;
            }
            case Item::LineBreak:
                lines.EndLine(item.style);
                break;
            case Item::Text: {
                const std::u16string& text = item.text;
                size_t at = 0;
                while (at < text.size()) {
                    if (IsSpace(text[at])) {
                        lines.Space(item.style);
                        while (at < text.size() && IsSpace(text[at])) ++at;
                        continue;
                    }
                    size_t end = at;
                    while (end < text.size() && !IsSpace(text[end])) ++end;
                    lines.Word(item.style, item.link, text.data() + at, static_cast<int>(end - at));
                    at = end;
                }
                break;
            }
        }
    }
    lines.FinishLine();
    out.height = lines.Y();
    return out;
}

}  // namespace htmlview
