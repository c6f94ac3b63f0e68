// The messaging application as the bubble opens it: the composer, the
// reader (which marks its message read through the store) and the SMS
// inbox, each recorded and in front until Back or End; bad arguments open
// nothing.
#include "MapiTestHelpers.h"

#include <WindowThread.h>
#include <cstring>
#include <effect_log.h>
#include <screen_host.h>

namespace {

using namespace mapitest;

class Mail : public StoreTest {
protected:
    HWND App() { return FindWindowW(u"MessagingApp", nullptr); }
    std::u16string AppTitle() {
        WCHAR text[128] = {};
        GetWindowTextW(App(), text, 128);
        return text;
    }
    const host::EffectField* LastOpened(const char* field) {
        last_ = host::LastEffect(host::effect::kOpened);
        return last_ ? last_->Field(field) : nullptr;
    }
    std::optional<host::Effect> last_;
};

TEST_F(Mail, TheComposerIsAddressedToTheRecipientAndBackClosesIt) {
    MAILCOMPOSEFIELDS fields = {};
    fields.cbSize = sizeof fields;
    fields.dwFlags = MCF_ACCOUNT_IS_NAME;
    fields.pszTo = u"+79161234567";
    fields.pszAccount = u"SMS";
    fields.pszMsgClass = u"IPM.SMStext";
    ASSERT_EQ(MailComposeMessage(&fields), S_OK);
    ASSERT_NE(App(), nullptr);
    EXPECT_EQ(GetForegroundWindow(), App());
    EXPECT_EQ(LastOpened("app")->text, u"composer");
    EXPECT_EQ(LastOpened("to")->text, u"+79161234567");
    EXPECT_EQ(LastOpened("account")->text, u"SMS");
    EXPECT_EQ(LastOpened("class")->text, u"IPM.SMStext");
    host::PressKey(VK_TBACK);
    EXPECT_TRUE(testing_support::PumpUntil([&] { return App() == nullptr; }));

    // A wrong size or another account: refused, nothing opened or recorded.
    const int opened = host::CountEffects(host::effect::kOpened);
    fields.cbSize = 36;
    EXPECT_EQ(MailComposeMessage(&fields), E_INVALIDARG);
    fields.cbSize = sizeof fields;
    fields.pszAccount = u"ActiveSync";
    EXPECT_EQ(MailComposeMessage(&fields), E_INVALIDARG);
    EXPECT_EQ(host::CountEffects(host::effect::kOpened), opened);
    EXPECT_EQ(App(), nullptr);
}

// Any program may make a window of the application's class with creation
// data of its own: the window takes none of it, paints and closes without
// touching it, and leaves its thread running.
TEST_F(Mail, AnApplicationWindowMadeByAnotherTakesNoneOfItsCreationData) {
    MAILCOMPOSEFIELDS fields = {};
    fields.cbSize = sizeof fields;
    fields.dwFlags = MCF_ACCOUNT_IS_NAME;
    fields.pszAccount = u"SMS";
    ASSERT_EQ(MailComposeMessage(&fields), S_OK);
    host::PressKey(VK_TBACK);
    ASSERT_TRUE(testing_support::PumpUntil([&] { return App() == nullptr; }));

    BYTE data[512];
    std::memset(data, 0xAB, sizeof data);
    HWND made = CreateWindowExW(0, u"MessagingApp", u"made", WS_VISIBLE, 0, 0, 240, 300, nullptr, nullptr, nullptr,
                                data);
    ASSERT_NE(made, nullptr);
    UpdateWindow(made);
    SendMessageW(made, WM_KEYDOWN, VK_TBACK, 0);
    EXPECT_FALSE(IsWindow(made)) << "Back closes it";
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "and no quit is posted to this thread";
    for (BYTE b : data) ASSERT_EQ(b, 0xAB) << "its creation data is left as it was";
}

TEST_F(Mail, TheReaderShowsItsMessageAndMarksItReadThroughTheStore) {
    Bytes id = Deliver(u"see you at six");
    RecordingSink* sink = new RecordingSink;
    ULONG connection = 0;
    ASSERT_EQ(S_OK, store_->Advise(0, nullptr, fnevObjectModified, sink, &connection));
    ASSERT_EQ(MailDisplayMessage(Id(id), Size(id)), S_OK);
    EXPECT_EQ(AppTitle(), u"Mirela");
    EXPECT_EQ(LastOpened("app")->text, u"reader");
    std::vector<RecordingSink::Seen> seen = sink->WaitFor(1);
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(id, seen[0].entry);
    ASSERT_TRUE(seen[0].tags);
    EXPECT_EQ(std::vector<ULONG>{PR_MESSAGE_FLAGS}, *seen[0].tags);
    EXPECT_TRUE(host::ListMessages(host::MessageFolder::Inbox).at(0).read);
    store_->Unadvise(connection);
    sink->Release();
    host::PressKey(VK_F4);  // End closes it too
    EXPECT_TRUE(testing_support::PumpUntil([&] { return App() == nullptr; }));

    const int opened = host::CountEffects(host::effect::kOpened);
    Bytes folder = FolderId(host::MessageFolder::Inbox);
    EXPECT_EQ(MailDisplayMessage(Id(folder), Size(folder)), E_INVALIDARG) << "a folder is no message";
    EXPECT_EQ(MailDisplayMessage(nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(host::CountEffects(host::effect::kOpened), opened);
}

TEST_F(Mail, TheInboxListsTheMessagesOfTheTextAccount) {
    Deliver(u"first");
    Deliver(u"second", true);
    ASSERT_EQ(MailSwitchToAccount(u"SMS", MCF_ACCOUNT_IS_NAME), S_OK);
    EXPECT_EQ(AppTitle(), u"Text Messages");
    EXPECT_EQ(LastOpened("app")->text, u"inbox");
    EXPECT_EQ(LastOpened("account")->text, u"SMS");
    host::PressKey(VK_TBACK);
    EXPECT_TRUE(testing_support::PumpUntil([&] { return App() == nullptr; }));
    EXPECT_EQ(MailSwitchToAccount(nullptr, 0), E_INVALIDARG);
    EXPECT_EQ(MailSwitchToAccount(u"Outlook", MCF_ACCOUNT_IS_NAME), E_INVALIDARG);
}

}  // namespace
