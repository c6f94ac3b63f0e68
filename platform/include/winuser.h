// The window manager of coredll: window classes, windows, messages and
// their queues, focus and activation, keyboard input and hotkeys, timers,
// painting entry points and system metrics, as Windows CE has them.
#pragma once

#include <windef.h>
#include <stdarg.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

#define MAKEINTATOM(i) ((LPCWSTR)((ULONG_PTR)((WORD)(i))))

// --- Window classes ------------------------------------------------------
#define CS_VREDRAW     0x0001
#define CS_HREDRAW     0x0002
#define CS_DBLCLKS     0x0008
#define CS_PARENTDC    0x0080
#define CS_GLOBALCLASS 0x4000
#define CS_NOCLOSE     0x0200

typedef struct tagWNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
} WNDCLASSW, *PWNDCLASSW, *LPWNDCLASSW;
typedef WNDCLASSW WNDCLASS;

// Window extra bytes of the system class "Dialog": the message result, the
// dialog procedure and the user slot (DWL_*), each pointer-wide here.
#define DLGWINDOWEXTRA 30

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass);
BOOL WINAPI UnregisterClassW(LPCWSTR lpClassName, HINSTANCE hInstance);
BOOL WINAPI GetClassInfoW(HINSTANCE hInstance, LPCWSTR lpClassName, LPWNDCLASSW lpWndClass);
int WINAPI GetClassNameW(HWND hWnd, LPWSTR lpClassName, int nMaxCount);

// --- Window styles -------------------------------------------------------
#define WS_OVERLAPPED       0x00000000L
#define WS_POPUP            0x80000000L
#define WS_CHILD            0x40000000L
#define WS_VISIBLE          0x10000000L
#define WS_DISABLED         0x08000000L
#define WS_CLIPSIBLINGS     0x04000000L
#define WS_CLIPCHILDREN     0x02000000L
#define WS_CAPTION          0x00C00000L
#define WS_BORDER           0x00800000L
#define WS_DLGFRAME         0x00400000L
#define WS_VSCROLL          0x00200000L
#define WS_HSCROLL          0x00100000L
#define WS_SYSMENU          0x00080000L
#define WS_THICKFRAME       0x00040000L
#define WS_GROUP            0x00020000L
#define WS_TABSTOP          0x00010000L
#define WS_MINIMIZEBOX      0x00020000L
#define WS_MAXIMIZEBOX      0x00010000L
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME)
#define WS_POPUPWINDOW      (WS_POPUP | WS_BORDER | WS_SYSMENU)
#define WS_CHILDWINDOW      WS_CHILD

#define WS_EX_DLGMODALFRAME   0x00000001L
#define WS_EX_TOPMOST         0x00000008L
#define WS_EX_TRANSPARENT     0x00000020L
#define WS_EX_TOOLWINDOW      0x00000080L
#define WS_EX_WINDOWEDGE      0x00000100L
#define WS_EX_CLIENTEDGE      0x00000200L
#define WS_EX_CONTEXTHELP     0x00000400L
#define WS_EX_RIGHT           0x00001000L
#define WS_EX_RTLREADING      0x00002000L
#define WS_EX_LEFTSCROLLBAR   0x00004000L
#define WS_EX_CONTROLPARENT   0x00010000L
#define WS_EX_STATICEDGE      0x00020000L
#define WS_EX_APPWINDOW       0x00040000L
#define WS_EX_NOINHERITLAYOUT 0x00100000L
#define WS_EX_LAYOUTRTL       0x00400000L
#define WS_EX_NOANIMATION     0x04000000L
#define WS_EX_NOACTIVATE      0x08000000L
#define WS_EX_INK             0x10000000L
// Above the shell's startup layer (the home screen and the programs over
// it), below WS_EX_TOPMOST windows.
#define WS_EX_ABOVESTARTUP     0x20000000L
#define WS_EX_NODRAG           0x40000000L
#define WS_EX_CAPTIONOKBTN     0x80000000L
#define WS_EX_OVERLAPPEDWINDOW (WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE)

#define CW_USEDEFAULT ((int)0x80000000)

// --- Windows -------------------------------------------------------------
typedef struct tagCREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
} CREATESTRUCTW, *LPCREATESTRUCTW;
typedef CREATESTRUCTW CREATESTRUCT;

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND hWndParent, HMENU hMenu, HINSTANCE hInstance, LPVOID lpParam);
#define CreateWindowW(cls, name, style, x, y, w, h, parent, menu, inst, param) \
    CreateWindowExW(0, cls, name, style, x, y, w, h, parent, menu, inst, param)
BOOL WINAPI DestroyWindow(HWND hWnd);
BOOL WINAPI IsWindow(HWND hWnd);
BOOL WINAPI IsWindowVisible(HWND hWnd);
BOOL WINAPI IsWindowEnabled(HWND hWnd);
BOOL WINAPI EnableWindow(HWND hWnd, BOOL bEnable);
BOOL WINAPI IsChild(HWND hWndParent, HWND hWnd);
HWND WINAPI GetParent(HWND hWnd);
HWND WINAPI SetParent(HWND hWndChild, HWND hWndNewParent);
HWND WINAPI GetDesktopWindow(void);
HWND WINAPI FindWindowW(LPCWSTR lpClassName, LPCWSTR lpWindowName);
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
int WINAPI GetDlgCtrlID(HWND hWnd);
DWORD WINAPI GetWindowThreadProcessId(HWND hWnd, LPDWORD lpdwProcessId);

