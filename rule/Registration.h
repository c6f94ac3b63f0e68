#pragma once

#include <windows.h>

HRESULT RegisterRuleClient();
HRESULT UnregisterRuleClient();
