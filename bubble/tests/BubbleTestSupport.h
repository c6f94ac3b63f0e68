// What the bubble's tests share: a fresh device with the shell (the home
// screen the bubble floats over) and the message store, the bubble's UI
// thread started as the rule client starts it, messages handed over as the
// rule hands them, and what a person sees of the bubble.
#pragma once

#include "BubbleThread.h"

#include <TempDevice.h>
#include <aygshell_host.h>
#include <cemapi.h>
#include <cemapi_host.h>
#include <gtest/gtest.h>
#include <screen_host.h>

#include <functional>
#include <string>

namespace bubble_tests {

// The bubble's HTML view: its child of class "DISPLAYCLASS".
inline HWND HtmlViewOf(HWND parent) {
    for (HWND w = GetWindow(parent, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
        WCHAR name[32] = {};
        if (GetClassNameW(w, name, 32) && std::u16string(name) == u"DISPLAYCLASS") return w;
    }
    return nullptr;
}

// Whether a window of the class holds the End key (VK_F4) as a hotkey.
inline bool HoldsEnd(const std::string& windowClass) {
    for (const host::HotKeyInfo& info : host::ListHotKeys())
        if (info.vk == VK_F4 && info.window == windowClass) return true;
    return false;
}

// The references an object holds now, read without changing them.
inline ULONG References(IUnknown* object) {
    object->AddRef();
    return object->Release();
}

class BubbleTest : public ::testing::Test {
protected:
    // The screen to start with; tests that need another call Start themselves.
    void SetUp() override;
    void TearDown() override;
    void Start(const host::ScreenProfile& profile);

    HWND Bubble() const;
    bool Shown() const;
    std::u16string Title() const;
    RECT Rect() const;
    // The labels of the soft-key bar in front.
    host::MenuBarView SoftKeys() const;
    // The page last loaded into the bubble's HTML view.
    std::u16string Page() const;

    // A message as the inbox service stores it before the rule runs: in the
    // Inbox, unread, not yet listed.
    host::EntryId Arrive(const std::u16string& text, const std::u16string& sender = u"+79161234567",
                         const std::u16string& cls = u"IPM.SMStext");
    // The rule's hand-off of that message, then the message listed.
    void HandOver(const host::EntryId& entry, const std::u16string& html, const std::u16string& name,
                  const std::u16string& sender = u"+79161234567", bool ordinary = true);
    // Both at once, for a plain text.
    host::EntryId Announce(const std::u16string& text, const std::u16string& name = u"Mirela",
                           const std::u16string& sender = u"+79161234567");

    void SetLocked(bool locked);
    // Marks every unread inbox message read, so that the next one is
    // announced alone.
    void ReadAllWaiting();
    // Whether the message is in the folder, and (*read) whether it was read.
    static bool InFolder(host::MessageFolder folder, const host::EntryId& entry, bool* read = nullptr);
    // Presses a key and waits until the UI thread has handled it.
    void Press(BYTE vk);
    // Waits (bounded) until condition holds.
    static bool Eventually(const std::function<bool()>& condition);
    // Lets the UI thread handle everything sent or posted to it so far.
    void Settle() const;

    testing_support::TempDevice device_;
    IMsgStore* store_ = nullptr;
    bool started_ = false;
};

}  // namespace bubble_tests
