// The STATIC class: text (SS_LEFT word-wrapped, SS_CENTER, SS_RIGHT,
// SS_LEFTNOWORDWRAP), an icon (SS_ICON) or a bitmap (SS_BITMAP). An image
// named by the window text (a resource ordinal, 0xFFFF then the id, as the
// dialog manager passes it, or a name) is loaded from the creating module;
// STM_SETIMAGE replaces it and hands back the old one, which stays the
// caller's to destroy. The control takes its image's size unless it is
// SS_CENTERIMAGE.
#include "user/controls/Controls.h"

using namespace controls;

namespace {

struct StaticState {
    HICON icon = nullptr;
    HBITMAP bitmap = nullptr;
    HFONT font = nullptr;
};

// The resource name in a window text: an ordinal when it starts with 0xFFFF.
LPCWSTR ResourceName(LPCWSTR text) {
    if (!text || !*text) return nullptr;
    if (text[0] == 0xFFFF) return MAKEINTRESOURCEW(text[1]);
    return text;
}

// The size of the image the control shows, 0 x 0 for none.
SIZE ImageSize(const StaticState& state) {
    SIZE size{0, 0};
    if (state.icon) {
        ICONINFO info{};
        if (GetIconInfo(state.icon, &info) && info.hbmColor) {
            BITMAP bm{};
            GetObjectW(info.hbmColor, sizeof bm, &bm);
            size = SIZE{bm.bmWidth, bm.bmHeight};
        }
        if (info.hbmColor) DeleteObject(info.hbmColor);
        if (info.hbmMask) DeleteObject(info.hbmMask);
    } else if (state.bitmap) {
        BITMAP bm{};
        GetObjectW(state.bitmap, sizeof bm, &bm);
        size = SIZE{bm.bmWidth, bm.bmHeight};
    }
    return size;
}

// An icon or bitmap control takes the size of its image, whatever size it
// was made with; with SS_CENTERIMAGE it keeps its size and centres it.
void FitToImage(HWND hwnd, const StaticState& state, DWORD style) {
    if (style & SS_CENTERIMAGE) return;
    SIZE size = ImageSize(state);
    if (size.cx <= 0 || size.cy <= 0) return;
    SetWindowPos(hwnd, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LoadImageFromText(HWND hwnd, StaticState& state, const CREATESTRUCTW& cs) {
    DWORD kind = static_cast<DWORD>(cs.style) & SS_TYPEMASK;
    if (kind != SS_ICON && kind != SS_BITMAP) return;
    LPCWSTR name = ResourceName(cs.lpszName);
    if (!name) return;
    if (kind == SS_ICON)
        state.icon = LoadIconW(cs.hInstance, name);
    else if (kind == SS_BITMAP)
        state.bitmap = LoadBitmapW(cs.hInstance, name);
    // The name was the image's, not a text to show.
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
    FitToImage(hwnd, state, static_cast<DWORD>(cs.style));
}

void PaintImage(HDC dc, const RECT& client, StaticState& state, bool center) {
    SIZE size = ImageSize(state);
    const int width = size.cx, height = size.cy;
    int x = client.left, y = client.top;
    if (center) {
        x += (client.right - client.left - width) / 2;
        y += (client.bottom - client.top - height) / 2;
    }
    if (state.icon) {
        DrawIconEx(dc, x, y, state.icon, 0, 0, 0, nullptr, DI_NORMAL);
    } else if (state.bitmap) {
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, state.bitmap);
        BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
    }
}

void Paint(HWND hwnd, StaticState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    HBRUSH background = ControlColors(hwnd, WM_CTLCOLORSTATIC, dc, COLOR_STATIC, COLOR_STATICTEXT);
    FillRect(dc, &client, background);
    DWORD kind = style & SS_TYPEMASK;
    if (kind == SS_ICON || kind == SS_BITMAP) {
        PaintImage(dc, client, state, (style & SS_CENTERIMAGE) != 0);
    } else {
        HGDIOBJ oldFont = SelectObject(dc, FontOr(state.font));
        SetBkMode(dc, TRANSPARENT);
        if (!IsEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        int n = GetWindowTextLengthW(hwnd);
        std::u16string text(static_cast<size_t>(n) + 1, u'\0');
        n = GetWindowTextW(hwnd, text.data(), n + 1);
        UINT format = kind == SS_CENTER ? DT_CENTER : kind == SS_RIGHT ? DT_RIGHT : DT_LEFT;
        format |= kind == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK;
        if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
        DrawTextW(dc, text.c_str(), n, &client, format);
        SelectObject(dc, oldFont);
    }
    EndPaint(hwnd, &ps);
}

LRESULT SetImage(HWND hwnd, StaticState& state, WPARAM type, LPARAM handle) {
    HANDLE old = nullptr;
    if (type == IMAGE_ICON) {
        old = state.icon;
        state.icon = reinterpret_cast<HICON>(handle);
    } else if (type == IMAGE_BITMAP) {
        old = state.bitmap;
        state.bitmap = reinterpret_cast<HBITMAP>(handle);
    } else {
        return 0;
    }
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    DWORD kind = style & SS_TYPEMASK;
    if ((kind == SS_ICON && type == IMAGE_ICON) || (kind == SS_BITMAP && type == IMAGE_BITMAP))
        FitToImage(hwnd, state, style);
    InvalidateRect(hwnd, nullptr, TRUE);
    return reinterpret_cast<LRESULT>(old);
}

LRESULT CALLBACK StaticProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        StaticState* state = MakeState<StaticState>(hwnd);
        if (const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam)) LoadImageFromText(hwnd, *state, *cs);
        return 0;
    }
    StaticState* state = StateOf<StaticState>(hwnd);
    if (!state) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_NCDESTROY:
            FreeState<StaticState>(hwnd);
            return 0;
        case WM_GETDLGCODE:
            return DLGC_STATIC;
        case STM_SETIMAGE:
            return SetImage(hwnd, *state, wParam, lParam);
        case STM_GETIMAGE:
            if (wParam == IMAGE_ICON) return reinterpret_cast<LRESULT>(state->icon);
            if (wParam == IMAGE_BITMAP) return reinterpret_cast<LRESULT>(state->bitmap);
            return 0;
        case STM_SETICON:
            return SetImage(hwnd, *state, IMAGE_ICON, static_cast<LPARAM>(wParam));
        case STM_GETICON:
            return reinterpret_cast<LRESULT>(state->icon);
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_ENABLE:
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

WNDCLASSW StaticClass() { return ControlClass(u"Static", StaticProc); }

}  // namespace controls
