// A visible top-level window whose procedure records what its controls
// tell it, and helpers to make controls under it and press keys at them.
#pragma once

#include <MessageRecorder.h>
#include <screen_host.h>
#include <gtest/gtest.h>
#include <windows.h>

namespace control_tests {

class ControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::MessageRecorder::RegisterRecordingClass(u"ControlParent");
        parent = CreateWindowExW(0, u"ControlParent", u"parent", WS_VISIBLE, 0, 0, 240, 300, nullptr, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(parent, nullptr);
        recorder.Pump();
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND Make(LPCWSTR cls, LPCWSTR text, DWORD style, int id, int x = 4, int y = 4, int w = 150, int h = 20) {
        return CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    // Presses a key as the keyboard does (to the focus window) and handles
    // what follows, characters included.
    void Press(BYTE vk) {
        host::PressKey(vk);
        recorder.Pump();
    }
    // The notifications the parent got, as (id, code) pairs, oldest first.
    std::vector<std::pair<int, int>> Commands() {
        std::vector<std::pair<int, int>> commands;
        for (const testing_support::Recorded& r : recorder.Take(parent))
            if (r.message == WM_COMMAND) commands.emplace_back(LOWORD(r.wParam), HIWORD(r.wParam));
        return commands;
    }
    static std::u16string TextOf(HWND hwnd) {
        WCHAR buffer[256] = {};
        GetWindowTextW(hwnd, buffer, 256);
        return buffer;
    }

    testing_support::MessageRecorder recorder;
    HWND parent = nullptr;
};

using CommandList = std::vector<std::pair<int, int>>;

}  // namespace control_tests
