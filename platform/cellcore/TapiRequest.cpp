// tapiRequestMakeCallW: the request is recorded as the call placed (the
// number exactly as passed) and the call screen comes up; the function
// returns once the request is taken, as the phone's does.
#include "CallScreen.h"

#include <effect_log.h>
#include <tapi.h>

extern "C" LONG WINAPI tapiRequestMakeCallW(LPCWSTR lpszDestAddress, LPCWSTR, LPCWSTR, LPCWSTR) {
    if (!lpszDestAddress || !lpszDestAddress[0]) return TAPIERR_INVALDESTADDRESS;
    size_t length = wcslen(lpszDestAddress);
    if (length >= TAPIMAXDESTADDRESSSIZE) return TAPIERR_INVALDESTADDRESS;
    std::u16string number(lpszDestAddress, length);
    if (!host::AppendEffect(host::effect::kCall, {host::EffectField::Text("number", number)}))
        return TAPIERR_NOREQUESTRECIPIENT;
    // The call manager outlives the caller's hold on the library, as the
    // phone's runs apart from the programs that ask it for calls: the
    // library keeps itself loaded from its first call on.
    static HMODULE self = LoadLibraryW(u"cellcore.dll");
    (void)self;
    if (!cellcore::ShowCallScreen(number)) return TAPIERR_NOREQUESTRECIPIENT;
    return 0;
}

extern "C" BOOL WINAPI DllMain(HANDLE, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_DETACH) cellcore::CloseCallScreen();
    return TRUE;
}
