// The Windows Mobile shell library: soft-key menu bars, full-screen
// dialogs and the Back key.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

// --- Menu bars -----------------------------------------------------------
#define SHCMBF_EMPTYBAR      0x0001
#define SHCMBF_HIDDEN        0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004
#define SHCMBF_COLORBK       0x0008
// nToolBarId is a menu resource: its first item is the left soft key, its
// second the right one.
#define SHCMBF_HMENU 0x0010

typedef struct tagSHMENUBARINFO {
    DWORD cbSize;
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId;
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB;
    COLORREF clrBk;
} SHMENUBARINFO, *PSHMENUBARINFO;

BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO* pmbi);
HWND WINAPI SHFindMenuBar(HWND hwnd);

// Messages of a menu bar window.
#define SHCMBM_SETSUBMENU (WM_USER + 400)
#define SHCMBM_GETSUBMENU (WM_USER + 401)
#define SHCMBM_GETMENU    (WM_USER + 402)
// wParam: the key (VK_TSOFT1, VK_TSOFT2, VK_TBACK); lParam:
// MAKELPARAM(mask, value) of the SHMBOF_* flags.
#define SHCMBM_OVERRIDEKEY (WM_USER + 403)

#define SHMBOF_NODEFAULT 0x00000001
#define SHMBOF_NOTIFY    0x00000002

// --- Dialogs -----------------------------------------------------------------
#define SHIDIM_FLAGS 0x0001

#define SHIDIF_DONEBUTTON          0x0001
#define SHIDIF_SIZEDLG             0x0002
#define SHIDIF_SIZEDLGFULLSCREEN   0x0004
#define SHIDIF_SIPDOWN             0x0008
#define SHIDIF_FULLSCREENNOMENUBAR 0x0010
#define SHIDIF_EMPTYMENU           0x1000

typedef struct tagSHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
} SHINITDLGINFO, *PSHINITDLGINFO;

BOOL WINAPI SHInitDialog(PSHINITDLGINFO pshidi);

// --- The Back key ---------------------------------------------------------
// Hands a Back key that a menu bar reported as WM_HOTKEY to the window with
// the focus: an edit control erases the character before the caret, any
// other window receives the key.
void WINAPI SHSendBackToFocusWindow(UINT uMsg, WPARAM wp, LPARAM lp);

#ifdef __cplusplus
}
#endif