#define GW_HWNDFIRST 0
#define GW_HWNDLAST  1
#define GW_HWNDNEXT  2
#define GW_HWNDPREV  3
#define GW_OWNER     4
#define GW_CHILD     5
HWND WINAPI GetWindow(HWND hWnd, UINT uCmd);

// Window slots. Non-negative indexes read the window's extra bytes.
#define GWL_WNDPROC    (-4)
#define GWL_HINSTANCE  (-6)
#define GWL_ID         (-12)
#define GWL_STYLE      (-16)
#define GWL_EXSTYLE    (-20)
#define GWL_USERDATA   (-21)
#define GWLP_WNDPROC   GWL_WNDPROC
#define GWLP_HINSTANCE GWL_HINSTANCE
#define GWLP_ID        GWL_ID
#define GWLP_USERDATA  GWL_USERDATA
// The dialog slots, at pointer-wide offsets within DLGWINDOWEXTRA.
#define DWL_MSGRESULT  0
#define DWL_DLGPROC    ((int)sizeof(LRESULT))
#define DWL_USER       ((int)(sizeof(LRESULT) + sizeof(void*)))
#define DWLP_MSGRESULT DWL_MSGRESULT
#define DWLP_DLGPROC   DWL_DLGPROC
#define DWLP_USER      DWL_USER

LONG WINAPI GetWindowLongW(HWND hWnd, int nIndex);
LONG WINAPI SetWindowLongW(HWND hWnd, int nIndex, LONG dwNewLong);
LONG_PTR WINAPI GetWindowLongPtrW(HWND hWnd, int nIndex);
LONG_PTR WINAPI SetWindowLongPtrW(HWND hWnd, int nIndex, LONG_PTR dwNewLong);

int WINAPI GetWindowTextW(HWND hWnd, LPWSTR lpString, int nMaxCount);
int WINAPI GetWindowTextLengthW(HWND hWnd);
BOOL WINAPI SetWindowTextW(HWND hWnd, LPCWSTR lpString);

// --- Position, size and z-order --------------------------------------------
BOOL WINAPI GetWindowRect(HWND hWnd, LPRECT lpRect);
BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect);
BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint);
BOOL WINAPI ScreenToClient(HWND hWnd, LPPOINT lpPoint);
int WINAPI MapWindowPoints(HWND hWndFrom, HWND hWndTo, LPPOINT lpPoints, UINT cPoints);

#define HWND_TOP       ((HWND)0)
#define HWND_BOTTOM    ((HWND)1)
#define HWND_TOPMOST   ((HWND)-1)
#define HWND_NOTOPMOST ((HWND)-2)
#define HWND_BROADCAST ((HWND)0xffff)

#define SWP_NOSIZE         0x0001
#define SWP_NOMOVE         0x0002
#define SWP_NOZORDER       0x0004
#define SWP_NOREDRAW       0x0008
#define SWP_NOACTIVATE     0x0010
#define SWP_FRAMECHANGED   0x0020
#define SWP_SHOWWINDOW     0x0040
#define SWP_HIDEWINDOW     0x0080
#define SWP_NOCOPYBITS     0x0100
#define SWP_NOOWNERZORDER  0x0200
#define SWP_NOSENDCHANGING 0x0400
#define SWP_DRAWFRAME      SWP_FRAMECHANGED
#define SWP_NOREPOSITION   SWP_NOOWNERZORDER

typedef struct tagWINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
} WINDOWPOS, *LPWINDOWPOS, *PWINDOWPOS;

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
BOOL WINAPI BringWindowToTop(HWND hWnd);

typedef HANDLE HDWP;
HDWP WINAPI BeginDeferWindowPos(int nNumWindows);
HDWP WINAPI DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                           UINT uFlags);
BOOL WINAPI EndDeferWindowPos(HDWP hWinPosInfo);

#define SW_HIDE            0
#define SW_SHOWNORMAL      1
#define SW_NORMAL          1
#define SW_SHOWMINIMIZED   2
#define SW_SHOWMAXIMIZED   3
#define SW_MAXIMIZE        3
#define SW_SHOWNOACTIVATE  4
#define SW_SHOW            5
#define SW_MINIMIZE        6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA          8
#define SW_RESTORE         9
BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow);

