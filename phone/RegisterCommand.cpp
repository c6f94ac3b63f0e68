// phone register / unregister: the rule client's own registration.
#include "Cli.h"

#include <objbase.h>

#include <cstdio>

namespace phone {

namespace {

int CallRegistration(Args& args, const WCHAR* entryName, const char* label) {
    args.ExpectAtMost(0);
    OpenDeviceOrFail(args.device);
    HMODULE module = LoadLibraryW(TEXT("Lumenrest.dll"));
    if (!module) throw CommandError("cannot load Lumenrest.dll");
    auto entry = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module, entryName));
    if (!entry) {
        FreeLibrary(module);
        throw CommandError(std::string("Lumenrest.dll has no ") + label);
    }
    HRESULT hr = entry();
    FreeLibrary(module);
    std::printf("%s: 0x%08X\n", label, static_cast<unsigned>(hr));
    return SUCCEEDED(hr) ? kExitOk : kExitFailed;
}

}  // namespace

int RunRegister(Args& args) { return CallRegistration(args, TEXT("DllRegisterServer"), "DllRegisterServer"); }

int RunUnregister(Args& args) { return CallRegistration(args, TEXT("DllUnregisterServer"), "DllUnregisterServer"); }

}  // namespace phone
