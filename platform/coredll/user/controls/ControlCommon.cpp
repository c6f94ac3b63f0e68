// What the standard controls share: their class shape, notifications to the
// parent, the font and the colours they draw with.
#include "user/controls/Controls.h"

namespace controls {

WNDCLASSW ControlClass(LPCWSTR name, WNDPROC proc) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.cbWndExtra = sizeof(LONG_PTR);
    wc.lpszClassName = name;
    return wc;
}

std::vector<WNDCLASSW> SystemClasses() {
    return {ButtonClass(), StaticClass(), EditClass(), ListBoxClass(), ComboBoxClass()};
}

void NotifyParent(HWND control, WORD code) {
    HWND parent = GetParent(control);
    if (!parent) return;
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

HFONT FontOr(HFONT chosen) { return chosen ? chosen : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)); }

HBRUSH ControlColors(HWND control, UINT ctlColor, HDC dc, int background, int text) {
    SetTextColor(dc, GetSysColor(text));
    SetBkColor(dc, GetSysColor(background));
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(
            SendMessageW(parent, ctlColor, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
    // Only a real brush counts: a dialog procedure answers FALSE for what it
    // does not handle.
    if (!brush || GetObjectType(brush) != OBJ_BRUSH) {
        SetTextColor(dc, GetSysColor(text));
        SetBkColor(dc, GetSysColor(background));
        brush = GetSysColorBrush(background);
    }
    return brush;
}

bool IsEnabled(HWND hwnd) { return IsWindowEnabled(hwnd) != FALSE; }

bool HasStyle(HWND hwnd, DWORD bits) { return (static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & bits) != 0; }

WPARAM DlgCodeKey(LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (!msg || msg->message != WM_KEYDOWN) return 0;
    return msg->wParam;
}

int LineHeight(HDC dc) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    return tm.tmHeight > 0 ? tm.tmHeight : 12;
}

}  // namespace controls
