// The platform's master header, as the phone's SDK has it.
#pragma once

#include <windef.h>
#include <winnt.h>
#include <winerror.h>
#include <winbase.h>
#include <kfuncs.h>
#include <winnls.h>
#include <winreg.h>
#include <winuser.h>
#include <wingdi.h>
