#include "BubbleTestSupport.h"

#include "NotificationHandoff.h"

#include <WindowThread.h>
#include <coredll_host.h>
#include <htmlview_host.h>
#include <shell_host.h>

namespace bubble_tests {

void BubbleTest::SetUp() {}

void BubbleTest::Start(const host::ScreenProfile& profile) {
    host::SetScreenProfile(profile);
    std::string error;
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    ASSERT_TRUE(host::StartShell());
    store_ = host::OpenMessageStore();
    ASSERT_NE(store_, nullptr);
    ASSERT_TRUE(CreateBubbleThreadState(GetModuleHandleW(nullptr)));
    GetBubbleThread();
    ASSERT_NE(Bubble(), nullptr);
    started_ = true;
}

void BubbleTest::TearDown() {
    if (started_) {
        StopBubbleThread();
        FreeBubbleThreadState();
    }
    if (store_) store_->Release();
    // What the bubble loaded (the call manager with its screen) goes too, as
    // at the end of a session, so that no thread of it outlives the test.
    host::UnloadAllModules();
    host::StopShell();
    host::StopMessageStore();
}

HWND BubbleTest::Bubble() const { return BubbleWindowHandle(GetBubbleThread()); }
bool BubbleTest::Shown() const { return IsWindowVisible(Bubble()) != FALSE; }

std::u16string BubbleTest::Title() const {
    WCHAR text[128] = {};
    GetWindowTextW(Bubble(), text, 128);
    return text;
}

RECT BubbleTest::Rect() const {
    RECT r = {};
    GetWindowRect(Bubble(), &r);
    return r;
}

host::MenuBarView BubbleTest::SoftKeys() const {
    host::MenuBarView view;
    host::DescribeMenuBar(host::ActiveMenuBar(), &view);
    return view;
}

std::u16string BubbleTest::Page() const {
    HWND view = HtmlViewOf(Bubble());
    return host::HtmlViewSource(view);
}

host::EntryId BubbleTest::Arrive(const std::u16string& text, const std::u16string& sender, const std::u16string& cls) {
    return host::StoreArrivingMessage(host::MessageFolder::Inbox, cls, text, sender, sender);
}

void BubbleTest::HandOver(const host::EntryId& entry, const std::u16string& html, const std::u16string& name,
                          const std::u16string& sender, bool ordinary) {
    IMessage* message = nullptr;
    ASSERT_EQ(store_->OpenEntry(static_cast<ULONG>(entry.size()),
                                reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entry.data())), nullptr, MAPI_MODIFY,
                                nullptr, reinterpret_cast<IUnknown**>(&message)),
              S_OK);
    DeliverNotification(GetBubbleThread(), WString::FromText(html.c_str()), WString::FromText(name.c_str()),
                        WString::FromText(sender.c_str()), store_, message, ordinary ? TRUE : FALSE);
    message->Release();
    ASSERT_TRUE(host::ListArrivedMessage(entry));
    Settle();
}

host::EntryId BubbleTest::Announce(const std::u16string& text, const std::u16string& name,
                                   const std::u16string& sender) {
    host::EntryId entry = Arrive(text, sender);
    HandOver(entry, text, name, sender);
    return entry;
}

void BubbleTest::SetLocked(bool locked) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"System\\State", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    DWORD value = locked ? 1 : 0;
    RegSetValueExW(key, u"Lock", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

void BubbleTest::ReadAllWaiting() {
    for (const host::StoredMessage& m : host::ListMessages(host::MessageFolder::Inbox))
        if (!m.read) host::SetMessageRead(m.entry, true);
    Settle();
}

bool BubbleTest::InFolder(host::MessageFolder folder, const host::EntryId& entry, bool* read) {
    for (const host::StoredMessage& m : host::ListMessages(folder))
        if (m.entry == entry) {
            if (read) *read = m.read;
            return true;
        }
    return false;
}

void BubbleTest::Settle() const {
    // Until the UI thread has handled what was sent and posted to it, and
    // the helpers it started (the one that shows the bubble and brings it
    // in front) have done their work: a fixed pause is too short on a
    // loaded machine.
    ASSERT_TRUE(host::WaitForIdle(10000)) << "the device did not settle";
}

void BubbleTest::Press(BYTE vk) {
    host::PressKey(vk);
    Settle();
}

bool BubbleTest::Eventually(const std::function<bool()>& condition) {
    return testing_support::PumpUntil(condition, 5000);
}

}  // namespace bubble_tests
