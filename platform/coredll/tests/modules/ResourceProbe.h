// Resource ids of the ResourceProbe module, shared by its .rc file and the
// resource tests.
#pragma once

#define IDI_PROBE    101
#define IDB_PROBE    102
#define IDB_PALETTE  103
#define IDR_MENU     104
#define IDR_MENU_EX  105
#define IDD_PROBE    106
#define IDD_PICTURES 107

#define IDM_SAVE   40001
#define IDM_DELETE 40002
#define IDM_CLOSE  40003
#define IDM_HELP   40004

#define IDS_HELLO 1
#define IDS_LAST  33
