// The BUTTON class: push buttons, check boxes (BS_CHECKBOX, BS_AUTOCHECKBOX,
// BS_LEFTTEXT) and group boxes. The Action key (and the space bar) clicks
// the focused button: an automatic check box turns its check over, then the
// parent hears BN_CLICKED. A disabled button takes no focus (SetFocus refuses
// it) and draws its text greyed.
#include "user/controls/Controls.h"

using namespace controls;

namespace {

struct ButtonState {
    UINT check = BST_UNCHECKED;
    bool focused = false;
    bool pushed = false;
    HFONT font = nullptr;
};

DWORD Kind(HWND hwnd) { return static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }

bool IsCheckKind(DWORD kind) {
    return kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_3STATE || kind == BS_AUTO3STATE ||
           kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON;
}

bool IsPushKind(DWORD kind) { return kind == BS_PUSHBUTTON || kind == BS_DEFPUSHBUTTON; }

void Click(HWND hwnd, ButtonState& state) {
    if (!IsEnabled(hwnd)) return;
    DWORD kind = Kind(hwnd);
    if (kind == BS_GROUPBOX) return;
    if (kind == BS_AUTOCHECKBOX)
        state.check = state.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    else if (kind == BS_AUTO3STATE)
        state.check = (state.check + 1) % 3;
    else if (kind == BS_AUTORADIOBUTTON)
        state.check = BST_CHECKED;
    InvalidateRect(hwnd, nullptr, TRUE);
    NotifyParent(hwnd, BN_CLICKED);
}

std::u16string TextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(n));
    return text;
}

void FillWith(HDC dc, RECT r, int color) { FillRect(dc, &r, GetSysColorBrush(color)); }

void FrameWith(HDC dc, RECT r, int color) { FrameRect(dc, &r, GetSysColorBrush(color)); }

