#include "HtmlDocument.h"

#include <coredll_host.h>

#include <gumbo.h>

namespace htmlview {

namespace {

struct Frame {
    const GumboNode* node;
    unsigned next;  // the next child to visit
    int style;
    int link;
    bool block;
};

std::string Attribute(const GumboElement& element, const char* name) {
    const GumboAttribute* attribute = gumbo_get_attribute(&element.attributes, name);
    return attribute && attribute->value ? attribute->value : std::string();
}

bool IsBlock(GumboTag tag) { return tag == GUMBO_TAG_DIV || tag == GUMBO_TAG_P; }

// Deeper than this, a start tag shows as its text. The parser's cost grows
// faster than the nesting (open elements are walked again for each new
// one), so a hostile page of endless open tags must not reach it whole.
const int kMaxDepth = 512;

bool IsLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Elements that never hold others, so that they open no level.
bool IsVoid(const std::u16string& source, size_t nameStart) {
    static const char* const kVoid[] = {"br",   "img", "hr",    "input", "meta",   "link",  "area",
                                        "base", "col", "embed", "param", "source", "track", "wbr"};
    size_t end = nameStart;
    while (end < source.size() && (IsLetter(source[end]) || (source[end] >= u'0' && source[end] <= u'9'))) ++end;
    std::string name;
    for (size_t i = nameStart; i < end; ++i) name += static_cast<char>(source[i] | 0x20);
    for (const char* v : kVoid)
        if (name == v) return true;
    return false;
}

// The source with every start tag beyond kMaxDepth open levels written as
// text; the source itself when it stays within them (the usual case).
std::u16string WithinDepth(const std::u16string& source) {
    int depth = 0;
    std::u16string out;
    bool changed = false;
    for (size_t i = 0; i < source.size(); ++i) {
        if (source[i] != u'<') continue;
        if (i + 1 >= source.size()) {
            if (changed) out += source[i];
            continue;
        }
        char16_t next = source[i + 1];
        if (next == u'/') {
            if (depth > 0) --depth;
        } else if (IsLetter(next) && !IsVoid(source, i + 1)) {
            // A tag closed by "/>" opens no level either.
            size_t close = source.find(u'>', i);
            bool selfClosing = close != std::u16string::npos && close > i && source[close - 1] == u'/';
            if (!selfClosing && ++depth > kMaxDepth) {
                if (!changed) out.assign(source, 0, i);
                changed = true;
                out += u"&lt;";
                size_t end = i + 1;
                while (end < source.size() && source[end] != u'<') ++end;
                out.append(source, i + 1, end - i - 1);
                i = end - 1;
                --depth;
                continue;
            }
        }
        if (changed) {
            size_t end = i + 1;
            while (end < source.size() && source[end] != u'<') ++end;
            out.append(source, i, end - i);
            i = end - 1;
        }
    }
    return changed ? out : source;
}

}  // namespace

Document ParseDocument(const std::u16string& source) {
    Document doc;
    doc.styles.push_back(TextStyle());
    const std::string utf8 = host::ToUtf8(WithinDepth(source));
    // Parse errors are of no use to the view, and recording them costs time.
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0;
    GumboOutput* output = gumbo_parse_with_options(&options, utf8.data(), utf8.size());
    if (!output) return doc;

    std::vector<Frame> stack;
    stack.push_back(Frame{output->root, 0, 0, -1, false});
    while (!stack.empty()) {
        Frame& top = stack.back();
        const GumboNode* node = top.node;
        if (node->type != GUMBO_NODE_ELEMENT && node->type != GUMBO_NODE_DOCUMENT) {
            stack.pop_back();
            continue;
        }
        const GumboVector& children = node->type == GUMBO_NODE_ELEMENT ? node->v.element.children
                                                                       : node->v.document.children;
        if (top.next >= children.length) {
            if (top.block) {
                Item end;
                end.kind = Item::BlockEnd;
                doc.items.push_back(end);
            }
            stack.pop_back();
            continue;
        }
        const GumboNode* child = static_cast<const GumboNode*>(children.data[top.next++]);
        const int style = top.style, link = top.link;
        switch (child->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA: {
                Item text;
                text.kind = Item::Text;
                text.text = host::FromUtf8(child->v.text.text ? child->v.text.text : "");
                text.style = style;
                text.link = link;
                doc.items.push_back(std::move(text));
                break;
            }
            case GUMBO_NODE_ELEMENT: {
                const GumboElement& element = child->v.element;
                if (element.tag == GUMBO_TAG_BR) {
                    Item br;
                    br.kind = Item::LineBreak;
                    br.style = style;
                    doc.items.push_back(br);
                    break;
                }
                TextStyle childStyle = doc.styles[style];
                if (element.tag == GUMBO_TAG_B || element.tag == GUMBO_TAG_STRONG) childStyle.bold = true;
                if (element.tag == GUMBO_TAG_I || element.tag == GUMBO_TAG_EM) childStyle.italic = true;
                const bool block = IsBlock(element.tag);
                Item start;
                start.kind = Item::BlockStart;
                std::string css = Attribute(element, "style");
                if (!css.empty()) ApplyStyleAttribute(css, &childStyle, block ? &start : nullptr);
                int childLink = link;
                if (element.tag == GUMBO_TAG_A && gumbo_get_attribute(&element.attributes, "href")) {
                    Link l;
                    l.target = host::FromUtf8(Attribute(element, "href"));
                    l.name = host::FromUtf8(Attribute(element, "name"));
                    childLink = static_cast<int>(doc.links.size());
                    doc.links.push_back(std::move(l));
                }
                int childStyleIndex = style;
                const TextStyle& parent = doc.styles[style];
                if (childStyle.bold != parent.bold || childStyle.italic != parent.italic ||
                    childStyle.points != parent.points || childStyle.pixels != parent.pixels ||
                    childStyle.family != parent.family || childStyle.color != parent.color ||
                    childStyle.hasColor != parent.hasColor || childStyle.sysColor != parent.sysColor) {
                    childStyleIndex = static_cast<int>(doc.styles.size());
                    doc.styles.push_back(childStyle);
                }
                if (block) {
                    start.style = childStyleIndex;
                    doc.items.push_back(start);
                }
                // Frames are pushed after top is used: the vector may move.
                stack.push_back(Frame{child, 0, childStyleIndex, childLink, block});
                break;
            }
            default:
                break;  // comments and the like show nothing
        }
    }
    gumbo_destroy_output(&options, output);

    // A link's text is what it shows.
    for (const Item& item : doc.items)
        if (item.kind == Item::Text && item.link >= 0) doc.links[item.link].text += item.text;
    return doc;
}

}  // namespace htmlview
