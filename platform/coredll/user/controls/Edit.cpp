// The EDIT class: a single-line field with a caret (ES_AUTOHSCROLL scrolls
// the text to keep the caret in view; without it the field takes only what
// fits its width), and a multi-line field that wraps its text at word
// boundaries (the read-only kind shows text the program sets). Typed
// characters come as WM_CHAR; the backspace character (which the Back key
// becomes for a field) erases the character before the caret. The parent
// hears EN_SETFOCUS, EN_KILLFOCUS, EN_UPDATE and EN_CHANGE.
#include "user/controls/Controls.h"

#include <algorithm>

using namespace controls;

namespace {

constexpr size_t kDefaultLimit = 30000;  // the platform's default text limit
constexpr int kMargin = 2;

struct EditState {
    size_t caret = 0;
    int scroll = 0;  // pixels of a single-line text scrolled out on the left
    size_t limit = kDefaultLimit;
    bool focused = false;
    HFONT font = nullptr;
};

DWORD StyleOf(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)); }

std::u16string TextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return text;
}

void StoreText(HWND hwnd, const std::u16string& text) {
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int TextWidth(HWND hwnd, const EditState& state, const std::u16string& text, size_t count) {
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, FontOr(state.font));
    SIZE extent{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(count), &extent);
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    return extent.cx;
}

int FieldWidth(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    return std::max(0, static_cast<int>(client.right - client.left) - 2 * kMargin);
}

// Keeps the caret of a single-line field inside the visible part.
void ScrollToCaret(HWND hwnd, EditState& state, const std::u16string& text) {
    if (StyleOf(hwnd) & ES_MULTILINE) return;
    int x = TextWidth(hwnd, state, text, state.caret);
    int width = FieldWidth(hwnd);
    if (x - state.scroll > width - 1) state.scroll = x - width + 1;
    if (x < state.scroll) state.scroll = x;
    if (state.scroll < 0) state.scroll = 0;
}

void Changed(HWND hwnd, EditState& state, const std::u16string& text) {
    ScrollToCaret(hwnd, state, text);
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, EN_UPDATE);
    NotifyParent(hwnd, EN_CHANGE);
}

// Inserts at the caret what the field takes of insert; false when nothing.
bool Insert(HWND hwnd, EditState& state, std::u16string insert) {
    DWORD style = StyleOf(hwnd);
    std::u16string text = TextOf(hwnd);
    if (text.size() >= state.limit) {
        NotifyParent(hwnd, EN_MAXTEXT);
        return false;
    }
    if (text.size() + insert.size() > state.limit) insert.resize(state.limit - text.size());
    if (!(style & ES_MULTILINE)) {
        // A single line keeps no line breaks.
        std::erase_if(insert, [](char16_t c) { return c == u'\r' || c == u'\n'; });
    }
    if (style & ES_NUMBER) std::erase_if(insert, [](char16_t c) { return c < u'0' || c > u'9'; });
    if (insert.empty()) return false;
    std::u16string next = text;
    size_t at = std::min(state.caret, next.size());
    next.insert(at, insert);
    if (!(style & (ES_MULTILINE | ES_AUTOHSCROLL)) && TextWidth(hwnd, state, next, next.size()) > FieldWidth(hwnd)) {
        // Without horizontal scrolling the field holds only what it shows.
        NotifyParent(hwnd, EN_MAXTEXT);
        return false;
    }
    StoreText(hwnd, next);
    state.caret = at + insert.size();
    Changed(hwnd, state, next);
    return true;
}

void EraseBeforeCaret(HWND hwnd, EditState& state) {
    std::u16string text = TextOf(hwnd);
    size_t at = std::min(state.caret, text.size());
    if (at == 0) return;
    size_t count = 1;
    // A line break of a multi-line field goes as one.
    if (at >= 2 && text[at - 1] == u'\n' && text[at - 2] == u'\r') count = 2;
    text.erase(at - count, count);
    StoreText(hwnd, text);
    state.caret = at - count;
    Changed(hwnd, state, text);
}

void OnChar(HWND hwnd, EditState& state, WCHAR ch) {
    if (StyleOf(hwnd) & ES_READONLY) return;
    if (ch == VK_BACK) {
        EraseBeforeCaret(hwnd, state);
        return;
    }
    if (ch == u'\r') {
        if ((StyleOf(hwnd) & ES_MULTILINE) && (StyleOf(hwnd) & ES_WANTRETURN)) Insert(hwnd, state, u"\r\n");
        return;
    }
    if (ch < 0x20 && ch != u'\t') return;
    Insert(hwnd, state, std::u16string(1, ch));
}

bool OnKeyDown(HWND hwnd, EditState& state, WPARAM vk) {
    std::u16string text = TextOf(hwnd);
    size_t caret = std::min(state.caret, text.size());
    switch (vk) {
        case VK_LEFT:
            if (caret > 0) --caret;
            break;
        case VK_RIGHT:
            if (caret < text.size()) ++caret;
            break;
        case VK_HOME:
            caret = 0;
            break;
        case VK_END:
            caret = text.size();
            break;
        case VK_DELETE:
            if (StyleOf(hwnd) & ES_READONLY || caret >= text.size()) return true;
            text.erase(caret, 1);
            StoreText(hwnd, text);
            state.caret = caret;
            Changed(hwnd, state, text);
            return true;
        default:
            return false;
    }
    state.caret = caret;
    ScrollToCaret(hwnd, state, text);
    InvalidateRect(hwnd, nullptr, TRUE);
    return true;
}

