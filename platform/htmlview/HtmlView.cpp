// The "DISPLAYCLASS" window: the page's source as it was given, parsed at
// the end of the source and laid out at the view's width and zoom; drawn
// with the system colours and scrolled when taller than the view; the
// links focused with Up and Down, chosen with Action; every other key
// reported to the parent.
#include "HtmlLayout.h"

#include <coredll_host.h>
#include <htmlctrl.h>
#include <htmlview_host.h>

#include <memory>

namespace htmlview {

namespace {

// Asks the view's own thread for what it holds (lParam: a Query).
const UINT WM_QUERYVIEW = WM_USER + 300;

struct Query {
    std::u16string source;
    int zoom = 2;
    int focus = -1;
    std::vector<std::u16string> links;
};

struct View {
    HWND hwnd = nullptr;
    std::u16string source;  // everything added since the last clear
    std::u16string shown;   // the source the document was made from
    Document doc;
    FontSet fonts;
    Layout layout;
    int zoom = 2;
    int width = -1;  // the width the layout is for; -1: to be made
    int scroll = 0;
    int focus = -1;
    bool dirty = true;  // fonts and layout to be made again before the page is next used
};

View* ViewOf(HWND hwnd) { return reinterpret_cast<View*>(GetWindowLongPtrW(hwnd, GWL_USERDATA)); }

int ViewHeight(HWND hwnd) {
    RECT client = {};
    GetClientRect(hwnd, &client);
    return client.bottom - client.top;
}

void Relayout(View& view) {
    RECT client = {};
    GetClientRect(view.hwnd, &client);
    HDC dc = GetDC(view.hwnd);
    if (view.dirty) {
        view.fonts.Reset(view.doc, view.zoom, GetDeviceCaps(dc, LOGPIXELSY));
        view.dirty = false;
    }
    view.width = client.right - client.left;
    // A few pixels are kept free on the right for the scroll bar.
    view.layout = LayOut(view.doc, view.fonts, dc, view.width > 8 ? view.width - 4 : view.width);
    ReleaseDC(view.hwnd, dc);
    int most = view.layout.height - ViewHeight(view.hwnd);
    if (view.scroll > most) view.scroll = most > 0 ? most : 0;
}

// The page is laid out when it is next drawn, measured or stepped through,
// not at each change: a page loaded and then zoomed is laid out once.
void EnsureLayout(View& view) {
    RECT client = {};
    GetClientRect(view.hwnd, &client);
    if (view.dirty || view.width != client.right - client.left) Relayout(view);
}

// Whether the first box of link lies wholly in the view.
bool LinkInView(const View& view, int link) {
    const std::vector<RECT>& boxes = view.layout.linkBoxes[link];
    if (boxes.empty()) return false;
    return boxes.front().top >= view.scroll && boxes.front().bottom <= view.scroll + ViewHeight(view.hwnd);
}

void MoveFocus(View& view, int direction) {
    const int count = static_cast<int>(view.doc.links.size());
    for (int i = view.focus + direction; i >= 0 && i < count; i += direction) {
        if (LinkInView(view, i)) {
            view.focus = i;
            InvalidateRect(view.hwnd, nullptr, FALSE);
            return;
        }
        // A link further on than the view shows is reached by scrolling.
        const std::vector<RECT>& boxes = view.layout.linkBoxes[i];
        if (!boxes.empty() && (direction > 0 ? boxes.front().top >= view.scroll + ViewHeight(view.hwnd)
                                             : boxes.front().bottom <= view.scroll))
            break;
    }
    const int most = view.layout.height - ViewHeight(view.hwnd);
    const int next = view.scroll + direction * view.layout.lineStep;
    const int scroll = next < 0 ? 0 : next > most ? (most > 0 ? most : 0) : next;
    if (scroll != view.scroll) {
        view.scroll = scroll;
        if (view.focus >= 0 && !LinkInView(view, view.focus)) view.focus = -1;
        InvalidateRect(view.hwnd, nullptr, FALSE);
    }
}

void Notify(HWND hwnd, NMHDR* header, UINT code) {
    header->hwndFrom = hwnd;
    header->idFrom = static_cast<UINT_PTR>(GetWindowLongW(hwnd, GWL_ID));
    header->code = code;
    HWND parent = GetParent(hwnd);
    if (parent) SendMessageW(parent, WM_NOTIFY, header->idFrom, reinterpret_cast<LPARAM>(header));
}

COLORREF ColorOf(const TextStyle& style) {
    if (style.sysColor >= 0) return GetSysColor(style.sysColor);
    if (style.hasColor) return style.color;
    return GetSysColor(COLOR_WINDOWTEXT);
}

void Paint(View& view) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(view.hwnd, &ps);
    EnsureLayout(view);
    RECT client = {};
    GetClientRect(view.hwnd, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    const int top = view.scroll, bottom = view.scroll + client.bottom;
    HGDIOBJ old = nullptr;
    for (const Segment& s : view.layout.segments) {
        if (s.y + s.height < top) continue;
        if (s.y > bottom) break;
        const bool link = s.link >= 0;
        const bool focused = link && s.link == view.focus;
        HGDIOBJ previous = SelectObject(dc, view.fonts.Font(s.style, link && !focused));
        if (!old) old = previous;
        if (focused) {
            RECT box = {s.x, s.y - top, s.x + s.width, s.y - top + s.height};
            FillRect(dc, &box, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
        } else {
            SetTextColor(dc, link ? GetSysColor(COLOR_HIGHLIGHT) : ColorOf(view.doc.styles[s.style]));
        }
        ExtTextOutW(dc, s.x, s.y - top, 0, nullptr, reinterpret_cast<LPCWSTR>(s.text.c_str()),
                    static_cast<UINT>(s.text.size()), nullptr);
    }
    if (old) SelectObject(dc, old);
    // The scroll bar: the part of the page in view on a track.
    if (view.layout.height > client.bottom && client.bottom > 0) {
        RECT track = {client.right - 3, 0, client.right, client.bottom};
        FillRect(dc, &track, GetSysColorBrush(COLOR_BTNFACE));
        const LONGLONG h = client.bottom;
        RECT thumb = track;
        thumb.top = static_cast<LONG>(h * view.scroll / view.layout.height);
        thumb.bottom = static_cast<LONG>(h * (view.scroll + client.bottom) / view.layout.height);
        FillRect(dc, &thumb, GetSysColorBrush(COLOR_BTNSHADOW));
    }
    EndPaint(view.hwnd, &ps);
}

LRESULT CALLBACK ViewProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    View* view = ViewOf(hwnd);
    if (!view && msg != WM_CREATE) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_CREATE: {
            View* made = new (std::nothrow) View;
            if (!made) return -1;
            made->hwnd = hwnd;
            made->doc = ParseDocument(u"");
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(made));
            return 0;
        }
        case WM_DESTROY:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
            delete view;
            return 0;
        case DTM_ADDTEXTW: {
            LPCWSTR text = reinterpret_cast<LPCWSTR>(lParam);
            if (!text) return FALSE;
            std::u16string piece(text);
            if (wParam != 0) {
                // Plain text: shown as it is, never as markup.
                std::u16string escaped;
                for (char16_t c : piece) {
                    if (c == u'<')
                        escaped += u"&lt;";
                    else if (c == u'&')
                        escaped += u"&amp;";
                    else
                        escaped += c;
                }
                piece = escaped;
            }
            view->source += piece;
            return TRUE;
        }
        case DTM_ENDOFSOURCE:
            view->shown = view->source;
            view->doc = ParseDocument(view->shown);
            view->dirty = true;
            view->scroll = 0;
            view->focus = -1;
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case DTM_CLEAR:
            view->source.clear();
            view->shown.clear();
            view->doc = ParseDocument(u"");
            view->dirty = true;
            view->scroll = 0;
            view->focus = -1;
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        case DTM_ZOOMLEVEL: {
            int zoom = static_cast<int>(lParam);
            view->zoom = zoom < 0 ? 0 : zoom > 4 ? 4 : zoom;
            view->dirty = true;
            InvalidateRect(hwnd, nullptr, FALSE);
            return TRUE;
        }
        case DTM_LAYOUTHEIGHT:
            EnsureLayout(*view);
            return view->layout.height;
        case WM_SIZE:
            InvalidateRect(hwnd, nullptr, FALSE);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(*view);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTALLKEYS;
        case WM_KEYDOWN: {
            EnsureLayout(*view);
            if (wParam == VK_DOWN || wParam == VK_UP) {
                MoveFocus(*view, wParam == VK_DOWN ? 1 : -1);
                return 0;
            }
            if (wParam == VK_RETURN && view->focus >= 0) {
                const Link& link = view->doc.links[view->focus];
                NM_HTMLVIEW notice = {};
                // Copies, so that a parent that changes the page meanwhile reads whole texts.
                const std::u16string target = link.target, text = link.text;
                notice.szTarget = target.c_str();
                notice.szData = text.c_str();
                Notify(hwnd, &notice.hdr, NM_HOTSPOT);
                return 0;
            }
            NMKEY key = {};
            key.nVKey = static_cast<UINT>(wParam);
            key.uFlags = HIWORD(lParam);
            Notify(hwnd, &key.hdr, static_cast<UINT>(NM_KEYDOWN));
            return 0;
        }
        case WM_QUERYVIEW: {
            Query* query = reinterpret_cast<Query*>(lParam);
            query->source = view->shown;
            query->zoom = view->zoom;
            query->focus = view->focus;
            for (const Link& link : view->doc.links) query->links.push_back(link.target);
            return 1;
        }
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

bool Ask(HWND view, Query* query) {
    WCHAR name[32] = {};
    if (!view || !GetClassNameW(view, name, 32) || std::u16string(name) != u"DISPLAYCLASS") return false;
    return SendMessageW(view, WM_QUERYVIEW, 0, reinterpret_cast<LPARAM>(query)) != 0;
}

}  // namespace

}  // namespace htmlview

