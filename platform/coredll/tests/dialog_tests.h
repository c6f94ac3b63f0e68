// Dialog templates of the dialog tests, shared by dialog_tests.rc and the tests.
#pragma once

#define IDD_SETTINGS      201
#define IDD_CONTROLS      202
#define IDD_UNKNOWN_CLASS 203
#define IDD_TRUNCATED     204
#define IDD_TOO_MANY      205
#define IDD_WITH_DATA     206
#define IDD_PLAIN_FONT    207
#define IDD_PRIVATE_CLASS 208
#define IDD_NO_ITEMS      209

// The probe control's style bit that makes it keep the arrow keys.
#define PROBE_WANTARROWS 0x0001

#define IDC_DISABLE 1000
#define IDC_FIRST   1001
#define IDC_SECOND  1002
#define IDC_GREYED  1003
#define IDC_HIDDEN  1004
#define IDC_ARROWS  1005
#define IDC_LABEL   1006
#define IDC_FAR     1007
#define IDC_LAST    1008
