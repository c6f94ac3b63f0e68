// Resource and command identifiers of the bubble.
#pragma once

#define IDR_MENU_VIEWFIRST 105
#define IDR_MENU_REPORT    106
#define IDR_MENU_MESSAGE   107
#define IDR_MENU_SUMMARY   108
#define IDR_MENU_LOCKED    109

#define IDM_DELETE       40001
#define IDM_DISMISS      40002
#define IDM_REPLY        40003
#define IDM_SAVE_AS_READ 40004
#define IDM_VIEW         40005
#define IDM_CALL         40006