extern "C" BOOL WINAPI InitHTMLControl(HINSTANCE hinst) {
    long result = 0;
    if (host::ShouldFail("InitHTMLControl", &result)) return FALSE;
    WNDCLASSW existing = {};
    if (GetClassInfoW(hinst, DISPLAYCLASS, &existing) || GetClassInfoW(nullptr, DISPLAYCLASS, &existing)) return TRUE;
    WNDCLASSW wc = {};
    wc.style = CS_GLOBALCLASS;
    wc.lpfnWndProc = htmlview::ViewProc;
    wc.hInstance = hinst;
    wc.lpszClassName = DISPLAYCLASS;
    return RegisterClassW(&wc) != 0;
}

namespace host {

std::u16string HtmlViewSource(HWND view) {
    htmlview::Query query;
    return htmlview::Ask(view, &query) ? query.source : std::u16string();
}

int HtmlViewZoom(HWND view) {
    htmlview::Query query;
    return htmlview::Ask(view, &query) ? query.zoom : -1;
}

bool HtmlViewFocusedLink(HWND view, std::u16string* target) {
    htmlview::Query query;
    if (!htmlview::Ask(view, &query) || query.focus < 0) return false;
    if (target) *target = query.links[query.focus];
    return true;
}

std::vector<std::u16string> HtmlViewLinks(HWND view) {
    htmlview::Query query;
    htmlview::Ask(view, &query);
    return query.links;
}

}  // namespace host
