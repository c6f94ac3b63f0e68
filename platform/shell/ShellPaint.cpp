// Painting helpers of the shell's windows.
#include "ShellLayout.h"
#include "ShellWindows.h"

namespace shell {

HFONT MakeFont(int height, bool bold) {
    LOGFONTW lf{};
    lf.lfHeight = -ScaleY(height);
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    wcscpy(lf.lfFaceName, u"Tahoma");
    return CreateFontIndirectW(&lf);
}

void DrawLine(HDC dc, LPCWSTR text, RECT rect, UINT format, COLORREF color, HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text, -1, &rect, format | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

void TimerForNextMinute(HWND hwnd) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    UINT ms = (60 - now.wSecond) * 1000 - now.wMilliseconds + 50;
    SetTimer(hwnd, 1, ms, nullptr);
}

}  // namespace shell
