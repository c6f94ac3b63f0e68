// The bubble window's life: construction, creation of its children and
// drawing objects, placement, the message table and destruction.
#include "BubbleWindow.h"

#include "BubbleMessages.h"
#include "Exceptions.h"
#include "Scaling.h"
#include "resource.h"

#include <aygshell.h>
#include <htmlctrl.h>

#include <initializer_list>

namespace {

// The system colour index flag of the platform, ORed into the indexes read.
const int kSysColorFlag = 0x40000000;

// The bubble's rectangle: across the home window's height, less the
// bubble's own height, inset on both sides.
RECT BubbleRect(HWND homeWindow) {
    RECT home = {};
    if (!homeWindow || !GetWindowRect(homeWindow, &home)) home = RECT{};
    const int h = ScaleY(BubbleHeight());
    RECT r;
    r.left = ScaleX(3);
    r.top = (home.bottom - home.top) - h;
    r.right = r.left + (home.right - home.left) - 2 * ScaleX(3);
    r.bottom = r.top + h;
    return r;
}

// The HTML view's rectangle inside the bubble's client area.
RECT ViewRect(HWND bubble, BYTE highResolution) {
    RECT client = {};
    GetClientRect(bubble, &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    RECT r;
    if (highResolution) {
        r.left = ScaleX(3) / 2;
        r.right = r.left + w - ScaleX(3);
    } else {
        r.left = 2;
        r.right = r.left + w - 4;
    }
    r.top = ScaleY(18);
    r.bottom = r.top + h - ScaleY(18);
    return r;
}

// The menu bars in the order they are made, with the index each takes.
struct MenuBarOrder {
    UINT menu;
    int index;
};
const MenuBarOrder kMenuBars[] = {{IDR_MENU_REPORT, MenuBarReport},
                                  {IDR_MENU_MESSAGE, MenuBarMessage},
                                  {IDR_MENU_SUMMARY, MenuBarSummary},
                                  {IDR_MENU_VIEWFIRST, MenuBarViewFirst},
                                  {IDR_MENU_LOCKED, MenuBarLocked}};

}  // namespace

BubbleWindow::BubbleWindow(HINSTANCE instance, HWND homeWindow)
    : WindowBase(instance),
      highResolution_(1),
      currentMenuBar_(nullptr),
      htmlView_(nullptr),
      homeWindow_(homeWindow),
      framePen2_(nullptr),
      framePen3_(nullptr),
      bodyPen_(nullptr),
      bodyBrush_(nullptr),
      captionBrush_(nullptr),
      titleFont_(nullptr),
      count_(0),
      titleRect_(),
      item_(nullptr),
      shown_(0),
      showsPending_(0),
      coredll_(nullptr),
      unregisterFunc1_(nullptr),
      watchedStore_(nullptr),
      watchConnection_(0),
      watcher_(nullptr),
      watch_(0),
      lockInitialized_(false),
      windowBeneath_(nullptr) {
    for (HWND& bar : menuBars_) bar = nullptr;
}

BubbleWindow::~BubbleWindow() {
    DeleteNotificationItem(item_);
    item_ = nullptr;
    StopWatching();
    if (lockInitialized_) DeleteCriticalSection(&lock_);
}

BOOL BubbleWindow::Create() {
    RECT r = BubbleRect(homeWindow_);
    return CreateFrameWindow(WS_EX_ABOVESTARTUP, nullptr, BUBBLE_CLASS, nullptr, WS_CLIPSIBLINGS, r.left, r.top,
                             r.right - r.left, r.bottom - r.top);
}

LRESULT BubbleWindow::OnCreate(HWND hwnd, UINT, WPARAM, LPARAM) {
    InitializeCriticalSection(&lock_);
    lockInitialized_ = true;
    try {
        coredll_ = LoadLibraryW(TEXT("coredll.dll"));
        if (!coredll_) ThrowException(TEXT("Cannot load coredll.dll"));
        unregisterFunc1_ = reinterpret_cast<UnregisterFunc1Proc>(GetProcAddressW(coredll_, TEXT("UnregisterFunc1")));
        if (!unregisterFunc1_) ThrowException(TEXT("Cannot locate UnregisterFunc1"));
    } catch (Exception* e) {
        delete e;
        return 1;
    }

    for (const MenuBarOrder& order : kMenuBars) {
        SHMENUBARINFO info = {};
        info.cbSize = sizeof info;
        info.hwndParent = hwnd;
        info.dwFlags = SHCMBF_HIDDEN | SHCMBF_HMENU;
        info.nToolBarId = order.menu;
        info.hInstRes = instance_;
        if (!SHCreateMenuBar(&info)) return 1;
        menuBars_[order.index] = info.hwndMB;
        // Back has no default action and reaches the bubble as WM_HOTKEY.
        SendMessageW(info.hwndMB, SHCMBM_OVERRIDEKEY, VK_TBACK,
                     MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
    }

    LOGFONTW font = {};
    font.lfHeight = ScaleY(13);
    font.lfWeight = FW_BOLD;
    wcscpy(font.lfFaceName, TEXT("Tahoma"));
    titleFont_ = CreateFontIndirectW(&font);

    const COLORREF frame = GetSysColor(COLOR_WINDOWFRAME | kSysColorFlag);
    const COLORREF body = GetSysColor(COLOR_WINDOW | kSysColorFlag);
    const COLORREF caption = GetSysColor(COLOR_INACTIVECAPTION | kSysColorFlag);
    framePen3_ = CreatePen(PS_SOLID, ScaleX(3), frame);
    framePen2_ = CreatePen(PS_SOLID, 2, frame);
    bodyPen_ = CreatePen(PS_SOLID, 1, body);
    bodyBrush_ = CreateSolidBrush(body);
    captionBrush_ = CreateSolidBrush(caption);

    highResolution_ = ScaleX(100) != 100 ? 1 : 0;

    RECT view = ViewRect(hwnd, highResolution_);
    htmlView_ = CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE, view.left, view.top,
                                view.right - view.left, view.bottom - view.top, hwnd, nullptr, instance_, nullptr);
    if (!htmlView_) return 1;
    return 0;
}

LRESULT BubbleWindow::OnDestroy(HWND, UINT, WPARAM, LPARAM) {
    if (htmlView_) DestroyWindow(htmlView_);
    htmlView_ = nullptr;
    for (HWND& bar : menuBars_) {
        if (bar) DestroyWindow(bar);
        bar = nullptr;
    }
    currentMenuBar_ = nullptr;
    for (HGDIOBJ* object : {reinterpret_cast<HGDIOBJ*>(&framePen2_), reinterpret_cast<HGDIOBJ*>(&framePen3_),
                            reinterpret_cast<HGDIOBJ*>(&bodyPen_), reinterpret_cast<HGDIOBJ*>(&bodyBrush_),
                            reinterpret_cast<HGDIOBJ*>(&captionBrush_), reinterpret_cast<HGDIOBJ*>(&titleFont_)}) {
        if (*object) DeleteObject(*object);
        *object = nullptr;
    }
    PostQuitMessage(0);
    if (coredll_) FreeLibrary(coredll_);
    coredll_ = nullptr;
    unregisterFunc1_ = nullptr;
    return 0;
}

LRESULT BubbleWindow::OnActivate(HWND, UINT, WPARAM, LPARAM) { return 0; }

void BubbleWindow::PlaceBubble() {
    RECT r = BubbleRect(homeWindow_);
    SetWindowPos(hwnd_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT view = ViewRect(hwnd_, highResolution_);
    SetWindowPos(htmlView_, HWND_TOP, view.left, view.top, view.right - view.left, view.bottom - view.top,
                 SWP_NOZORDER);
}

LRESULT BubbleWindow::HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    try {
        LRESULT standard = DispatchStandard(hwnd, msg, wParam, lParam);
        if (standard == 0) return 0;
        switch (msg) {
            case WM_CREATE:
                return -1;  // OnCreate failed: the window is not made
            case WM_SETFOCUS:
                return 0;
            case WM_CLOSE:
                // Closed while shown (the module going away): the keys go
                // back first, or the shell's End and the utility's Home
                // would stay taken with nobody holding them.
                DismissBubble();
                DestroyWindow(hwnd);
                return 0;
            case WM_ERASEBKGND:
                return 1;  // painting covers the client area
            case WM_SETTINGCHANGE:
                if (wParam != SETTINGCHANGE_RESET) return 1;
                PlaceBubble();
                return 0;
            case WM_NOTIFY:
                return OnNotify(hwnd, wParam, lParam);
            case WM_KEYDOWN:
                return OnKeyDown(hwnd, wParam, lParam);
            case WM_HOTKEY:
                return OnHotKey(hwnd, wParam, lParam);
            case WM_BUBBLE_CLOSE:
                DismissBubble();
                return 1;
            case WM_BUBBLE_DISMISS:
                OnDismissNotice(wParam);
                return 1;
            case WM_BUBBLE_NOTIFY:
                AcceptNotification(wParam, lParam);
                return 1;
            case WM_BUBBLE_SHOWN:
                OnShown();
                return 0;
        }
    } catch (Exception* e) {
        // A failed store call ends this message's handling; the bubble stays as it was.
        delete e;
        return 1;
    } catch (...) {
        return 1;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
