#pragma once

#define IDD_ONE_UNNAMED   200
#define IDD_TWO_UNNAMED   201
#define IDC_LABEL         300
#define IDC_BOX           301
#define IDD_PICTURES      202
#define IDD_PICTURES_WIDE 203
#define IDC_ICON          302
#define IDC_PICTURE       303
#define IDC_CHOICE        304
#define IDI_FIRST         400
#define IDI_SECOND        401
#define IDB_FIRST         402
#define IDB_SECOND        403