// --- Messages ------------------------------------------------------------
#define WM_NULL                 0x0000
#define WM_CREATE               0x0001
#define WM_DESTROY              0x0002
#define WM_MOVE                 0x0003
#define WM_SIZE                 0x0005
#define WM_ACTIVATE             0x0006
#define WM_SETFOCUS             0x0007
#define WM_KILLFOCUS            0x0008
#define WM_ENABLE               0x000A
#define WM_SETREDRAW            0x000B
#define WM_SETTEXT              0x000C
#define WM_GETTEXT              0x000D
#define WM_GETTEXTLENGTH        0x000E
#define WM_PAINT                0x000F
#define WM_CLOSE                0x0010
#define WM_QUIT                 0x0012
#define WM_ERASEBKGND           0x0014
#define WM_SYSCOLORCHANGE       0x0015
#define WM_SHOWWINDOW           0x0018
#define WM_SETTINGCHANGE        0x001A
#define WM_WININICHANGE         WM_SETTINGCHANGE
#define WM_FONTCHANGE           0x001D
#define WM_CANCELMODE           0x001F
#define WM_SETCURSOR            0x0020
#define WM_MOUSEACTIVATE        0x0021
#define WM_DRAWITEM             0x002B
#define WM_MEASUREITEM          0x002C
#define WM_DELETEITEM           0x002D
#define WM_VKEYTOITEM           0x002E
#define WM_CHARTOITEM           0x002F
#define WM_SETFONT              0x0030
#define WM_GETFONT              0x0031
#define WM_NEXTDLGCTL           0x0028
#define WM_COMPAREITEM          0x0039
#define WM_WINDOWPOSCHANGED     0x0047
#define WM_NOTIFY               0x004E
#define WM_HELP                 0x0053
#define WM_STYLECHANGED         0x007D
#define WM_GETICON              0x007F
#define WM_SETICON              0x0080
#define WM_NCCREATE             0x0081
#define WM_NCDESTROY            0x0082
#define WM_GETDLGCODE           0x0087
#define WM_KEYFIRST             0x0100
#define WM_KEYDOWN              0x0100
#define WM_KEYUP                0x0101
#define WM_CHAR                 0x0102
#define WM_DEADCHAR             0x0103
#define WM_SYSKEYDOWN           0x0104
#define WM_SYSKEYUP             0x0105
#define WM_SYSCHAR              0x0106
#define WM_SYSDEADCHAR          0x0107
#define WM_KEYLAST              0x0108
#define WM_IME_STARTCOMPOSITION 0x010D
#define WM_INITDIALOG           0x0110
#define WM_COMMAND              0x0111
#define WM_SYSCOMMAND           0x0112
#define WM_TIMER                0x0113
#define WM_HSCROLL              0x0114
#define WM_VSCROLL              0x0115
#define WM_INITMENUPOPUP        0x0117
#define WM_MENUCHAR             0x0120
#define WM_ENTERIDLE            0x0121
#define WM_CTLCOLORMSGBOX       0x0132
#define WM_CTLCOLOREDIT         0x0133
#define WM_CTLCOLORLISTBOX      0x0134
#define WM_CTLCOLORBTN          0x0135
#define WM_CTLCOLORDLG          0x0136
#define WM_CTLCOLORSCROLLBAR    0x0137
#define WM_CTLCOLORSTATIC       0x0138
#define WM_MOUSEFIRST           0x0200
#define WM_MOUSEMOVE            0x0200
#define WM_LBUTTONDOWN          0x0201
#define WM_LBUTTONUP            0x0202
#define WM_LBUTTONDBLCLK        0x0203
#define WM_MOUSELAST            0x0209
#define WM_PARENTNOTIFY         0x0210
#define WM_ENTERMENULOOP        0x0211
#define WM_EXITMENULOOP         0x0212
#define WM_CAPTURECHANGED       0x0215
#define WM_CUT                  0x0300
#define WM_COPY                 0x0301
#define WM_PASTE                0x0302
#define WM_CLEAR                0x0303
#define WM_UNDO                 0x0304
#define WM_HOTKEY               0x0312
#define WM_PRINT                0x0317
#define WM_PRINTCLIENT          0x0318
#define WM_APP                  0x8000
#define WM_USER                 0x0400

// WM_ACTIVATE
#define WA_INACTIVE    0
#define WA_ACTIVE      1
#define WA_CLICKACTIVE 2

// WM_SIZE
#define SIZE_RESTORED  0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// WM_SETTINGCHANGE: sent with this wParam after the screen was rotated.
#define SETTINGCHANGE_RESET 0x3002

typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *PMSG, *LPMSG;

typedef struct tagNMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
} NMHDR, *LPNMHDR;

#define PM_NOREMOVE 0x0000
#define PM_REMOVE   0x0001
#define PM_NOYIELD  0x0002

