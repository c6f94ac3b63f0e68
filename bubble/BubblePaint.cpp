// Painting the bubble: a rounded title bar over a copy of the window
// beneath (so the corners look cut out), the body, the frame and the title.
#include "BubbleWindow.h"

#include "Scaling.h"

namespace {
const int kSysColorFlag = 0x40000000;
}

LRESULT BubbleWindow::OnPaint(HWND hwnd, UINT, WPARAM, LPARAM) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r = {};
    GetClientRect(hwnd, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    const int strip = ScaleY(18);

    // The title strip's background is what lies beneath the bubble there.
    POINT p = {r.left, r.top};
    ClientToScreen(hwnd, &p);
    ScreenToClient(windowBeneath_, &p);
    HDC beneath = GetDC(windowBeneath_);
    HDC memory = CreateCompatibleDC(beneath);
    HBITMAP bitmap = CreateCompatibleBitmap(beneath, width, strip);
    HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, beneath, p.x, p.y, SRCCOPY);
    BitBlt(dc, r.left, r.top, width, strip, memory, 0, 0, SRCCOPY);
    SelectObject(memory, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(windowBeneath_, beneath);

    HGDIOBJ oldPen = SelectObject(dc, framePen2_);
    HGDIOBJ oldBrush = SelectObject(dc, captionBrush_);
    RoundRect(dc, r.left, r.top, r.right - 1, r.bottom, 2 * ScaleX(9), 2 * ScaleY(9));

    SelectObject(dc, bodyPen_);
    SelectObject(dc, bodyBrush_);
    Rectangle(dc, r.left + ScaleX(3) / 2, r.top + strip, r.right - ScaleY(3), r.bottom);

    SelectObject(dc, framePen3_);
    MoveToEx(dc, r.left, r.bottom, nullptr);
    LineTo(dc, r.left, r.top + ScaleY(9));
    MoveToEx(dc, r.left + ScaleX(9), r.top, nullptr);
    LineTo(dc, r.right - ScaleX(9), r.top);
    MoveToEx(dc, r.right, r.top + ScaleY(9), nullptr);
    LineTo(dc, r.right, r.bottom);

    // The top is 2 device pixels, unscaled.
    titleRect_ = RECT{ScaleX(9), 2, r.right - ScaleX(9), strip};
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT | kSysColorFlag));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, titleFont_);
    SelectObject(dc, GetStockObject(NULL_PEN));
    DrawTextW(dc, title_.Text() ? title_.Text() : TEXT(""), title_.Length(), &titleRect_,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    SelectObject(dc, oldFont);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    EndPaint(hwnd, &ps);
    return 0;
}
