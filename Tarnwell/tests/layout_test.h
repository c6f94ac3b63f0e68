#pragma once

#define IDD_ONE_UNNAMED 200
#define IDD_TWO_UNNAMED 201
#define IDC_LABEL       300
#define IDC_BOX         301
