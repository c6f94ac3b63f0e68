// The settings program run as the phone runs it, on a thread of its own in
// a fresh device, driven from the test's thread with the phone's keys and
// read back through its windows and the registry.
#pragma once

#include <TempDevice.h>
#include <effect_log.h>
#include <windows.h>

#include <string>

namespace tarnwell_test {

// HKLM\Software\Orvane\Lumenrest, where Done writes.
extern const WCHAR kSettingsKey[];

class TarnwellSession {
public:
    TarnwellSession();
    ~TarnwellSession();

    // Starts Tarnwell.exe and waits for its settings dialog; false when no
    // dialog showed up.
    bool Start();
    // Starts it and waits only until it waits for input (a message box, say).
    bool Launch();
    // Waits for the program to end; false when it still runs.
    bool WaitForEnd(DWORD* exitCode = nullptr);

    HWND Dialog() const { return dialog_; }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }

    // The focus moved to the control, and the Action key pressed on it.
    void Click(int id);
    void Focus(int id);
    void Press(BYTE vk);
    // A command as the soft-key bar reports it.
    void Command(int id);
    void Done() { Press(VK_TSOFT1); }

    // The next message box opened after the effect with the id *after, once
    // it waits for a key; *after moves on to it. Its id is 0 when none came.
    host::Effect NextBox(int64_t* after);
    // Action, which closes the box in front.
    void CloseBox() { Press(VK_RETURN); }

    bool Checked(int id) const;
    bool Enabled(int id) const;
    std::u16string Text(int id) const;

private:
    testing_support::TempDevice device_;
    DWORD thread_ = 0;
    HWND dialog_ = nullptr;
};

// Registry access for the tests.
void WriteDword(HKEY root, const WCHAR* key, const WCHAR* name, DWORD value);
void WriteText(HKEY root, const WCHAR* key, const WCHAR* name, const std::u16string& value);
bool ReadDword(const WCHAR* name, DWORD* value);
bool ReadText(const WCHAR* name, std::u16string* value);
bool KeyExists(HKEY root, const WCHAR* key);
// A sound profile under HKCU\ControlPanel\Profiles with its display names
// (an empty one is not written).
void AddProfile(const std::u16string& keyName, const std::u16string& editName = u"", const std::u16string& name = u"",
                const std::u16string& locName = u"");

}  // namespace tarnwell_test
