// Menus of the menu bar tests, shared by menubar_test.rc and the tests.
#pragma once

#define IDR_SOFTKEYS 102
#define IDR_COMMANDS 103
#define IDR_NESTED   104

#define IDM_DONE  1
#define IDM_EXIT  2
#define IDM_ABOUT 32771
#define IDM_VIEW  40005
#define IDM_CLOSE 40002
#define IDM_YES   10
#define IDM_ONE   11
#define IDM_TWO   12
#define IDM_GRAY  13
