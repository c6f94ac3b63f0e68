// The modal loop: DialogBoxIndirectParamW disables the owner, handles what
// is posted and sent to the thread meanwhile, and returns EndDialog's value
// with the owner enabled again; WM_QUIT ends it; WM_SIZE reaches the dialog;
// DeferWindowPos moves the controls together.
#include "DialogProbe.h"

#include <TempDevice.h>
#include <screen_host.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace dialog_tests;

const UINT WM_STEP = WM_APP + 1;
const UINT WM_FROM_THREAD = WM_APP + 2;

// What the dialog procedure runs: a script of steps, one per posted
// WM_STEP, so that each step sees the effects of the one before.
struct Script {
    std::vector<std::function<void(HWND)>> steps;
    std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> other;
    size_t next = 0;
};

Script* g_script = nullptr;

INT_PTR CALLBACK ScriptedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!g_script) return FALSE;
    if (msg == WM_INITDIALOG) PostMessageW(hwnd, WM_STEP, 0, 0);
    if (msg == WM_STEP && g_script->next < g_script->steps.size()) {
        g_script->steps[g_script->next++](hwnd);
        if (IsWindow(hwnd)) PostMessageW(hwnd, WM_STEP, 0, 0);
        return TRUE;
    }
    if (g_script->other) return g_script->other(hwnd, msg, wParam, lParam);
    return msg == WM_INITDIALOG;
}

DWORD WINAPI SendFromThread(LPVOID param) {
    return static_cast<DWORD>(SendMessageW(static_cast<HWND>(param), WM_FROM_THREAD, 0, 0));
}

class ModalDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        profile = host::GetScreenProfile();
        host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
        RegisterProbeClasses();
        owner = CreateWindowExW(0, u"Probe", u"owner", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr, nullptr, nullptr);
        SetForegroundWindow(owner);
        g_script = &script;
    }
    void TearDown() override {
        g_script = nullptr;
        DestroyWindow(owner);
        host::SetScreenProfile(profile);
    }
    INT_PTR Run(int id = IDD_CONTROLS) {
        return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), Template(id), owner, ScriptedProc, 0);
    }

    testing_support::TempDevice device;
    host::ScreenProfile profile;
    HWND owner = nullptr;
    Script script;
};

TEST_F(ModalDialogs, TheLoopReturnsEndDialogsValueAndDisablesTheOwnerMeanwhile) {
    HWND dialog = nullptr;
    bool ownerEnabled = true, visible = false, inFront = false;
    script.steps.push_back([&](HWND hwnd) {
        dialog = hwnd;
        ownerEnabled = IsWindowEnabled(owner) != FALSE;
        visible = IsWindowVisible(hwnd) != FALSE;
        inFront = GetForegroundWindow() == hwnd;
    });
    script.steps.push_back([&](HWND hwnd) { EndDialog(hwnd, 42); });
    EXPECT_EQ(Run(), 42);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(visible);
    EXPECT_TRUE(inFront);
    EXPECT_FALSE(IsWindow(dialog)) << "the dialog is destroyed when the loop ends";
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetForegroundWindow(), owner) << "the owner takes the activation back";
}

TEST_F(ModalDialogs, MessagesSentFromAnotherThreadAreHandledInTheLoop) {
    HANDLE thread = nullptr;
    script.steps.push_back([&](HWND hwnd) { thread = CreateThread(nullptr, 0, SendFromThread, hwnd, 0, nullptr); });
    script.other = [](HWND hwnd, UINT msg, WPARAM, LPARAM) -> INT_PTR {
        if (msg != WM_FROM_THREAD) return msg == WM_INITDIALOG;
        EndDialog(hwnd, 7);
        SetWindowLongPtrW(hwnd, DWL_MSGRESULT, 77);
        return TRUE;
    };
    EXPECT_EQ(Run(), 7);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 77u) << "the sender gets DWL_MSGRESULT";
    CloseHandle(thread);
}

