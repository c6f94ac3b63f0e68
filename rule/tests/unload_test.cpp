// The module going away with the bubble up, as at the end of the inbox
// service's process: the last references released, then the process's
// modules unloaded. The bubble's thread is asked to close its window and
// ends; the keys go back to the shell; the message stays as it was.
#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <screen_host.h>

namespace rule_tests {
namespace {

class Unload : public BubbleRuleFixture {};

bool ShellHoldsEnd() {
    for (const host::HotKeyInfo& info : host::ListHotKeys())
        if (info.vk == VK_F4 && info.window == "MSCProg") return true;
    return false;
}

TEST_F(Unload, TheModuleGoesWithTheBubbleUpAndGivesTheKeysBack) {
    SetSetting(TEXT("ShowBubbles"), 1);
    host::EntryId entry = Arrive(u"IPM.SMStext", u"still here", u"+79169876543");
    ASSERT_EQ(Process(entry), S_OK);
    host::ListArrivedMessage(entry);
    host::WaitForIdle();
    ASSERT_NE(BubbleWindow(), nullptr);
    ASSERT_TRUE(IsWindowVisible(BubbleWindow()));
    EXPECT_FALSE(ShellHoldsEnd()) << "the bubble holds End while it is up";

    client_->Release();
    client_ = nullptr;
    store_->Release();
    store_ = nullptr;
    CoFreeUnusedLibraries();
    host::UnloadAllModules();

    EXPECT_EQ(BubbleWindow(), nullptr) << "the window went with its thread";
    EXPECT_TRUE(ShellHoldsEnd()) << "End is the shell's again";
    bool found = false;
    host::StoredMessage m = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(m.subject, u"still here");
    EXPECT_FALSE(m.read);
}

}  // namespace
}  // namespace rule_tests