BOOL WINAPI GetMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL WINAPI PeekMessageW(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
BOOL WINAPI TranslateMessage(const MSG* lpMsg);
LRESULT WINAPI DispatchMessageW(const MSG* lpMsg);
BOOL WINAPI WaitMessage(void);
BOOL WINAPI PostMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI PostThreadMessageW(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
void WINAPI PostQuitMessage(int nExitCode);
LRESULT WINAPI SendMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI SendNotifyMessageW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI DefWindowProcW(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
LRESULT WINAPI CallWindowProcW(WNDPROC lpPrevWndFunc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// Queue status
#define QS_KEY         0x0001
#define QS_MOUSEMOVE   0x0002
#define QS_MOUSEBUTTON 0x0004
#define QS_POSTMESSAGE 0x0008
#define QS_TIMER       0x0010
#define QS_PAINT       0x0020
#define QS_SENDMESSAGE 0x0040
#define QS_INPUT       (QS_MOUSEMOVE | QS_MOUSEBUTTON | QS_KEY)
#define QS_ALLEVENTS   (QS_INPUT | QS_POSTMESSAGE | QS_TIMER | QS_PAINT)
#define QS_ALLINPUT    (QS_SENDMESSAGE | QS_ALLEVENTS)
DWORD WINAPI GetQueueStatus(UINT flags);

// --- Timers --------------------------------------------------------------
UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// --- Focus and activation ----------------------------------------------------
HWND WINAPI SetFocus(HWND hWnd);
HWND WINAPI GetFocus(void);
HWND WINAPI SetActiveWindow(HWND hWnd);
HWND WINAPI GetActiveWindow(void);
BOOL WINAPI SetForegroundWindow(HWND hWnd);
HWND WINAPI GetForegroundWindow(void);

// --- Keyboard ------------------------------------------------------------
#define VK_LBUTTON   0x01
#define VK_RBUTTON   0x02
#define VK_CANCEL    0x03
#define VK_BACK      0x08
#define VK_TAB       0x09
#define VK_CLEAR     0x0C
#define VK_RETURN    0x0D
#define VK_SHIFT     0x10
#define VK_CONTROL   0x11
#define VK_MENU      0x12
#define VK_PAUSE     0x13
#define VK_CAPITAL   0x14
#define VK_ESCAPE    0x1B
#define VK_SPACE     0x20
#define VK_PRIOR     0x21
#define VK_NEXT      0x22
#define VK_END       0x23
#define VK_HOME      0x24
#define VK_LEFT      0x25
#define VK_UP        0x26
#define VK_RIGHT     0x27
#define VK_DOWN      0x28
#define VK_SELECT    0x29
#define VK_PRINT     0x2A
#define VK_EXECUTE   0x2B
#define VK_SNAPSHOT  0x2C
#define VK_INSERT    0x2D
#define VK_DELETE    0x2E
#define VK_HELP      0x2F
#define VK_LWIN      0x5B
#define VK_RWIN      0x5C
#define VK_APPS      0x5D
#define VK_SLEEP     0x5F
#define VK_NUMPAD0   0x60
#define VK_NUMPAD9   0x69
#define VK_MULTIPLY  0x6A
#define VK_ADD       0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT  0x6D
#define VK_DECIMAL   0x6E
#define VK_DIVIDE    0x6F
#define VK_F1        0x70
#define VK_F2        0x71
#define VK_F3        0x72
#define VK_F4        0x73
#define VK_F5        0x74
#define VK_F6        0x75
#define VK_F7        0x76
#define VK_F8        0x77
#define VK_F9        0x78
#define VK_F10       0x79
#define VK_F11       0x7A
#define VK_F12       0x7B
#define VK_F24       0x87
#define VK_NUMLOCK   0x90
#define VK_SCROLL    0x91
#define VK_LSHIFT    0xA0
#define VK_RSHIFT    0xA1
#define VK_LCONTROL  0xA2
#define VK_RCONTROL  0xA3
#define VK_LMENU     0xA4
#define VK_RMENU     0xA5

// The phone's keys, as the Smartphone keypad reports them.
#define VK_TSOFT1      VK_F1
#define VK_TSOFT2      VK_F2
#define VK_TTALK       VK_F3
#define VK_TEND        VK_F4
#define VK_THOME       VK_LWIN
#define VK_TBACK       VK_ESCAPE
#define VK_TACTION     VK_RETURN
#define VK_TUP         VK_UP
#define VK_TDOWN       VK_DOWN
#define VK_TLEFT       VK_LEFT
#define VK_TRIGHT      VK_RIGHT
#define VK_TSTAR       VK_F8
#define VK_TPOUND      VK_F9
#define VK_TRECORD     VK_F10
#define VK_TFLIP       VK_F17
#define VK_TPOWER      VK_F18
#define VK_TVOLUMEUP   VK_F6
#define VK_TVOLUMEDOWN VK_F7
#define VK_F17         0x80
#define VK_F18         0x81

#define KEYEVENTF_EXTENDEDKEY 0x0001
#define KEYEVENTF_KEYUP       0x0002
#define KEYEVENTF_SILENT      0x0004

void WINAPI keybd_event(BYTE bVk, BYTE bScan, DWORD dwFlags, DWORD dwExtraInfo);
// 0x8000 while the key is down (and, as this phone reports it, 0x1000 with
// it); 0x0001 when it was pressed since the previous query.
SHORT WINAPI GetAsyncKeyState(int vKey);
// 0x8000 while down, 0x0001 when toggled.
SHORT WINAPI GetKeyState(int nVirtKey);

// --- Hotkeys -------------------------------------------------------------
#define MOD_ALT     0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT   0x0004
#define MOD_WIN     0x0008
// The registration also fires on release; the WM_HOTKEY of the release
// carries MOD_KEYUP in its modifiers.
#define MOD_KEYUP 0x1000

#define IDHOT_SNAPWINDOW  (-1)
#define IDHOT_SNAPDESKTOP (-2)

BOOL WINAPI RegisterHotKey(HWND hWnd, int id, UINT fsModifiers, UINT vk);
BOOL WINAPI UnregisterHotKey(HWND hWnd, int id);

// --- Painting --------------------------------------------------------------
typedef struct tagPAINTSTRUCT {
    HDC hdc;
    BOOL fErase;
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
} PAINTSTRUCT, *PPAINTSTRUCT, *LPPAINTSTRUCT;

HDC WINAPI BeginPaint(HWND hWnd, LPPAINTSTRUCT lpPaint);
BOOL WINAPI EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
BOOL WINAPI InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL WINAPI ValidateRect(HWND hWnd, const RECT* lpRect);
BOOL WINAPI GetUpdateRect(HWND hWnd, LPRECT lpRect, BOOL bErase);
BOOL WINAPI UpdateWindow(HWND hWnd);
HDC WINAPI GetDC(HWND hWnd);
HDC WINAPI GetWindowDC(HWND hWnd);
int WINAPI ReleaseDC(HWND hWnd, HDC hDC);

// --- Rectangles ------------------------------------------------------------
BOOL WINAPI EqualRect(const RECT* lprc1, const RECT* lprc2);

// --- System metrics and parameters -----------------------------------------------
#define SM_CXSCREEN        0
#define SM_CYSCREEN        1
#define SM_CXVSCROLL       2
#define SM_CYHSCROLL       3
#define SM_CYCAPTION       4
#define SM_CXBORDER        5
#define SM_CYBORDER        6
#define SM_CXDLGFRAME      7
#define SM_CYDLGFRAME      8
#define SM_CYVTHUMB        9
#define SM_CXHTHUMB        10
#define SM_CXICON          11
#define SM_CYICON          12
#define SM_CXCURSOR        13
#define SM_CYCURSOR        14
#define SM_CYMENU          15
#define SM_CXFULLSCREEN    16
#define SM_CYFULLSCREEN    17
#define SM_CYVSCROLL       20
#define SM_CXHSCROLL       21
#define SM_DEBUG           22
#define SM_CXDOUBLECLK     36
#define SM_CYDOUBLECLK     37
#define SM_CXICONSPACING   38
#define SM_CYICONSPACING   39
#define SM_CXFIXEDFRAME    SM_CXDLGFRAME
#define SM_CYFIXEDFRAME    SM_CYDLGFRAME
#define SM_CXEDGE          45
#define SM_CYEDGE          46
#define SM_CXSMICON        49
#define SM_CYSMICON        50
#define SM_MOUSEPRESENT    19
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
int WINAPI GetSystemMetrics(int nIndex);

#define SPI_SETWORKAREA    47
#define SPI_GETWORKAREA    48
#define SPIF_UPDATEINIFILE 0x0001
#define SPIF_SENDCHANGE    0x0002
BOOL WINAPI SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni);

#define CreateWindowEx       CreateWindowExW
#define CreateWindow         CreateWindowW
#define RegisterClass        RegisterClassW
#define UnregisterClass      UnregisterClassW
#define GetClassInfo         GetClassInfoW
#define GetClassName         GetClassNameW
#define FindWindow           FindWindowW
#define GetWindowLong        GetWindowLongW
#define SetWindowLong        SetWindowLongW
#define GetWindowLongPtr     GetWindowLongPtrW
#define SetWindowLongPtr     SetWindowLongPtrW
#define GetWindowText        GetWindowTextW
#define GetWindowTextLength  GetWindowTextLengthW
#define SetWindowText        SetWindowTextW
#define GetMessage           GetMessageW
#define PeekMessage          PeekMessageW
#define DispatchMessage      DispatchMessageW
#define PostMessage          PostMessageW
#define PostThreadMessage    PostThreadMessageW
#define SendMessage          SendMessageW
#define SendNotifyMessage    SendNotifyMessageW
#define DefWindowProc        DefWindowProcW
#define CallWindowProc       CallWindowProcW
#define SystemParametersInfo SystemParametersInfoW

// --- Resources ---------------------------------------------------------------
#define IS_INTRESOURCE(r)   ((((ULONG_PTR)(r)) >> 16) == 0)
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE     MAKEINTRESOURCEW

#define RT_CURSOR       MAKEINTRESOURCE(1)
#define RT_BITMAP       MAKEINTRESOURCE(2)
#define RT_ICON         MAKEINTRESOURCE(3)
#define RT_MENU         MAKEINTRESOURCE(4)
#define RT_DIALOG       MAKEINTRESOURCE(5)
#define RT_STRING       MAKEINTRESOURCE(6)
#define RT_FONTDIR      MAKEINTRESOURCE(7)
#define RT_FONT         MAKEINTRESOURCE(8)
#define RT_ACCELERATOR  MAKEINTRESOURCE(9)
#define RT_RCDATA       MAKEINTRESOURCE(10)
#define RT_MESSAGETABLE MAKEINTRESOURCE(11)
#define RT_GROUP_CURSOR MAKEINTRESOURCE(12)
#define RT_GROUP_ICON   MAKEINTRESOURCE(14)
#define RT_VERSION      MAKEINTRESOURCE(16)

int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int nBufferMax);
HBITMAP WINAPI LoadBitmapW(HINSTANCE hInstance, LPCWSTR lpBitmapName);

// Icons
#define IDI_APPLICATION MAKEINTRESOURCE(32512)
#define IDI_HAND        MAKEINTRESOURCE(32513)
#define IDI_QUESTION    MAKEINTRESOURCE(32514)
#define IDI_EXCLAMATION MAKEINTRESOURCE(32515)
#define IDI_ASTERISK    MAKEINTRESOURCE(32516)
#define IDI_WINLOGO     MAKEINTRESOURCE(32517)
#define IDI_WARNING     IDI_EXCLAMATION
#define IDI_ERROR       IDI_HAND
#define IDI_INFORMATION IDI_ASTERISK

#define DI_MASK   0x0001
#define DI_IMAGE  0x0002
#define DI_NORMAL 0x0003

typedef struct _ICONINFO {
    BOOL fIcon;
    DWORD xHotspot;
    DWORD yHotspot;
    HBITMAP hbmMask;
    HBITMAP hbmColor;
} ICONINFO, *PICONINFO;

// LoadIconW takes, from an icon group, the image nearest the system's icon
// size and keeps the image's own size; DrawIcon draws it at that size.
HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName);
BOOL WINAPI DestroyIcon(HICON hIcon);
BOOL WINAPI DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                       HBRUSH hbrFlickerFreeDraw, UINT diFlags);
#define DrawIcon(hdc, x, y, hicon) DrawIconEx((hdc), (x), (y), (hicon), 0, 0, 0, NULL, DI_NORMAL)
BOOL WINAPI GetIconInfo(HICON hIcon, PICONINFO piconinfo);

