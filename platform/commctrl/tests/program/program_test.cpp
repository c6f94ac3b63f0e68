// The common controls as a program of the phone gets them: commctrl comes
// into the process with the program that links it, and what it registered
// keeps working after that program ended, also for the next one, as a
// library of the phone's system stays loaded once a process has it. This
// test's own process does not link commctrl.
#include <TempDevice.h>
#include <commctrl.h>
#include <coredll_host.h>
#include <screen_host.h>
#include <windows.h>

#include <gtest/gtest.h>

namespace {

DWORD RunProgram() {
    DWORD thread = 0;
    std::string error;
    EXPECT_TRUE(host::StartProgram(u"UpDownProgram.exe", u"", &error, &thread)) << error;
    EXPECT_TRUE(host::WaitForProgram(thread, 5000));
    for (const host::ProgramRun& run : host::ListPrograms())
        if (run.threadId == thread) return run.exitCode;
    return 99;
}

}  // namespace

TEST(CommonControlsOfAProgram, TheClassesStayUsableAfterTheProgramThatInitialisedThemEnded) {
    testing_support::TempDevice device;
    EXPECT_EQ(RunProgram(), 0u);
    EXPECT_EQ(GetModuleHandleW(u"UpDownProgram.exe"), nullptr) << "the program's module went with it";

    // The class is the process's now: an up-down made and used here.
    HWND parent = CreateWindowExW(0, u"Static", u"parent", WS_POPUP, 0, 0, 100, 40, nullptr, nullptr, nullptr, nullptr);
    HWND edit = CreateWindowExW(0, u"Edit", u"", WS_CHILD, 0, 0, 60, 20, parent, nullptr, nullptr, nullptr);
    HWND updown = CreateWindowExW(0, UPDOWN_CLASSW, nullptr, WS_CHILD, 0, 0, 10, 20, parent, nullptr, nullptr, nullptr);
    ASSERT_NE(updown, nullptr);
    SendMessageW(updown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0)), edit);
    DestroyWindow(parent);

    EXPECT_EQ(RunProgram(), 0u) << "a second start finds the classes registered and working";
}
