#include "TarnwellSession.h"

#include <coredll_host.h>
#include <screen_host.h>

#include <gtest/gtest.h>

namespace tarnwell_test {

namespace {

// The oldest effect of that kind after the one with the id after.
std::optional<host::Effect> NextEffect(std::string_view kind, int64_t after) {
    std::vector<host::Effect> effects;
    if (!host::ReadEffects(&effects, kind, after) || effects.empty()) return std::nullopt;
    return effects.front();
}

}  // namespace

const WCHAR kSettingsKey[] = u"Software\\Orvane\\Lumenrest";

TarnwellSession::TarnwellSession() {}

TarnwellSession::~TarnwellSession() {
    // A program still running when the test ends is closed the user's way.
    if (dialog_ && IsWindow(dialog_)) {
        PostMessageW(dialog_, WM_COMMAND, 2, 0);
        WaitForEnd();
    }
    host::ClearFaults();
}

bool TarnwellSession::Launch() {
    std::string error;
    dialog_ = nullptr;
    if (!host::StartProgram(u"Tarnwell.exe", u"", &error, &thread_)) {
        ADD_FAILURE() << error;
        return false;
    }
    return host::WaitForProgramIdle(thread_, 5000);
}

host::Effect TarnwellSession::NextBox(int64_t* after) {
    host::Effect box;
    for (int i = 0; i < 250; ++i) {
        host::WaitForIdle();
        if (std::optional<host::Effect> next = NextEffect(host::effect::kMessageBox, *after)) {
            box = *next;
            *after = box.id;
            break;
        }
        Sleep(20);
    }
    host::WaitForIdle();
    return box;
}

bool TarnwellSession::Start() {
    if (!Launch()) return false;
    for (int i = 0; i < 100 && !dialog_; ++i) {
        host::WaitForIdle();
        dialog_ = FindWindowW(u"Dialog", u"Настройки");
        if (!dialog_) Sleep(20);
    }
    host::WaitForIdle();
    return dialog_ != nullptr;
}

bool TarnwellSession::WaitForEnd(DWORD* exitCode) {
    if (!thread_ || !host::WaitForProgram(thread_, 5000)) return false;
    for (const host::ProgramRun& run : host::ListPrograms()) {
        if (run.threadId == thread_ && exitCode) *exitCode = run.exitCode;
    }
    dialog_ = nullptr;
    return true;
}

void TarnwellSession::Focus(int id) {
    SendMessageW(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
    host::WaitForIdle();
}

void TarnwellSession::Click(int id) {
    Focus(id);
    Press(VK_RETURN);
}

void TarnwellSession::Press(BYTE vk) {
    host::PressKey(vk);
    host::WaitForIdle();
}

void TarnwellSession::Command(int id) {
    PostMessageW(dialog_, WM_COMMAND, id, 0);
    host::WaitForIdle();
}

bool TarnwellSession::Checked(int id) const { return SendMessageW(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool TarnwellSession::Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }

std::u16string TarnwellSession::Text(int id) const {
    HWND item = Item(id);
    int length = GetWindowTextLengthW(item);
    std::u16string text(length + 1, u'\0');
    GetWindowTextW(item, &text[0], length + 1);
    text.resize(length);
    return text;
}

void WriteDword(HKEY root, const WCHAR* key, const WCHAR* name, DWORD value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key, 0, nullptr, 0, 0, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(k);
}

void WriteText(HKEY root, const WCHAR* key, const WCHAR* name, const std::u16string& value) {
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(root, key, 0, nullptr, 0, 0, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegSetValueExW(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(WCHAR)));
    RegCloseKey(k);
}

bool ReadDword(const WCHAR* name, DWORD* value) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, 0, &k) != ERROR_SUCCESS) return false;
    DWORD type = 0, size = sizeof *value;
    LONG result = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(k);
    return result == ERROR_SUCCESS && type == REG_DWORD;
}

bool ReadText(const WCHAR* name, std::u16string* value) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSettingsKey, 0, 0, &k) != ERROR_SUCCESS) return false;
    WCHAR buffer[2048] = {};
    DWORD type = 0, size = sizeof buffer - sizeof(WCHAR);
    LONG result = RegQueryValueExW(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(k);
    if (result != ERROR_SUCCESS || type != REG_SZ) return false;
    *value = buffer;
    return true;
}

bool KeyExists(HKEY root, const WCHAR* key) {
    HKEY k = nullptr;
    if (RegOpenKeyExW(root, key, 0, 0, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

void AddProfile(const std::u16string& keyName, const std::u16string& editName, const std::u16string& name,
                const std::u16string& locName) {
    std::u16string key = u"ControlPanel\\Profiles\\" + keyName;
    HKEY k = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, 0, nullptr, &k, nullptr), ERROR_SUCCESS);
    RegCloseKey(k);
    if (!editName.empty()) WriteText(HKEY_CURRENT_USER, key.c_str(), u"EditName", editName);
    if (!name.empty()) WriteText(HKEY_CURRENT_USER, key.c_str(), u"Name", name);
    if (!locName.empty()) WriteText(HKEY_CURRENT_USER, key.c_str(), u"LocName", locName);
}

}  // namespace tarnwell_test