#define LoadString LoadStringW
#define LoadBitmap LoadBitmapW
#define LoadIcon   LoadIconW

// --- Menus: built from RT_MENU resources or item by item, and read back -------
#define MF_INSERT       0x00000000
#define MF_ENABLED      0x00000000
#define MF_UNCHECKED    0x00000000
#define MF_STRING       0x00000000
#define MF_BYCOMMAND    0x00000000
#define MF_GRAYED       0x00000001
#define MF_DISABLED     0x00000002
#define MF_BITMAP       0x00000004
#define MF_CHECKED      0x00000008
#define MF_POPUP        0x00000010
#define MF_MENUBARBREAK 0x00000020
#define MF_MENUBREAK    0x00000040
#define MF_HILITE       0x00000080
#define MF_OWNERDRAW    0x00000100
#define MF_BYPOSITION   0x00000400
#define MF_SEPARATOR    0x00000800
#define MF_DEFAULT      0x00001000
#define MF_END          0x00000080

#define MFT_STRING       MF_STRING
#define MFT_BITMAP       MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK    MF_MENUBREAK
#define MFT_OWNERDRAW    MF_OWNERDRAW
#define MFT_RADIOCHECK   0x00000200
#define MFT_SEPARATOR    MF_SEPARATOR
#define MFS_GRAYED       0x00000003
#define MFS_DISABLED     MFS_GRAYED
#define MFS_CHECKED      MF_CHECKED
#define MFS_HILITE       MF_HILITE
#define MFS_ENABLED      MF_ENABLED
#define MFS_UNCHECKED    MF_UNCHECKED
#define MFS_DEFAULT      MF_DEFAULT