// The box of a check box, a square as tall as a line of text, with a tick
// drawn as two strokes when checked and a grey fill when indeterminate.
void PaintCheckBox(HDC dc, const RECT& box, UINT check, bool enabled) {
    FillWith(dc, box, enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    FrameWith(dc, box, enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    if (check == BST_INDETERMINATE) {
        RECT inner{box.left + 3, box.top + 3, box.right - 3, box.bottom - 3};
        FillWith(dc, inner, COLOR_GRAYTEXT);
    } else if (check == BST_CHECKED) {
        int w = box.right - box.left;
        HPEN pen = CreatePen(PS_SOLID, w >= 16 ? 2 : 1, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
        HGDIOBJ old = SelectObject(dc, pen);
        MoveToEx(dc, box.left + w / 5, box.top + w / 2, nullptr);
        LineTo(dc, box.left + w * 2 / 5, box.bottom - w / 4);
        LineTo(dc, box.right - w / 5, box.top + w / 5);
        SelectObject(dc, old);
        DeleteObject(pen);
    }
}

void Paint(HWND hwnd, ButtonState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd, &client);
    DWORD kind = Kind(hwnd);
    DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    bool enabled = IsEnabled(hwnd);
    HGDIOBJ oldFont = SelectObject(dc, FontOr(state.font));
    SetBkMode(dc, TRANSPARENT);
    std::u16string text = TextOf(hwnd);

    if (IsPushKind(kind)) {
        HBRUSH face = ControlColors(hwnd, WM_CTLCOLORBTN, dc, COLOR_BTNFACE, COLOR_BTNTEXT);
        FillRect(dc, &client, state.pushed ? GetSysColorBrush(COLOR_BTNSHADOW) : face);
        FrameWith(dc, client, state.focused ? COLOR_HIGHLIGHT : COLOR_WINDOWFRAME);
        if (state.focused || kind == BS_DEFPUSHBUTTON) {
            RECT inner{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
            FrameWith(dc, inner, state.focused ? COLOR_HIGHLIGHT : COLOR_WINDOWFRAME);
        }
        if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        HBRUSH background = ControlColors(hwnd, WM_CTLCOLORSTATIC, dc, COLOR_STATIC, COLOR_STATICTEXT);
        // A group box surrounds other controls: it draws its frame and its
        // label and leaves its inside to them.
        if (kind != BS_GROUPBOX) FillRect(dc, &client, background);
        if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
        int line = LineHeight(dc);
        if (kind == BS_GROUPBOX) {
            RECT frame{client.left, client.top + line / 2, client.right, client.bottom};
            FrameWith(dc, frame, COLOR_BTNSHADOW);
            if (!text.empty()) {
                SIZE extent{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
                RECT label{client.left + 4, client.top, client.left + 8 + extent.cx, client.top + line};
                FillRect(dc, &label, background);
                label.left += 2;
                DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &label, DT_LEFT | DT_TOP | DT_SINGLELINE);
            }
        } else {
            int height = client.bottom - client.top;
            int side = std::max(6, std::min(line - 2, height));
            bool boxRight = (style & BS_LEFTTEXT) != 0;
            RECT box{};
            box.top = client.top + (height - side) / 2;
            box.bottom = box.top + side;
            box.left = boxRight ? client.right - side : client.left;
            box.right = box.left + side;
            PaintCheckBox(dc, box, state.check, enabled);
            RECT label = client;
            if (boxRight)
                label.right = box.left - side / 3;
            else
                label.left = box.right + side / 3;
            if (state.focused) {
                // The phone shows the focus as the label in the highlight colours.
                FillWith(dc, label, COLOR_HIGHLIGHT);
                SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            }
            RECT textRect{label.left + 1, label.top, label.right - 1, label.bottom};
            UINT format = DT_VCENTER | DT_SINGLELINE | (boxRight ? DT_RIGHT : DT_LEFT);
            DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
        }
    }
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CREATE) {
        MakeState<ButtonState>(hwnd);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    ButtonState* state = StateOf<ButtonState>(hwnd);
    if (!state) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_NCDESTROY:
            FreeState<ButtonState>(hwnd);
            return 0;
        case WM_GETDLGCODE: {
            DWORD kind = Kind(hwnd);
            if (kind == BS_GROUPBOX) return DLGC_STATIC;
            LRESULT code = DLGC_BUTTON;
            if (kind == BS_DEFPUSHBUTTON)
                code |= DLGC_DEFPUSHBUTTON;
            else if (kind == BS_PUSHBUTTON)
                code |= DLGC_UNDEFPUSHBUTTON;
            else if (kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)
                code |= DLGC_RADIOBUTTON;
            // Action belongs to the button itself, not to the dialog's default command.
            if (DlgCodeKey(lParam) == VK_RETURN) code |= DLGC_WANTMESSAGE;
            return code;
        }
        case BM_GETCHECK:
            return IsCheckKind(Kind(hwnd)) ? state->check : BST_UNCHECKED;
        case BM_SETCHECK: {
            DWORD kind = Kind(hwnd);
            if (!IsCheckKind(kind)) return 0;
            UINT check = static_cast<UINT>(wParam);
            bool threeState = kind == BS_3STATE || kind == BS_AUTO3STATE;
            if (check > (threeState ? BST_INDETERMINATE : BST_CHECKED)) check = BST_CHECKED;
            if (check != state->check) {
                state->check = check;
                InvalidateRect(hwnd, nullptr, TRUE);
            }
            return 0;
        }
        case BM_GETSTATE:
            return (IsCheckKind(Kind(hwnd)) ? state->check : 0) | (state->pushed ? BST_PUSHED : 0) |
                   (state->focused ? BST_FOCUS : 0);
        case BM_SETSTATE:
            if (state->pushed != (wParam != 0)) {
                state->pushed = wParam != 0;
                InvalidateRect(hwnd, nullptr, TRUE);
            }
            return 0;
        case BM_SETSTYLE:
            SetWindowLongW(hwnd, GWL_STYLE,
                           static_cast<LONG>((static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & ~BS_TYPEMASK) |
                                             (static_cast<DWORD>(wParam) & BS_TYPEMASK)));
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case BM_CLICK:
            Click(hwnd, *state);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_RETURN || wParam == VK_SPACE) {
                Click(hwnd, *state);
                return 0;
            }
            break;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
            state->focused = msg == WM_SETFOCUS;
            InvalidateRect(hwnd, nullptr, TRUE);
            if (HasStyle(hwnd, BS_NOTIFY)) NotifyParent(hwnd, msg == WM_SETFOCUS ? BN_SETFOCUS : BN_KILLFOCUS);
            return 0;
        case WM_ENABLE:
            InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_SETTEXT: {
            LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        case WM_SETFONT:
            state->font = reinterpret_cast<HFONT>(wParam);
            if (LOWORD(lParam)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(state->font);
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills everything
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

WNDCLASSW ButtonClass() { return ControlClass(u"Button", ButtonProc); }

}  // namespace controls
