// Making a dialog from its template: the dialog window in dialog units of
// its font, one control per item, WM_SETFONT and WM_INITDIALOG; modeless
// (CreateDialog*) or modal (DialogBox*: the owner disabled, a nested loop
// until EndDialog).
#include "user/Dialog.h"

#include "resources/Resources.h"

namespace dialog {

namespace {

RECT ToPixels(const State& state, int x, int y, int cx, int cy) {
    return RECT{ScaleUnits(x, state.unitX, 4), ScaleUnits(y, state.unitY, 8), ScaleUnits(x + cx, state.unitX, 4),
                ScaleUnits(y + cy, state.unitY, 8)};
}

// Fails the creation: what went wrong stays the last error.
HWND Fail(HWND hwnd, DWORD error) {
    if (hwnd) DestroyWindow(hwnd);
    SetLastError(error);
    return nullptr;
}

HWND CreateControls(HWND hwnd, HINSTANCE instance, const Template& t, const State& state, HFONT font) {
    for (const ItemTemplate& item : t.items) {
        WCHAR ordinalTitle[3] = {0xFFFF, item.title.ordinal, 0};
        LPCWSTR title = item.title.isOrdinal ? ordinalTitle : item.title.text.c_str();
        RECT r = ToPixels(state, item.x, item.y, item.cx, item.cy);
        HWND control = CreateWindowExW(item.exStyle, item.cls.AsClass(), title, (item.style | WS_CHILD) & ~WS_POPUP,
                                       r.left, r.top, r.right - r.left, r.bottom - r.top, hwnd,
                                       reinterpret_cast<HMENU>(static_cast<UINT_PTR>(item.id)), instance,
                                       const_cast<BYTE*>(item.creationData));
        if (!control) {
            if (t.style & DS_NOFAILCREATE) continue;
            DWORD error = GetLastError();
            return Fail(hwnd, error ? error : ERROR_CANNOT_FIND_WND_CLASS);
        }
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    return hwnd;
}

// The dialog window with its controls, after WM_INITDIALOG; shown when the
// template says so or the dialog is modal. Null with the last error set.
HWND Create(HINSTANCE instance, LPCDLGTEMPLATEW tmpl, HWND parent, DLGPROC proc, LPARAM param, bool modal,
            HWND disabledOwner) {
    Template t;
    const BYTE* data = reinterpret_cast<const BYTE*>(tmpl);
    if (!data) return Fail(nullptr, ERROR_INVALID_PARAMETER);
    if (!ParseTemplate(data, resources::BytesAfter(data), &t)) return Fail(nullptr, ERROR_INVALID_DATA);

    auto pending = std::make_shared<State>();
    pending->font = TemplateFont(t);
    pending->ownsFont = pending->font != nullptr;
    BaseUnitsOf(pending->font, &pending->unitX, &pending->unitY);

    // The template gives the client area; a bordered dialog adds its frame.
    RECT r = ToPixels(*pending, t.x, t.y, t.cx, t.cy);
    int frame = (t.style & (WS_BORDER | WS_DLGFRAME)) ? 2 : 0;
    int width = r.right - r.left + frame, height = r.bottom - r.top + frame;
    int x = r.left, y = r.top;
    bool child = (t.style & WS_CHILD) != 0;
    if (t.style & DS_CENTER) {
        x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
        y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    } else if (parent && !child) {
        POINT origin{0, 0};
        ClientToScreen(parent, &origin);
        x += origin.x;
        y += origin.y;
    }
    LPCWSTR cls = t.cls.isOrdinal || !t.cls.text.empty() ? t.cls.AsClass() : u"Dialog";
    HWND hwnd = CreateWindowExW(t.exStyle, cls, t.title.c_str(), t.style & ~WS_VISIBLE, x, y, width, height, parent,
                                nullptr, instance, nullptr);
    if (!hwnd) {
        if (pending->ownsFont) DeleteObject(pending->font);
        return nullptr;
    }
    std::shared_ptr<State> state = MakeState(hwnd);
    state->font = pending->font;
    state->ownsFont = pending->ownsFont;
    state->unitX = pending->unitX;
    state->unitY = pending->unitY;
    state->modal = modal;
    state->disabledOwner = disabledOwner;
    SetWindowLongPtrW(hwnd, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(state->font), FALSE);
    if (!CreateControls(hwnd, instance, t, *state, state->font)) return nullptr;

    HWND first = FirstTabStop(hwnd);
    // TRUE asks for the default focus, whatever the procedure did with it:
    // the first tab stop as it stands now (the procedure may have disabled
    // the one it was given). A procedure that sets the focus returns FALSE.
    if (SendMessageW(hwnd, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), param) && IsWindow(hwnd))
        FocusControl(hwnd, FirstTabStop(hwnd));
    if (!IsWindow(hwnd)) return Fail(nullptr, ERROR_INVALID_WINDOW_HANDLE);
    if (!state->ended && (modal || (t.style & WS_VISIBLE))) ShowWindow(hwnd, SW_SHOWNORMAL);
    return hwnd;
}

const DLGTEMPLATE* FindTemplate(HINSTANCE instance, LPCWSTR name) {
    HRSRC info = FindResourceW(instance, name, RT_DIALOG);
    HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
    return data ? static_cast<const DLGTEMPLATE*>(LockResource(data)) : nullptr;
}

HWND TopLevelOf(HWND hwnd) {
    int guard = 0;
    while (hwnd && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) && guard++ < 64) hwnd = GetParent(hwnd);
    return hwnd;
}

}  // namespace

}  // namespace dialog

