// Dialog base units: a template's font at the screen's resolution, its
// average character width and height, and MapDialogRect.
#include "user/Dialog.h"

namespace dialog {

namespace {

const WCHAR kDefaultFace[] = u"MS Shell Dlg";
const WCHAR kLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";

HFONT MakeFont(const WCHAR* face, int points) {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    LOGFONTW logfont{};
    logfont.lfHeight = -((points * dpi + 36) / 72);
    logfont.lfWeight = FW_NORMAL;
    for (size_t i = 0; face[i] && i + 1 < ARRAYSIZE(logfont.lfFaceName); ++i) logfont.lfFaceName[i] = face[i];
    return CreateFontIndirectW(&logfont);
}

}  // namespace

HFONT TemplateFont(const Template& t) {
    if ((t.style & DS_SETFONT) && t.pointSize && !t.face.empty()) return MakeFont(t.face.c_str(), t.pointSize);
    return MakeFont(kDefaultFace, 8);
}

void BaseUnitsOf(HFONT font, int* cx, int* cy) {
    *cx = 4;
    *cy = 8;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return;
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    TEXTMETRICW metrics{};
    if (GetTextExtentPoint32W(dc, kLetters, 52, &size) && size.cx > 0) *cx = (size.cx + 26) / 52;
    if (GetTextMetricsW(dc, &metrics) && metrics.tmHeight > 0) *cy = metrics.tmHeight;
    SelectObject(dc, old);
    DeleteDC(dc);
}

}  // namespace dialog

using namespace dialog;

extern "C" BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect) {
    std::shared_ptr<State> state = StateOf(hDlg);
    if (!state || !lpRect) {
        SetLastError(state ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    lpRect->left = ScaleUnits(lpRect->left, state->unitX, 4);
    lpRect->right = ScaleUnits(lpRect->right, state->unitX, 4);
    lpRect->top = ScaleUnits(lpRect->top, state->unitY, 8);
    lpRect->bottom = ScaleUnits(lpRect->bottom, state->unitY, 8);
    return TRUE;
}

extern "C" LONG WINAPI GetDialogBaseUnits(void) {
    HFONT font = static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
    int cx = 0, cy = 0;
    BaseUnitsOf(font, &cx, &cy);
    return MAKELONG(cx, cy);
}
