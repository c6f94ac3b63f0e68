// The HTML view control (htmlview.dll): a window of class "DISPLAYCLASS"
// that shows a page of HTML given to it piece by piece.
#pragma once

#include <windows.h>

#define DISPLAYCLASS TEXT("DISPLAYCLASS")
#define WC_HTML      DISPLAYCLASS

#define DTM_ADDTEXTW     (WM_USER + 102)
#define DTM_ENDOFSOURCE  (WM_USER + 104)
#define DTM_CLEAR        (WM_USER + 113)
#define DTM_ZOOMLEVEL    (WM_USER + 116)
#define DTM_LAYOUTHEIGHT (WM_USER + 118)

// Notifications to the parent (WM_NOTIFY).
#define NM_HOTSPOT (WM_USER + 101)
#ifndef NM_KEYDOWN
#define NM_KEYDOWN (-15)
#endif

typedef struct tagNM_HTMLVIEW {
    NMHDR hdr;
    LPCWSTR szTarget;  // the chosen link's target
    LPCWSTR szData;    // the link's text
    DWORD dwCookie;
    LPCWSTR szExInfo;
} NM_HTMLVIEW;

#ifndef NMKEY_DEFINED
#define NMKEY_DEFINED
typedef struct tagNMKEY {
    NMHDR hdr;
    UINT nVKey;  // the virtual key in the low 16 bits
    UINT uFlags;
} NMKEY, *LPNMKEY;
#endif

#ifdef __cplusplus
extern "C" {
#endif
// Registers "DISPLAYCLASS"; non-zero when the control can be used.
BOOL WINAPI InitHTMLControl(HINSTANCE hinst);
#ifdef __cplusplus
}
#endif
