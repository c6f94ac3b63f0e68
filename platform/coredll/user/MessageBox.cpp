// MessageBoxW: a modal box in front of everything (caption, the icon its
// type names, the text with its line breaks, and an "OK" soft key), run on
// the calling thread until Action, the left soft key or Back closes it.
// Messages sent to the thread are handled meanwhile. Every box is written
// to the log of outside effects when it opens and when it closes. Whatever
// buttons its type asks for, the phone's box offers OK alone and gives IDOK.
#include <HandedState.h>
#include <effect_log.h>
#include <windows.h>

#include <string>

namespace {

const WCHAR kClass[] = u"MessageBoxWindow";

struct BoxState {
    std::u16string caption;
    std::u16string text;
    HICON icon = nullptr;
    bool done = false;
};

platform::HandedState<BoxState> g_handed;

int ScaleToDpi(int value) {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return (value * dpi + 48) / 96;
}

HFONT BoxFont(bool bold) {
    LOGFONTW font = {};
    font.lfHeight = -ScaleToDpi(12);
    font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    wcscpy(font.lfFaceName, u"Tahoma");
    return CreateFontIndirectW(&font);
}

// The parts of the box, in client coordinates.
struct BoxLayout {
    RECT caption, icon, text, softKeys;
};

BoxLayout Layout(const RECT& client) {
    const int captionHeight = ScaleToDpi(20), keysHeight = ScaleToDpi(24), pad = ScaleToDpi(6);
    const int iconSize = GetSystemMetrics(SM_CXICON);
    BoxLayout layout;
    layout.caption = RECT{0, 0, client.right, captionHeight};
    layout.softKeys = RECT{0, client.bottom - keysHeight, client.right, client.bottom};
    layout.icon = RECT{pad, captionHeight + pad, pad + iconSize, captionHeight + pad + iconSize};
    layout.text = RECT{layout.icon.right + pad, captionHeight + pad, client.right - pad, layout.softKeys.top - pad};
    return layout;
}

void Paint(HWND hwnd, const BoxState& box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    BoxLayout layout = Layout(client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    FillRect(dc, &layout.caption, GetSysColorBrush(COLOR_ACTIVECAPTION));
    FillRect(dc, &layout.softKeys, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    HFONT bold = BoxFont(true), plain = BoxFont(false);
    HGDIOBJ old = SelectObject(dc, bold);
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    RECT caption = layout.caption;
    caption.left += ScaleToDpi(6);
    DrawTextW(dc, box.caption.c_str(), static_cast<int>(box.caption.size()), &caption,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (box.icon) DrawIcon(dc, layout.icon.left, layout.icon.top, box.icon);
    SelectObject(dc, plain);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = box.icon ? layout.text : RECT{layout.icon.left, layout.text.top, layout.text.right, layout.text.bottom};
    DrawTextW(dc, box.text.c_str(), static_cast<int>(box.text.size()), &text, DT_LEFT | DT_WORDBREAK);
    SelectObject(dc, bold);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    RECT key = layout.softKeys;
    key.left += ScaleToDpi(6);
    DrawTextW(dc, u"OK", 2, &key, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteObject(bold);
    DeleteObject(plain);
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK BoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    BoxState* box = reinterpret_cast<BoxState*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    switch (msg) {
        case WM_CREATE:
            SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(g_handed.Take(lParam)));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            if (box)
                Paint(hwnd, *box);
            else
                ValidateRect(hwnd, nullptr);
            return 0;
        case WM_KEYDOWN:
            // Action, the left soft key and Back close the box.
            if (box && (wParam == VK_RETURN || wParam == VK_TSOFT1 || wParam == VK_TBACK)) box->done = true;
            return 0;
        case WM_CLOSE:
            if (box) box->done = true;
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HICON IconOf(UINT type) {
    switch (type & MB_ICONMASK) {
        case MB_ICONHAND:
            return LoadIconW(nullptr, IDI_HAND);
        case MB_ICONQUESTION:
            return LoadIconW(nullptr, IDI_QUESTION);
        case MB_ICONEXCLAMATION:
            return LoadIconW(nullptr, IDI_EXCLAMATION);
        case MB_ICONASTERISK:
            return LoadIconW(nullptr, IDI_ASTERISK);
    }
    return nullptr;
}

// The box's height for its text, within the work area.
int BoxHeight(const std::u16string& text, int width, bool withIcon, const RECT& work) {
    const int iconSize = GetSystemMetrics(SM_CXICON);
    const int pad = ScaleToDpi(6);
    RECT measure = {0, 0, width - 3 * pad - (withIcon ? iconSize : 0), 0};
    HDC screen = GetDC(nullptr);
    HFONT font = BoxFont(false);
    HGDIOBJ old = SelectObject(screen, font);
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &measure, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    int body = measure.bottom - measure.top;
    if (withIcon && body < iconSize) body = iconSize;
    int height = ScaleToDpi(20) + ScaleToDpi(24) + body + 2 * pad;
    const int most = work.bottom - work.top;
    return height < most ? height : most;
}

}  // namespace

extern "C" int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
    static bool registered = [] {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = BoxProc;
        wc.lpszClassName = kClass;
        return RegisterClassW(&wc) != 0;
    }();
    if (!registered) return 0;

    BoxState box;
    box.caption = lpCaption ? lpCaption : u"Error";
    box.text = lpText ? lpText : u"";
    box.icon = IconOf(uType);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int margin = ScaleToDpi(4);
    const int width = work.right - work.left - 2 * margin;
    const int height = BoxHeight(box.text, width, box.icon != nullptr, work);
    const int top = work.top + (work.bottom - work.top - height) / 2;
    HWND previous = GetForegroundWindow();
    // The owner is disabled before the box can be seen, and the box is in
    // the log only once it exists.
    const bool ownerWasEnabled = hWnd && IsWindowEnabled(hWnd);
    if (ownerWasEnabled) EnableWindow(hWnd, FALSE);
    HWND window = CreateWindowExW(WS_EX_TOPMOST, kClass, box.caption.c_str(), WS_POPUP | WS_VISIBLE | WS_BORDER,
                                  work.left + margin, top, width, height, hWnd, nullptr, nullptr, g_handed.Hand(&box));
    g_handed.Withdraw(&box);
    if (!window) {
        if (ownerWasEnabled) EnableWindow(hWnd, TRUE);
        return 0;
    }
    const int64_t id = host::AppendEffect(
        host::effect::kMessageBox,
        {host::EffectField::Text("caption", box.caption), host::EffectField::Text("text", box.text),
         host::EffectField::Number("icon", static_cast<int64_t>(uType & MB_ICONMASK))});
    SetForegroundWindow(window);
    SetFocus(window);

    bool quit = false;
    int quitCode = 0;
    MSG msg;
    while (!box.done) {
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            // A quit ends the box and is handed on to the thread's own loop.
            quit = true;
            quitCode = static_cast<int>(msg.wParam);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (ownerWasEnabled) EnableWindow(hWnd, TRUE);
    DestroyWindow(window);
    if (previous && IsWindow(previous)) SetForegroundWindow(previous);
    if (id) host::AppendEffect(host::effect::kMessageBoxClosed, {host::EffectField::Number("box", id)});
    if (quit) PostQuitMessage(quitCode);
    return IDOK;
}