using namespace dialog;

extern "C" HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                                  DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    return Create(hInstance, lpTemplate, hWndParent, lpDialogFunc, dwInitParam, false, nullptr);
}

extern "C" INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                                  DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    if (hWndParent && !IsWindow(hWndParent)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    HWND owner = TopLevelOf(hWndParent);
    HWND disabled = nullptr;
    if (owner && IsWindowEnabled(owner)) {
        EnableWindow(owner, FALSE);
        disabled = owner;
    }
    HWND hwnd = Create(hInstance, hDialogTemplate, owner, lpDialogFunc, dwInitParam, true, disabled);
    if (!hwnd) {
        DWORD error = GetLastError();
        if (disabled) EnableWindow(disabled, TRUE);
        SetLastError(error);
        return -1;
    }
    std::shared_ptr<State> state = StateOf(hwnd);
    HWND shown = nullptr;
    while (state && !state->ended && IsWindow(hwnd)) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // WM_QUIT ends the dialog and is left for the loop outside.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got < 0) break;
        if (!IsDialogMessageW(hwnd, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        // Wherever the focus went, the dialog shows it.
        HWND focus = GetFocus();
        if (focus != shown && IsWindow(hwnd) && IsChild(hwnd, focus)) ScrollIntoView(hwnd, focus);
        shown = focus;
    }
    INT_PTR result = state && state->ended ? state->result : 0;
    if (state && state->disabledOwner) {
        EnableWindow(state->disabledOwner, TRUE);
        state->disabledOwner = nullptr;
    }
    if (IsWindow(hwnd)) DestroyWindow(hwnd);
    return result;
}

extern "C" INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam) {
    const DLGTEMPLATE* tmpl = FindTemplate(hInstance, lpTemplateName);
    return tmpl ? DialogBoxIndirectParamW(hInstance, tmpl, hWndParent, lpDialogFunc, dwInitParam) : -1;
}

extern "C" BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult) {
    std::shared_ptr<State> state = StateOf(hDlg);
    if (!state) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    state->result = nResult;
    state->ended = true;
    // The owner is enabled before the dialog goes, so that it takes the
    // activation back.
    if (state->disabledOwner) {
        EnableWindow(state->disabledOwner, TRUE);
        state->disabledOwner = nullptr;
    }
    ShowWindow(hDlg, SW_HIDE);
    // Wakes the modal loop should it be waiting.
    PostMessageW(hDlg, WM_NULL, 0, 0);
    return TRUE;
}