TEST_F(ModalDialogs, EndingInWmInitDialogNeverShowsTheDialog) {
    bool shown = false;
    script.other = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> INT_PTR {
        if (msg == WM_INITDIALOG) EndDialog(hwnd, -1);
        if (msg == WM_SHOWWINDOW) shown = true;
        return msg == WM_INITDIALOG;
    };
    script.steps.push_back([](HWND) { ADD_FAILURE() << "the loop ran"; });
    EXPECT_EQ(Run(IDD_SETTINGS), -1);
    EXPECT_FALSE(shown);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ModalDialogs, QuitEndsTheLoopAndStaysForTheOuterOne) {
    script.steps.push_back([](HWND) { PostQuitMessage(3); });
    EXPECT_EQ(Run(), 0);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(ModalDialogs, ResizingSendsWmSizeAndDeferWindowPosMovesTheControlsTogether) {
    LPARAM size = 0;
    RECT firstBefore{}, secondBefore{}, firstMid{}, firstAfter{}, secondAfter{};
    script.other = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> INT_PTR {
        if (msg == WM_SIZE) size = lParam;
        return msg == WM_INITDIALOG;
    };
    script.steps.push_back([&](HWND hwnd) {
        SetWindowPos(hwnd, nullptr, 0, 0, 200, 150, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(hwnd, &client);
        EXPECT_EQ(size, MAKELPARAM(client.right, client.bottom));
        firstBefore = PlaceOf(hwnd, IDC_FIRST);
        secondBefore = PlaceOf(hwnd, IDC_SECOND);
        HDWP defer = BeginDeferWindowPos(2);
        defer = DeferWindowPos(defer, GetDlgItem(hwnd, IDC_FIRST), nullptr, 5, 60, 50, 20, SWP_NOZORDER);
        defer = DeferWindowPos(defer, GetDlgItem(hwnd, IDC_SECOND), nullptr, 60, 60, 30, 20, SWP_NOZORDER);
        ASSERT_NE(defer, nullptr);
        firstMid = PlaceOf(hwnd, IDC_FIRST);
        EXPECT_TRUE(EndDeferWindowPos(defer));
        firstAfter = PlaceOf(hwnd, IDC_FIRST);
        secondAfter = PlaceOf(hwnd, IDC_SECOND);
    });
    script.steps.push_back([](HWND hwnd) { EndDialog(hwnd, 0); });
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(EqualRect(&firstMid, &firstBefore)) << "nothing moves before EndDeferWindowPos";
    RECT wantFirst{5, 60, 55, 80}, wantSecond{60, 60, 90, 80};
    EXPECT_TRUE(EqualRect(&firstAfter, &wantFirst));
    EXPECT_TRUE(EqualRect(&secondAfter, &wantSecond));
    EXPECT_FALSE(EqualRect(&secondBefore, &secondAfter));
}

TEST_F(ModalDialogs, TheFocusGivenByTheProgramIsScrolledIntoView) {
    RECT client{}, last{}, handed{};
    script.steps.push_back([&](HWND hwnd) {
        SetWindowPos(hwnd, nullptr, 0, 0, 240, 320, SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(hwnd, &client);
        SetFocus(GetDlgItem(hwnd, IDC_LAST));
    });
    script.steps.push_back([&](HWND hwnd) {
        last = PlaceOf(hwnd, IDC_LAST);
        SendMessageW(hwnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(hwnd, IDC_FIRST)), TRUE);
        EXPECT_EQ(GetDlgCtrlID(GetFocus()), IDC_FIRST);
        handed = PlaceOf(hwnd, IDC_FIRST);
        EndDialog(hwnd, 0);
    });
    EXPECT_EQ(Run(IDD_SETTINGS), 0);
    EXPECT_GE(last.top, 0);
    EXPECT_LE(last.bottom, client.bottom) << "SetFocus from the program";
    EXPECT_GE(handed.top, 0) << "WM_NEXTDLGCTL with a control";
}

// WM_INITDIALOG's answer decides the first focus: TRUE puts it on the first
// tab stop even where the procedure had set it, FALSE keeps the procedure's.
TEST_F(ModalDialogs, TrueFromWmInitDialogFocusesTheFirstTabStopAndFalseKeepsTheProgramsFocus) {
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep ? "FALSE" : "TRUE");
        int focused = 0;
        script.other = [keep](HWND hwnd, UINT msg, WPARAM, LPARAM) -> INT_PTR {
            if (msg != WM_INITDIALOG) return FALSE;
            SetFocus(GetDlgItem(hwnd, IDC_LAST));
            return keep ? FALSE : TRUE;
        };
        script.steps = {[&](HWND hwnd) {
            focused = GetDlgCtrlID(GetFocus());
            EndDialog(hwnd, 0);
        }};
        script.next = 0;
        EXPECT_EQ(Run(IDD_SETTINGS), 0);
        EXPECT_EQ(focused, keep ? IDC_LAST : IDC_DISABLE);
    }
}

}  // namespace
