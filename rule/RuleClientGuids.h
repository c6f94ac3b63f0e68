// The class identifier of the rule client, and its registration names.
#pragma once

#include <guiddef.h>

// {79FEEFFE-10DE-4B52-B17C-2E5E1CA66B0D}
DEFINE_GUID(CLSID_RuleClient, 0x79FEEFFE, 0x10DE, 0x4B52, 0xB1, 0x7C, 0x2E, 0x5E, 0x1C, 0xA6, 0x6B, 0x0D);

#define RULE_CLIENT_CLSID_TEXT TEXT("{79FEEFFE-10DE-4b52-B17C-2E5E1CA66B0D}")
#define RULE_CLIENT_CLASS_KEY  TEXT("\\CLSID\\{79FEEFFE-10DE-4b52-B17C-2E5E1CA66B0D}")
#define SMS_RULES_KEY          TEXT("\\Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules")
#define RULE_CLIENT_MODULE     TEXT("Lumenrest.dll")
