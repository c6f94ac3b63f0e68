// Resource identifiers of the settings program, shared by Tarnwell.rc and
// the code.
#pragma once

#define IDI_TARNWELL      101
#define IDR_SETTINGS_MENU 102
#define IDD_SETTINGS      107
#define IDD_ABOUT         108
#define IDD_SETTINGS_WIDE 109
#define IDD_ABOUT_WIDE    110
#define IDR_ABOUT_MENU    131

// Soft-key commands ("Готово" and "Выход" are the dialog's IDOK and IDCANCEL).
#define IDM_DONE  1
#define IDM_EXIT  2
#define IDM_ABOUT 32771

// Settings dialog controls.
#define IDC_DISABLE               1000
#define IDC_SHOW_NUMBER           1001
#define IDC_SHOW_BUBBLES          1003
#define IDC_USE_FILE_AS           1004
#define IDC_MARK_DR_READ          1005
#define IDC_DELETE_DR             1006
#define IDC_SHOW_DR               1007
#define IDC_USE_CUSTOM_TEXT       1008
#define IDC_CUSTOM_TEXT           1009
#define IDC_CUSTOM_TEXT_SPIN      1010
#define IDC_LAST_NAME_FIRST       1011
#define IDC_APPEND_TYPE           1012
#define IDC_PREVIEW               1013
#define IDC_PREVIEW_LABEL         1014
#define IDC_SMS                   1015
#define IDC_TURN_OFF_SCREEN       1016
#define IDC_NO_BUBBLES_IN_PROFILE 1017
#define IDC_PROFILES              1018
#define IDC_PROFILES_SPIN         1019

// About box items.
#define IDC_ABOUT_ADDRESS       1001
#define IDC_ABOUT_PLATFORM      1015
#define IDC_ABOUT_VERSION       1017
#define IDC_ABOUT_PRODUCT       1018
#define IDC_ABOUT_VERSION_LABEL 1019
#define IDC_ABOUT_CREDIT        1020
