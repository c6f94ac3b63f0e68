// The common controls of the phone ("commctrl.dll"): their registration and
// the up-down control.
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;  // sizeof(INITCOMMONCONTROLSEX), 8
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES      0x00000004
#define ICC_TAB_CLASSES      0x00000008
#define ICC_UPDOWN_CLASS     0x00000010
#define ICC_PROGRESS_CLASS   0x00000020
#define ICC_DATE_CLASSES     0x00000100
#define ICC_COOL_CLASSES     0x00000400
#define ICC_INTERNET_CLASSES 0x00000800

void WINAPI InitCommonControls(void);
BOOL WINAPI InitCommonControlsEx(LPINITCOMMONCONTROLSEX lpInitCtrls);

// --- The up-down control ---------------------------------------------------
#define UPDOWN_CLASSW u"msctls_updown32"
#define UPDOWN_CLASS  UPDOWN_CLASSW

#define UD_MAXVAL 0x7fff
#define UD_MINVAL (-UD_MAXVAL)

#define UDS_WRAP        0x0001
#define UDS_SETBUDDYINT 0x0002
#define UDS_ALIGNRIGHT  0x0004
#define UDS_ALIGNLEFT   0x0008
#define UDS_AUTOBUDDY   0x0010
#define UDS_ARROWKEYS   0x0020
#define UDS_HORZ        0x0040
#define UDS_NOTHOUSANDS 0x0080
// The phone's own: Action on the buddy opens it full screen (the whole list
// of a list box, or the text entry of an edit); and no stepping at all.
#define UDS_EXPANDABLE 0x0200
#define UDS_NOSCROLL   0x0400

#define UDM_SETRANGE   (WM_USER + 101)
#define UDM_GETRANGE   (WM_USER + 102)
#define UDM_SETPOS     (WM_USER + 103)
#define UDM_GETPOS     (WM_USER + 104)
#define UDM_SETBUDDY   (WM_USER + 105)
#define UDM_GETBUDDY   (WM_USER + 106)
#define UDM_SETRANGE32 (WM_USER + 111)
#define UDM_GETRANGE32 (WM_USER + 112)

#ifdef __cplusplus
}
#endif
