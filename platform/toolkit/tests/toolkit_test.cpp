// The utility's stand-in: the Home key taken under the identifiers of its
// Home line, its hotkeys counted, and Home given back to the shell.
#include <TempDevice.h>
#include <cemapi_host.h>
#include <WindowThread.h>
#include <coredll_host.h>
#include <screen_host.h>
#include <gtest/gtest.h>
#include <shell_host.h>
#include <toolkit_host.h>
#include <windows.h>

#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using Registration = std::tuple<std::string, int, unsigned>;  // window class, id, modifiers

std::set<Registration> HomeKeys() {
    std::set<Registration> keys;
    for (const host::HotKeyInfo& info : host::ListHotKeys())
        if (info.vk == VK_LWIN) keys.insert({info.window, info.id, info.modifiers});
    return keys;
}

void SetHotkeyList(const std::u16string& text) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\e-Natives\\SmartToolkit", 0, nullptr, 0, 0, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, u"hotkey", 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * sizeof(char16_t)));
    RegCloseKey(key);
}

class Toolkit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host::StartShell()); }
    void TearDown() override {
        host::StopToolkit();
        host::StopShell();
        // The home screen watched the store: its thread ends before the process does.
        host::StopMessageStore();
    }
    testing_support::TempDevice device_;
};

TEST_F(Toolkit, TakesHomeUnderItsHomeLineCountsItsHotkeysAndGivesHomeBack) {
    SetHotkeyList(u"51,1,Camera\n52,1,Calendar\n91,1,Home\n53,1,Notes");
    EXPECT_FALSE(host::GetToolkitState().running);
    ASSERT_TRUE(host::StartToolkit());
    EXPECT_NE(FindWindowW(u"ENATIVE_SMARTTOOLKIT", nullptr), nullptr);
    const std::set<Registration> taken = {{"ENATIVE_SMARTTOOLKIT", 3, MOD_KEYUP},
                                          {"ENATIVE_SMARTTOOLKIT", 35, MOD_WIN},
                                          {"ENATIVE_SMARTTOOLKIT", 67, MOD_SHIFT}};
    EXPECT_EQ(HomeKeys(), taken) << "the shell's Home is taken from it";

    host::ToolkitState state = host::GetToolkitState();
    EXPECT_TRUE(state.running);
    EXPECT_EQ(state.hotkeysReceived, 0);
    host::PressKey(VK_LWIN);
    EXPECT_TRUE(testing_support::PumpUntil([] { return host::GetToolkitState().hotkeysReceived == 1; }));
    host::PressKey(VK_LWIN);
    EXPECT_TRUE(testing_support::PumpUntil([] { return host::GetToolkitState().hotkeysReceived == 2; }));

    host::StopToolkit();
    EXPECT_FALSE(host::GetToolkitState().running);
    EXPECT_EQ(FindWindowW(u"ENATIVE_SMARTTOOLKIT", nullptr), nullptr);
    const std::set<Registration> shell = {{"MSCProg", 1, MOD_WIN}};
    EXPECT_EQ(HomeKeys(), shell);

    // Started again, it counts afresh.
    ASSERT_TRUE(host::StartToolkit());
    EXPECT_EQ(host::GetToolkitState().hotkeysReceived, 0);
}

// The Home entry's line as the bubble's hand-back reckons it: an empty line
// straight after another line's end is not counted again.
TEST_F(Toolkit, AnEmptyLineBeforeTheHomeEntryIsNotCounted) {
    for (const auto& [list, n] : std::vector<std::pair<std::u16string, int>>{{u"10,1,Phone\n91,1,Home", 1},
                                                                             {u"10,1,Phone\n\n91,1,Home", 1},
                                                                             {u"10,1,Phone\n\n\n91,1,Home", 2},
                                                                             {u"91,", 0}}) {
        SetHotkeyList(list);
        ASSERT_TRUE(host::StartToolkit());
        const std::set<Registration> taken = {{"ENATIVE_SMARTTOOLKIT", n + 1, MOD_KEYUP},
                                              {"ENATIVE_SMARTTOOLKIT", n + 33, MOD_WIN},
                                              {"ENATIVE_SMARTTOOLKIT", n + 65, MOD_SHIFT}};
        EXPECT_EQ(HomeKeys(), taken) << n;
        host::StopToolkit();
    }
}

TEST_F(Toolkit, WithoutAListHomeIsItsFirstLineAndAListWithoutHomeTakesNothing) {
    ASSERT_TRUE(host::StartToolkit());
    const std::set<Registration> first = {{"ENATIVE_SMARTTOOLKIT", 1, MOD_KEYUP},
                                          {"ENATIVE_SMARTTOOLKIT", 33, MOD_WIN},
                                          {"ENATIVE_SMARTTOOLKIT", 65, MOD_SHIFT}};
    EXPECT_EQ(HomeKeys(), first);
    host::StopToolkit();

    SetHotkeyList(u"51,1,Camera\n52,1,Calendar");
    ASSERT_TRUE(host::StartToolkit());
    const std::set<Registration> shell = {{"MSCProg", 1, MOD_WIN}};
    EXPECT_EQ(HomeKeys(), shell);
}

}  // namespace
