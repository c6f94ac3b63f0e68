// Telephony: the call request of the phone's call manager (cellcore.dll).
#pragma once

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#define TAPIMAXDESTADDRESSSIZE 80
#define TAPIMAXAPPNAMESIZE     40
#define TAPIMAXCALLEDPARTYSIZE 40
#define TAPIMAXCOMMENTSIZE     80

#define TAPIERR_NOREQUESTRECIPIENT (-2L)
#define TAPIERR_REQUESTQUEUEFULL   (-3L)
#define TAPIERR_INVALDESTADDRESS   (-4L)

// Asks the call manager to place a voice call to lpszDestAddress; 0 once the
// request is taken, a negative TAPIERR_ value otherwise.
LONG WINAPI tapiRequestMakeCallW(LPCWSTR lpszDestAddress, LPCWSTR lpszAppName, LPCWSTR lpszCalledParty,
                                 LPCWSTR lpszComment);
#define tapiRequestMakeCall tapiRequestMakeCallW

#ifdef __cplusplus
}
#endif
