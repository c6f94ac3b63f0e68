// MessageBoxW: modal on its caller's thread until Action, the left soft key
// or Back; sent messages are handled meanwhile; the owner is disabled; each
// box is in the log of outside effects, open and then closed.
#include <TempDevice.h>
#include <WindowThread.h>
#include <coredll_host.h>
#include <effect_log.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>
#include <cstring>

namespace {

struct BoxCall {
    HWND owner = nullptr;
    UINT type = MB_ICONINFORMATION;
    std::atomic<int> result{-1};
};

DWORD WINAPI ShowBox(LPVOID parameter) {
    BoxCall* call = static_cast<BoxCall*>(parameter);
    call->result = MessageBoxW(call->owner, u"Line one\nLine two", u"Caption", call->type);
    return 0;
}

HWND Box() { return FindWindowW(u"MessageBoxWindow", nullptr); }

// Any program may make a window of the box's class with creation data of
// its own: the window takes none of it, and painting and Action on it
// change nothing.
TEST(MessageBoxes, ABoxWindowMadeByAnotherTakesNoneOfItsCreationData) {
    testing_support::TempDevice device;
    BoxCall call;
    HANDLE thread = CreateThread(nullptr, 0, ShowBox, &call, 0, nullptr);
    ASSERT_TRUE(testing_support::PumpUntil([] { return Box() != nullptr; }));
    ASSERT_TRUE(host::WaitForIdle());
    host::PressKey(VK_RETURN);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(thread);

    BYTE data[256];
    std::memset(data, 0xAB, sizeof data);
    HWND made = CreateWindowExW(0, u"MessageBoxWindow", u"made", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                                nullptr, nullptr, data);
    ASSERT_NE(made, nullptr);
    UpdateWindow(made);
    SendMessageW(made, WM_KEYDOWN, VK_RETURN, 0);
    DestroyWindow(made);
    for (BYTE b : data) ASSERT_EQ(b, 0xAB) << "its creation data is left as it was";
}

TEST(MessageBoxes, ABoxBlocksItsCallerUntilActionAndIsRecorded) {
    testing_support::TempDevice device;
    for (BYTE closer : {static_cast<BYTE>(VK_RETURN), static_cast<BYTE>(VK_TSOFT1), static_cast<BYTE>(VK_TBACK)}) {
        BoxCall call;
        const int before = host::CountEffects(host::effect::kMessageBox);
        HANDLE thread = CreateThread(nullptr, 0, ShowBox, &call, 0, nullptr);
        ASSERT_TRUE(testing_support::PumpUntil([] { return Box() != nullptr; }));
        // Made is not yet shown: the box's thread settles into its loop first.
        ASSERT_TRUE(host::WaitForIdle());
        EXPECT_EQ(GetForegroundWindow(), Box());
        EXPECT_EQ(WaitForSingleObject(thread, 100), static_cast<DWORD>(WAIT_TIMEOUT)) << "the caller waits";
        EXPECT_EQ(call.result.load(), -1);

        // The box's thread still answers what is sent to it.
        EXPECT_EQ(SendMessageW(Box(), WM_GETTEXTLENGTH, 0, 0), 7);

        std::optional<host::Effect> shown = host::LastEffect(host::effect::kMessageBox);
        ASSERT_TRUE(shown.has_value());
        EXPECT_EQ(host::CountEffects(host::effect::kMessageBox), before + 1);
        EXPECT_EQ(shown->Field("caption")->text, u"Caption");
        EXPECT_EQ(shown->Field("text")->text, u"Line one\nLine two");
        EXPECT_EQ(shown->Field("icon")->number, MB_ICONINFORMATION);

        host::PressKey(closer);
        EXPECT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0)) << int(closer);
        EXPECT_EQ(call.result.load(), IDOK);
        EXPECT_EQ(Box(), nullptr);
        std::optional<host::Effect> closed = host::LastEffect(host::effect::kMessageBoxClosed);
        ASSERT_TRUE(closed.has_value());
        EXPECT_EQ(closed->Field("box")->number, shown->id);
        CloseHandle(thread);
    }
}

TEST(MessageBoxes, TheOwnerIsDisabledWhileTheBoxIsUp) {
    testing_support::TempDevice device;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"BoxOwner";
    RegisterClassW(&wc);
    testing_support::WindowThread owner([] {
        return CreateWindowExW(0, u"BoxOwner", u"owner", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                               nullptr);
    });
    ASSERT_TRUE(owner.Start());
    BoxCall call;
    call.owner = owner.Window();
    call.type = MB_ICONERROR;
    HANDLE thread = CreateThread(nullptr, 0, ShowBox, &call, 0, nullptr);
    ASSERT_TRUE(testing_support::PumpUntil([] { return Box() != nullptr; }));
    EXPECT_FALSE(IsWindowEnabled(owner.Window())) << "disabled before the box shows";
    host::WaitForIdle();  // the box's loop is waiting for its keys
    EXPECT_EQ(host::LastEffect(host::effect::kMessageBox)->Field("icon")->number, MB_ICONERROR);
    host::PressKey(VK_RETURN);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(IsWindowEnabled(owner.Window()));
    CloseHandle(thread);

    // A box whose window cannot be made shows nothing, logs nothing and
    // gives the owner back enabled.
    const int logged = host::CountEffects(host::effect::kMessageBox);
    host::FailCall("CreateWindowExW", 1, ERROR_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(MessageBoxW(owner.Window(), u"text", u"caption", MB_OK), 0);
    EXPECT_EQ(host::CountEffects(host::effect::kMessageBox), logged);
    EXPECT_TRUE(IsWindowEnabled(owner.Window()));
    EXPECT_TRUE(owner.Stop());
}

}  // namespace
