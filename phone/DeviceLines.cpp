// Scenario lines about the device: sound profile, lock, time, state.
#include "ScenarioLines.h"
#include "ScreenLines.h"
#include "StateReport.h"

#include <coredll_host.h>
#include <screen_host.h>
#include <windows.h>

#include <cstdio>

namespace phone {

namespace {

const WCHAR kProfilesKey[] = TEXT("ControlPanel\\Profiles");

bool ProfileExists(const std::u16string& name) {
    HKEY profiles = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kProfilesKey, 0, 0, &profiles) != ERROR_SUCCESS) return false;
    HKEY profile = nullptr;
    bool exists = RegOpenKeyExW(profiles, name.c_str(), 0, 0, &profile) == ERROR_SUCCESS;
    if (exists) RegCloseKey(profile);
    RegCloseKey(profiles);
    return exists;
}

}  // namespace

int LineNumberArgument(const std::string& text, const char* what, int low, int high) {
    long long value = 0;
    if (text.empty() || text.size() > 10) throw LineError(std::string("bad ") + what + ": " + text);
    for (char c : text) {
        if (c < '0' || c > '9') throw LineError(std::string("bad ") + what + ": " + text);
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        throw LineError(std::string(what) + " must be from " + std::to_string(low) + " to " + std::to_string(high));
    return static_cast<int>(value);
}

void ProfileLine(Session&, const std::vector<std::string>& args) {
    if (args.size() != 1) throw LineError("usage: profile NAME");
    std::u16string name = host::FromUtf8(args[0]);
    if (name.empty() || !ProfileExists(name)) throw LineError("no sound profile " + args[0]);
    HKEY profiles = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kProfilesKey, 0, nullptr, 0, 0, nullptr, &profiles, nullptr) !=
        ERROR_SUCCESS)
        throw LineError("cannot open the sound profiles");
    LONG rc = RegSetValueExW(profiles, TEXT("ActiveProfile"), 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()),
                             static_cast<DWORD>((name.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(profiles);
    if (rc != ERROR_SUCCESS) throw LineError("cannot set the active profile");
}

void LockLine(Session&, const std::vector<std::string>& args) {
    if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) throw LineError("usage: lock on|off");
    DWORD locked = args[0] == "on" ? 1 : 0;
    HKEY state = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("System\\State"), 0, nullptr, 0, 0, nullptr, &state, nullptr) !=
        ERROR_SUCCESS)
        throw LineError("cannot open the device state");
    LONG rc = RegSetValueExW(state, TEXT("Lock"), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&locked), sizeof locked);
    RegCloseKey(state);
    if (rc != ERROR_SUCCESS) throw LineError("cannot set the lock state");
}

void WaitLine(Session& session, const std::vector<std::string>& args) {
    if (args.size() != 1) throw LineError("usage: wait MS");
    session.Wait(static_cast<DWORD>(LineNumberArgument(args[0], "milliseconds", 0, 600000)));
}

void StateLine(Session& session, const std::vector<std::string>& args) {
    if (!args.empty()) throw LineError("usage: state");
    std::string report = session.json() ? StateAsJson(session) + "\n" : StateAsText(session);
    std::fputs(report.c_str(), stdout);
}

void KeyLine(Session&, const std::vector<std::string>& args) { PressKeys(args); }

void TypeLine(Session&, const std::vector<std::string>& args) {
    if (args.size() != 1) throw LineError("usage: type TEXT (one word or a quoted string)");
    TypeText(args[0]);
}

void RotateLine(Session&, const std::vector<std::string>& args) {
    if (!args.empty()) throw LineError("usage: rotate");
    Rotate();
}

void ScreenshotLine(Session&, const std::vector<std::string>& args) {
    if (args.size() != 1) throw LineError("usage: screenshot FILE.png");
    host::WaitForIdle();
    Screenshot(args[0]);
}

}  // namespace phone