void Paint(HWND hwnd, EditState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    DWORD style = StyleOf(hwnd);
    bool enabled = IsEnabled(hwnd);
    bool readOnly = (style & ES_READONLY) != 0;
    HBRUSH background = readOnly || !enabled
                            ? ControlColors(hwnd, WM_CTLCOLORSTATIC, dc, COLOR_STATIC, COLOR_STATICTEXT)
                            : ControlColors(hwnd, WM_CTLCOLOREDIT, dc, COLOR_WINDOW, COLOR_WINDOWTEXT);
    FillRect(dc, &client, background);
    if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(dc, FontOr(state.font));
    SetBkMode(dc, TRANSPARENT);
    std::u16string text = TextOf(hwnd);
    int line = LineHeight(dc);
    if (style & ES_MULTILINE) {
        RECT area{client.left + kMargin, client.top + 1, client.right - kMargin, client.bottom};
        UINT align = (style & ES_CENTER) ? DT_CENTER : (style & ES_RIGHT) ? DT_RIGHT : DT_LEFT;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, align | DT_WORDBREAK | DT_NOPREFIX);
    } else {
        int top = client.top + std::max(0, static_cast<int>(client.bottom - client.top) - line) / 2;
        RECT area{client.left + kMargin - state.scroll, top, client.right + 0x4000, top + line};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area,
                  DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        if (state.focused && enabled) {
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(std::min(state.caret, text.size())), &extent);
            RECT caret{client.left + kMargin - state.scroll + extent.cx, top, 0, top + line};
            caret.right = caret.left + 1;
            FillRect(dc, &caret, GetSysColorBrush(COLOR_WINDOWTEXT));
        }
    }
    if (state.focused && !readOnly) FrameRect(dc, &client, GetSysColorBrush(COLOR_HIGHLIGHT));
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT GetSel(const EditState& state, WPARAM wParam, LPARAM lParam) {
    DWORD caret = static_cast<DWORD>(state.caret);
    if (auto* start = reinterpret_cast<DWORD*>(wParam)) *start = caret;
    if (auto* end = reinterpret_cast<DWORD*>(lParam)) *end = caret;
    return MAKELRESULT(caret, caret);
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        EditState* state = MakeState<EditState>(hwnd);
        state->caret = static_cast<size_t>(GetWindowTextLengthW(hwnd));
        return 0;
    }
    EditState* state = StateOf<EditState>(hwnd);
    if (!state) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_NCDESTROY:
            FreeState<EditState>(hwnd);
            return 0;
        case WM_GETDLGCODE: {
            LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL;
            // Left and Right move the caret; Up and Down stay the dialog's.
            switch (DlgCodeKey(lParam)) {
                case VK_LEFT:
                case VK_RIGHT:
                case VK_HOME:
                case VK_END:
                case VK_DELETE:
                case VK_BACK:
                    code |= DLGC_WANTMESSAGE;
                    break;
                default:
                    break;
            }
            return code;
        }
        case WM_CHAR:
            OnChar(hwnd, *state, static_cast<WCHAR>(wParam));
            return 0;
        case WM_KEYDOWN:
            if (OnKeyDown(hwnd, *state, wParam)) return 0;
            break;
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
            std::u16string text = TextOf(hwnd);
            state->caret = text.size();
            state->scroll = 0;
            Changed(hwnd, *state, text);
            return result;
        }
        case EM_GETSEL:
            return GetSel(*state, wParam, lParam);
        case EM_SETSEL: {
            size_t length = static_cast<size_t>(GetWindowTextLengthW(hwnd));
            // The caret goes to the end of the selection; -1 means the text's end.
            LONG end = static_cast<LONG>(lParam);
            state->caret = end < 0 ? length : std::min(static_cast<size_t>(end), length);
            ScrollToCaret(hwnd, *state, TextOf(hwnd));
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        }
        case EM_REPLACESEL:
            if (lParam) Insert(hwnd, *state, reinterpret_cast<LPCWSTR>(lParam));
            return 0;
        case EM_LIMITTEXT:
            state->limit = wParam == 0 ? kDefaultLimit : static_cast<size_t>(wParam);
            return 0;
        case EM_SETREADONLY: {
            DWORD style = StyleOf(hwnd);
            style = wParam ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY));
            SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
            InvalidateRect(hwnd, nullptr, TRUE);
            return TRUE;
        }
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            state->focused = msg == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
            NotifyParent(hwnd, msg == WM_SETFOCUS ? EN_SETFOCUS : EN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SIZE:
            ScrollToCaret(hwnd, *state, TextOf(hwnd));
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SETFONT:
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state->font);
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            Paint(hwnd, *state);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

namespace controls {

WNDCLASSW EditClass() { return ControlClass(u"Edit", EditProc); }

}  // namespace controls
