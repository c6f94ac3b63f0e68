// The dialog of the shell dialog tests, shared by dialog_shell_test.rc and the tests.
#pragma once

#define IDD_SHELL 301
#define IDC_BOX   1000
#define IDC_TEXT  1009
