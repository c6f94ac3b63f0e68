// The full-screen text entry of an edit field: the field's text in a wide
// field of its own over the screen. Action puts the text back into the
// field (which tells its parent EN_CHANGE); Back erases the character before
// the caret, and leaves without a change once nothing is left to erase.
#include "UpDown.h"

#include <HandedState.h>

#include <algorithm>
#include <string>

namespace updown {

namespace {

const WCHAR kEntryClass[] = u"msctls_updown32_text";

struct EntryState {
    HWND field = nullptr;   // the buddy the text goes back to
    HWND editor = nullptr;  // the entry's own edit
    WNDPROC editorProc = nullptr;
};

platform::HandedState<EntryState> g_handed;

EntryState* StateOf(HWND entry) { return reinterpret_cast<EntryState*>(GetWindowLongPtrW(entry, GWL_USERDATA)); }

std::u16string TextOf(HWND hwnd) {
    int n = GetWindowTextLengthW(hwnd);
    std::u16string text(static_cast<size_t>(n) + 1, u'\0');
    n = GetWindowTextW(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return text;
}

void Close(HWND entry, bool commit) {
    EntryState* state = StateOf(entry);
    if (!state) return;
    HWND field = state->field;
    std::u16string text = TextOf(state->editor);
    DestroyWindow(entry);
    if (!IsWindow(field)) return;
    HWND top = GetParent(field);
    while (top && (GetWindowLongW(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
    if (top) SetForegroundWindow(top);
    SetFocus(field);
    if (commit && text != TextOf(field)) SetWindowTextW(field, text.c_str());
}

// Back: a character erased while there is one, else the entry is left.
void Back(HWND entry) {
    EntryState* state = StateOf(entry);
    if (!state) return;
    if (GetWindowTextLengthW(state->editor) > 0)
        SendMessageW(state->editor, WM_CHAR, VK_BACK, 1);
    else
        Close(entry, false);
}

LRESULT CALLBACK EditorProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    HWND entry = GetParent(hwnd);
    EntryState* state = StateOf(entry);
    if (!state || !state->editorProc) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_KEYDOWN && wParam == VK_RETURN) {
        Close(entry, true);
        return 0;
    }
    if (msg == WM_KEYDOWN && wParam == VK_ESCAPE) {
        Back(entry);
        return 0;
    }
    return CallWindowProcW(state->editorProc, hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK EntryProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_CREATE: {
            const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            EntryState* state = g_handed.Take(lParam);
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(state));
            if (!state) return 0;
            HFONT font = reinterpret_cast<HFONT>(SendMessageW(state->field, WM_GETFONT, 0, 0));
            HDC dc = GetDC(hwnd);
            HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            SelectObject(dc, old);
            ReleaseDC(hwnd, dc);
            std::u16string text = TextOf(state->field);
            state->editor = CreateWindowExW(
                0, u"Edit", text.c_str(), WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, 4, 4,
                std::max(0, cs->cx - 8), tm.tmHeight + 8, hwnd, nullptr, GetModuleHandleW(nullptr), nullptr);
            if (!state->editor) return -1;
            if (font) SendMessageW(state->editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
            state->editorProc = reinterpret_cast<WNDPROC>(
                SetWindowLongPtrW(state->editor, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc)));
            return 0;
        }
        case WM_NCDESTROY:
            delete StateOf(hwnd);
            SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
            return 0;
        case WM_SETFOCUS:
            if (EntryState* state = StateOf(hwnd)) SetFocus(state->editor);
            return 0;
        case WM_KEYDOWN:
            // Back reaches the window in front when no soft-key bar takes it.
            if (wParam == VK_ESCAPE) {
                Back(hwnd);
                return 0;
            }
            if (wParam == VK_RETURN) {
                Close(hwnd, true);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

void OpenTextEntry(HWND edit) {
    auto* state = new EntryState();
    state->field = edit;
    RECT area = FullScreenArea();
    HWND entry = CreateWindowExW(0, kEntryClass, nullptr, WS_POPUP | WS_VISIBLE, area.left, area.top,
                                 area.right - area.left, area.bottom - area.top, GetParent(edit), nullptr,
                                 GetModuleHandleW(nullptr), g_handed.Hand(state));
    // A window that failed in WM_CREATE has freed the state it took.
    if (g_handed.Withdraw(state)) delete state;
    if (!entry) return;
    SetForegroundWindow(entry);
    SetFocus(StateOf(entry)->editor);
}

bool RegisterTextEntryClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = EntryProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kEntryClass;
    return RegisterClassW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace updown