#define MIIM_STATE      0x00000001
#define MIIM_ID         0x00000002
#define MIIM_SUBMENU    0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE       0x00000010
#define MIIM_DATA       0x00000020
#define MIIM_STRING     0x00000040

typedef struct tagMENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
} MENUITEMINFOW, *LPMENUITEMINFOW;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;
typedef MENUITEMINFOW MENUITEMINFO;

HMENU WINAPI LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName);
HMENU WINAPI CreateMenu(void);
HMENU WINAPI CreatePopupMenu(void);
BOOL WINAPI DestroyMenu(HMENU hMenu);
BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
int WINAPI GetMenuItemCount(HMENU hMenu);
UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos);
HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos);
BOOL WINAPI GetMenuItemInfoW(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOW lpmii);
UINT WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);

#define LoadMenu        LoadMenuW
#define AppendMenu      AppendMenuW
#define InsertMenu      InsertMenuW
#define GetMenuItemInfo GetMenuItemInfoW
// --- The standard controls: BUTTON, STATIC, EDIT, LISTBOX, COMBOBOX ------------
// A control tells its parent what happened with WM_COMMAND, wParam
// MAKEWPARAM(id, notification), lParam the control. WM_GETDLGCODE (lParam
// the key message, when there is one) says which keys the control handles
// itself, so that the dialog manager leaves them to it.
#define DLGC_WANTARROWS      0x0001
#define DLGC_WANTTAB         0x0002
#define DLGC_WANTALLKEYS     0x0004
#define DLGC_WANTMESSAGE     0x0004
#define DLGC_HASSETSEL       0x0008
#define DLGC_DEFPUSHBUTTON   0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON     0x0040
#define DLGC_WANTCHARS       0x0080
#define DLGC_STATIC          0x0100
#define DLGC_BUTTON          0x2000

#define BS_PUSHBUTTON      0x00000000L
#define BS_DEFPUSHBUTTON   0x00000001L
#define BS_CHECKBOX        0x00000002L
#define BS_AUTOCHECKBOX    0x00000003L
#define BS_RADIOBUTTON     0x00000004L
#define BS_3STATE          0x00000005L
#define BS_AUTO3STATE      0x00000006L
#define BS_GROUPBOX        0x00000007L
#define BS_AUTORADIOBUTTON 0x00000009L
#define BS_OWNERDRAW       0x0000000BL
#define BS_TYPEMASK        0x0000000FL
#define BS_LEFTTEXT        0x00000020L
#define BS_RIGHTBUTTON     BS_LEFTTEXT
#define BS_LEFT            0x00000100L
#define BS_RIGHT           0x00000200L
#define BS_CENTER          0x00000300L
#define BS_TOP             0x00000400L
#define BS_BOTTOM          0x00000800L
#define BS_VCENTER         0x00000C00L
#define BS_MULTILINE       0x00002000L
#define BS_NOTIFY          0x00004000L

