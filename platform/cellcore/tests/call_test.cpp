// The call request as a program of the phone makes it: loaded by name, the
// number recorded exactly as passed, the call screen in front until End.
#include <TempDevice.h>
#include <WindowThread.h>
#include <cemapi_host.h>
#include <effect_log.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <shell_host.h>
#include <tapi.h>
#include <windows.h>

namespace {

typedef LONG(WINAPI* MakeCallProc)(LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR);

class Calls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host::StartShell());
        module_ = LoadLibraryW(u"cellcore.dll");
        ASSERT_NE(module_, nullptr);
        call_ = reinterpret_cast<MakeCallProc>(GetProcAddressW(module_, u"tapiRequestMakeCallW"));
        ASSERT_NE(call_, nullptr);
    }
    void TearDown() override {
        if (module_) FreeLibrary(module_);
        host::UnloadAllModules();
        host::StopShell();
        host::StopMessageStore();
    }
    std::vector<std::u16string> Numbers() {
        std::vector<host::Effect> effects;
        host::ReadEffects(&effects, host::effect::kCall);
        std::vector<std::u16string> numbers;
        for (const host::Effect& e : effects) numbers.push_back(e.Field("number")->text);
        return numbers;
    }
    bool HoldsEnd(const std::string& windowClass) {
        for (const host::HotKeyInfo& info : host::ListHotKeys())
            if (info.vk == VK_F4 && info.window == windowClass) return true;
        return false;
    }

    testing_support::TempDevice device_;
    HMODULE module_ = nullptr;
    MakeCallProc call_ = nullptr;
};

TEST_F(Calls, ACallIsRecordedAsPassedAndItsScreenStaysInFrontUntilEnd) {
    ASSERT_EQ(call_(u"+7 (916) 123-45-67", nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(Numbers(), std::vector<std::u16string>{u"+7 (916) 123-45-67"});
    HWND screen = FindWindowW(u"CallScreen", nullptr);
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(IsWindowVisible(screen));
    EXPECT_TRUE(testing_support::PumpUntil([&] { return GetForegroundWindow() == screen; }));
    EXPECT_TRUE(HoldsEnd("CallScreen"));

    // The caller lets go of the library: the call goes on.
    FreeLibrary(module_);
    module_ = nullptr;
    Sleep(50);
    EXPECT_TRUE(IsWindow(screen));

    host::PressKey(VK_F4);
    EXPECT_TRUE(testing_support::PumpUntil([&] { return !IsWindow(screen); }));
    EXPECT_TRUE(HoldsEnd("MSCProg")) << "End is the shell's again";
}

TEST_F(Calls, AnEmptyOrOverlongNumberPlacesNoCall) {
    EXPECT_EQ(call_(nullptr, nullptr, nullptr, nullptr), TAPIERR_INVALDESTADDRESS);
    EXPECT_EQ(call_(u"", nullptr, nullptr, nullptr), TAPIERR_INVALDESTADDRESS);
    std::u16string longNumber(TAPIMAXDESTADDRESSSIZE, u'1');
    EXPECT_EQ(call_(longNumber.c_str(), nullptr, nullptr, nullptr), TAPIERR_INVALDESTADDRESS);
    EXPECT_TRUE(Numbers().empty());
    EXPECT_EQ(FindWindowW(u"CallScreen", nullptr), nullptr);
}

}  // namespace
