// The probe's dialog of every control kind.
#pragma once

#define IDD_KINDS     100
#define IDC_GROUP     101
#define IDC_BOX       102
#define IDC_BUTTON    103
#define IDC_LABEL     104
#define IDC_EDIT      106
#define IDC_LIST      107
#define IDC_LIST_SPIN 108
#define IDC_COMBO     109
