// phone init: makes a new device.
#include "Cli.h"
#include "ContactsImport.h"
#include "DeviceProfile.h"

#include <cemapi_host.h>
#include <coredll_host.h>
#include <objbase.h>
#include <pimstore_host.h>

#include <cstdio>

namespace phone {

namespace {

struct Profile {
    const WCHAR* key;
    const WCHAR* name;
};

// The sound profiles of a new phone, under HKCU\ControlPanel\Profiles.
const Profile kProfiles[] = {
    {TEXT("Normal"), TEXT("Normal")},   {TEXT("Silent"), TEXT("Silent")},       {TEXT("Meeting"), TEXT("Meeting")},
    {TEXT("Outdoor"), TEXT("Outdoor")}, {TEXT("Automatic"), TEXT("Automatic")},
};

LONG SetString(HKEY key, const WCHAR* name, const WCHAR* text) {
    DWORD bytes = static_cast<DWORD>((wcslen(text) + 1) * sizeof(WCHAR));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes);
}

LONG SetDword(HKEY key, const WCHAR* name, DWORD value) {
    return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

// Writes the registry of a new phone, in one transaction.
void WriteRegistry() {
    if (!host::BeginRegistryBatch()) throw CommandError("cannot write the registry of the device");
    LONG rc = ERROR_SUCCESS;
    HKEY profiles = nullptr;
    rc = RegCreateKeyExW(HKEY_CURRENT_USER, TEXT("ControlPanel\\Profiles"), 0, nullptr, 0, 0, nullptr, &profiles,
                         nullptr);
    for (const Profile& p : kProfiles) {
        if (rc != ERROR_SUCCESS) break;
        HKEY key = nullptr;
        rc = RegCreateKeyExW(profiles, p.key, 0, nullptr, 0, 0, nullptr, &key, nullptr);
        if (rc == ERROR_SUCCESS) {
            rc = SetString(key, TEXT("Name"), p.name);
            RegCloseKey(key);
        }
    }
    if (rc == ERROR_SUCCESS) rc = SetString(profiles, TEXT("ActiveProfile"), TEXT("Normal"));
    if (profiles) RegCloseKey(profiles);
    if (rc == ERROR_SUCCESS) {
        HKEY state = nullptr;
        rc = RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("System\\State"), 0, nullptr, 0, 0, nullptr, &state, nullptr);
        if (rc == ERROR_SUCCESS) {
            rc = SetDword(state, TEXT("Lock"), 0);
            RegCloseKey(state);
        }
    }
    if (rc == ERROR_SUCCESS && !host::RegisterContactStore()) rc = ERROR_CANTWRITE;
    if (rc != ERROR_SUCCESS || !host::CommitRegistryBatch()) {
        if (rc != ERROR_SUCCESS) host::RollbackRegistryBatch();
        throw CommandError("cannot write the registry of the device (error " + std::to_string(rc) + ")");
    }
}

// Registers the rule client as its own DllRegisterServer does.
void RegisterRuleClient() {
    HMODULE module = LoadLibraryW(TEXT("Lumenrest.dll"));
    if (!module) throw CommandError("cannot load Lumenrest.dll");
    auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module, TEXT("DllRegisterServer")));
    HRESULT hr = registerServer ? registerServer() : E_FAIL;
    FreeLibrary(module);
    if (FAILED(hr)) throw CommandError("DllRegisterServer of Lumenrest.dll failed");
}

}  // namespace

int RunInit(Args& args) {
    DeviceProfile profile;
    std::string screen, dpi, contactsPath;
    bool force = args.TakeFlag("--force");
    if (args.TakeOption("--screen", &screen) && !ParseScreenSize(screen, &profile.width, &profile.height))
        throw UsageError("--screen wants WxH, such as 240x320 (" + screen + ")");
    if (args.TakeOption("--dpi", &dpi)) {
        try {
            size_t used = 0;
            profile.dpi = std::stoi(dpi, &used);
            if (used != dpi.size() || profile.dpi < 48 || profile.dpi > 960) throw std::invalid_argument(dpi);
        } catch (const std::exception&) {
            throw UsageError("--dpi wants a number from 48 to 960 (" + dpi + ")");
        }
    }
    bool withContacts = args.TakeOption("--contacts", &contactsPath);
    args.ExpectAtMost(0);
    // A contacts file that cannot be read must leave the folder untouched.
    ContactsFile contacts;
    if (withContacts) contacts = ReadContactsFile(contactsPath);

    if (DeviceExists(args.device) && !force)
        throw CommandError(args.device + " already holds a device (use --force to replace it)");
    // A device that another process has open is never wiped under it.
    std::string error;
    if (!host::OpenDeviceExclusive(args.device, &error)) throw CommandError(error);
    if (DeviceExists(args.device) && !RemoveDeviceFiles(args.device, &error)) throw CommandError(error);
    if (!SaveDeviceProfile(args.device, profile)) throw CommandError("cannot write the device profile");
    WriteRegistry();
    if (!host::CreateMessageStore(&error)) throw CommandError("cannot make the message store: " + error);
    RegisterRuleClient();
    std::printf("device %s: %dx%d at %d dpi\n", args.device.c_str(), profile.width, profile.height, profile.dpi);
    if (withContacts) {
        size_t stored = StoreContacts(contacts);
        std::printf("imported %zu contact%s from %s\n", stored, stored == 1 ? "" : "s", contactsPath.c_str());
    }
    return kExitOk;
}

}  // namespace phone