#define BM_GETCHECK 0x00F0
#define BM_SETCHECK 0x00F1
#define BM_GETSTATE 0x00F2
#define BM_SETSTATE 0x00F3
#define BM_SETSTYLE 0x00F4
#define BM_CLICK    0x00F5

#define BST_UNCHECKED     0x0000
#define BST_CHECKED       0x0001
#define BST_INDETERMINATE 0x0002
#define BST_PUSHED        0x0004
#define BST_FOCUS         0x0008

#define BN_CLICKED   0
#define BN_SETFOCUS  6
#define BN_KILLFOCUS 7

#define SS_LEFT           0x00000000L
#define SS_CENTER         0x00000001L
#define SS_RIGHT          0x00000002L
#define SS_ICON           0x00000003L
#define SS_LEFTNOWORDWRAP 0x0000000CL
#define SS_BITMAP         0x0000000EL
#define SS_TYPEMASK       0x0000001FL
#define SS_NOPREFIX       0x00000080L
#define SS_NOTIFY         0x00000100L
#define SS_CENTERIMAGE    0x00000200L

#define STM_SETICON  0x0170
#define STM_GETICON  0x0171
#define STM_SETIMAGE 0x0172
#define STM_GETIMAGE 0x0173

#define STN_CLICKED 0

#define IMAGE_BITMAP 0
#define IMAGE_ICON   1

#define ES_LEFT        0x0000L
#define ES_CENTER      0x0001L
#define ES_RIGHT       0x0002L
#define ES_MULTILINE   0x0004L
#define ES_UPPERCASE   0x0008L
#define ES_LOWERCASE   0x0010L
#define ES_PASSWORD    0x0020L
#define ES_AUTOVSCROLL 0x0040L
#define ES_AUTOHSCROLL 0x0080L
#define ES_NOHIDESEL   0x0100L
#define ES_READONLY    0x0800L
#define ES_WANTRETURN  0x1000L
#define ES_NUMBER      0x2000L

#define EM_GETSEL       0x00B0
#define EM_SETSEL       0x00B1
#define EM_REPLACESEL   0x00C2
#define EM_LIMITTEXT    0x00C5
#define EM_SETLIMITTEXT EM_LIMITTEXT
#define EM_SETREADONLY  0x00CF

#define EN_SETFOCUS  0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE    0x0300
#define EN_UPDATE    0x0400
#define EN_MAXTEXT   0x0501

#define LBS_NOTIFY           0x0001L
#define LBS_SORT             0x0002L
#define LBS_NOREDRAW         0x0004L
#define LBS_HASSTRINGS       0x0040L
#define LBS_NOINTEGRALHEIGHT 0x0100L
#define LBS_STANDARD         (LBS_NOTIFY | LBS_SORT | WS_VSCROLL | WS_BORDER)

#define LB_OKAY     0
#define LB_ERR      (-1)
#define LB_ERRSPACE (-2)

#define LB_ADDSTRING       0x0180
#define LB_INSERTSTRING    0x0181
#define LB_DELETESTRING    0x0182
#define LB_RESETCONTENT    0x0184
#define LB_SETCURSEL       0x0186
#define LB_GETCURSEL       0x0188
#define LB_GETTEXT         0x0189
#define LB_GETTEXTLEN      0x018A
#define LB_GETCOUNT        0x018B
#define LB_GETTOPINDEX     0x018E
#define LB_FINDSTRING      0x018F
#define LB_SETTOPINDEX     0x0197
#define LB_GETITEMDATA     0x0199
#define LB_SETITEMDATA     0x019A
#define LB_FINDSTRINGEXACT 0x01A2

#define LBN_ERRSPACE  (-2)
#define LBN_SELCHANGE 1
#define LBN_DBLCLK    2
#define LBN_SELCANCEL 3
#define LBN_SETFOCUS  4
#define LBN_KILLFOCUS 5

#define CBS_DROPDOWN     0x0002L
#define CBS_DROPDOWNLIST 0x0003L
#define CBS_SORT         0x0100L

#define CB_OKAY     0
#define CB_ERR      (-1)
#define CB_ERRSPACE (-2)

#define CB_ADDSTRING    0x0143
#define CB_GETCOUNT     0x0146
#define CB_GETCURSEL    0x0147
#define CB_GETLBTEXT    0x0148
#define CB_GETLBTEXTLEN 0x0149
#define CB_RESETCONTENT 0x014B
#define CB_SETCURSEL    0x014E
#define CB_GETITEMDATA  0x0150
#define CB_SETITEMDATA  0x0151

#define CBN_SELCHANGE 1

// --- Formatting ---------------------------------------------------------------
// printf-style formatting as the platform documents it: %s (WCHAR text),
// %S (narrow text), %c, %C, %d, %i, %u, %x, %X, %p, %%, with the flags "-",
// "0", "#", a width and a precision ("*" takes them from the arguments),
// and the size prefixes h, l and I64. wsprintfW and wvsprintfW write at
// most 1024 characters including the terminating NUL; _snwprintf and
// _vsnwprintf write at most count characters and return -1 when the text
// did not fit (then without a terminating NUL, as the platform does).
int wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...);
int wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist);

#define wsprintf  wsprintfW
#define wvsprintf wvsprintfW

// Message boxes.
#define MB_OK              0x00000000L
#define MB_OKCANCEL        0x00000001L
#define MB_ICONHAND        0x00000010L
#define MB_ICONQUESTION    0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK    0x00000040L
#define MB_ICONWARNING     MB_ICONEXCLAMATION
#define MB_ICONERROR       MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_ICONSTOP        MB_ICONHAND
#define MB_ICONMASK        0x000000F0L
#define MB_TYPEMASK        0x0000000FL
#ifndef IDOK
#define IDOK     1
#define IDCANCEL 2
#endif
int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType);
#define MessageBox MessageBoxW

// --- Dialogs: templates, the dialog manager and its messages ---------------------
#define DS_ABSALIGN      0x0001L
#define DS_SYSMODAL      0x0002L
#define DS_3DLOOK        0x0004L
#define DS_FIXEDSYS      0x0008L
#define DS_NOFAILCREATE  0x0010L
#define DS_LOCALEDIT     0x0020L
#define DS_SETFONT       0x0040L
#define DS_MODALFRAME    0x0080L
#define DS_NOIDLEMSG     0x0100L
#define DS_SETFOREGROUND 0x0200L
#define DS_CONTROL       0x0400L
#define DS_CENTER        0x0800L
#define DS_CENTERMOUSE   0x1000L
#define DS_CONTEXTHELP   0x2000L

#ifndef RC_INVOKED
// A classic template: this header, then the menu, the class and the title
// (each 0xFFFF and an ordinal, or a NUL-terminated string; the title only a
// string), with DS_SETFONT the point size and the face name, then cdit
// items, each on a 4-byte boundary: a DLGITEMTEMPLATE, its class and title,
// and a WORD giving the size of the creation data that follows it.
#pragma pack(push, 2)
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    WORD cdit;
    short x;
    short y;
    short cx;
    short cy;
} DLGTEMPLATE;
typedef struct {
    DWORD style;
    DWORD dwExtendedStyle;
    short x;
    short y;
    short cx;
    short cy;
    WORD id;
} DLGITEMTEMPLATE;
#pragma pack(pop)
typedef DLGTEMPLATE* LPDLGTEMPLATEW;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;
typedef LPDLGTEMPLATEW LPDLGTEMPLATE;
typedef LPCDLGTEMPLATEW LPCDLGTEMPLATE;
typedef DLGITEMTEMPLATE* PDLGITEMTEMPLATEW;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);
#endif

// WM_GETDLGCODE answers: which keys a control keeps from the dialog manager.
// It is asked per key (wParam the key, lParam the MSG), so a control may keep
// Left and Right and leave Up and Down to move the focus; the dialog never
// takes Left and Right itself.
#define DLGC_WANTARROWS      0x0001
#define DLGC_WANTTAB         0x0002
#define DLGC_WANTALLKEYS     0x0004
#define DLGC_WANTMESSAGE     0x0004
#define DLGC_HASSETSEL       0x0008
#define DLGC_DEFPUSHBUTTON   0x0010
#define DLGC_UNDEFPUSHBUTTON 0x0020
#define DLGC_RADIOBUTTON     0x0040
#define DLGC_WANTCHARS       0x0080
#define DLGC_STATIC          0x0100
#define DLGC_BUTTON          0x2000

#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
#define DC_HASDEFID 0x534B

#ifndef RC_INVOKED
// Modal: the owner is disabled until EndDialog; returns EndDialog's value,
// or -1 with the last error set when the dialog cannot be made.
INT_PTR WINAPI DialogBoxIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW hDialogTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam);
INT_PTR WINAPI DialogBoxParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam);
HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                       DLGPROC lpDialogFunc, LPARAM dwInitParam);
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
LRESULT WINAPI DefDlgProcW(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL WINAPI IsDialogMessageW(HWND hDlg, LPMSG lpMsg);
HWND WINAPI GetNextDlgTabItem(HWND hDlg, HWND hCtl, BOOL bPrevious);
BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString);
UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax);
LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam);
// Dialog units of the dialog's font to pixels: x * cx / 4, y * cy / 8.
BOOL WINAPI MapDialogRect(HWND hDlg, LPRECT lpRect);
// The base units of the system font: MAKELONG(cx, cy).
LONG WINAPI GetDialogBaseUnits(void);

#define CreateDialogIndirectParam                      CreateDialogIndirectParamW
#define CreateDialogIndirect(inst, tmpl, parent, proc) CreateDialogIndirectParamW(inst, tmpl, parent, proc, 0)
#define CreateDialog(inst, name, parent, proc)         CreateDialogParamW(inst, name, parent, proc, 0)
#define DialogBoxIndirectParam                         DialogBoxIndirectParamW
#define DialogBoxIndirect(inst, tmpl, parent, proc)    DialogBoxIndirectParamW(inst, tmpl, parent, proc, 0)
#define DialogBoxParam                                 DialogBoxParamW
#define DialogBox(inst, name, parent, proc)            DialogBoxParamW(inst, name, parent, proc, 0)
#define DefDlgProc                                     DefDlgProcW
#define IsDialogMessage                                IsDialogMessageW
#define SetDlgItemText                                 SetDlgItemTextW
#define GetDlgItemText                                 GetDlgItemTextW
#define SendDlgItemMessage                             SendDlgItemMessageW
#endif

#ifdef __cplusplus
}
#endif
