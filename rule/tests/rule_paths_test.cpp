// The rule's paths through ProcessMessage, on the real store with the
// module loaded as the inbox service loads it.
#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <screen_host.h>

namespace rule_tests {
namespace {

const std::u16string kText = u"IPM.SMStext";
const std::u16string kDelivered = u"REPORT.IPM.SMStext.DR";
const std::u16string kFailed = u"REPORT.IPM.SMStext.NDR";

using Rule = RuleFixture;

TEST_F(Rule, DisableAnswersNotHandledAndTouchesNothing) {
    SetSetting(TEXT("Disable"), 1);
    SetSetting(TEXT("TurnOffScreen"), 1);  // not even read
    host::SetScreenOn(true);
    host::EntryId entry = Arrive(kDelivered, u"Message delivered");
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);
    EXPECT_EQ(eventType_, kUnwrittenEvent);
    bool found = false;
    host::StoredMessage m = Find(host::MessageFolder::Inbox, entry, &found);
    EXPECT_TRUE(found);
    EXPECT_FALSE(m.read);
    EXPECT_TRUE(host::ScreenIsOn());
}

TEST_F(Rule, AnOrdinaryMessageIsLeftAloneAndAnnounced) {
    host::EntryId entry = Arrive(kText, u"Hello there");
    EXPECT_EQ(Process(entry), S_OK);
    // No number to rewrite; the bubble is due (there is no bubble window to
    // show it in, and the service is still told not to notify).
    EXPECT_EQ(eventType_, kUnwrittenEvent);
    EXPECT_EQ(handled_, MRC_HANDLED_DONTCONTINUE);
    bool found = false;
    host::StoredMessage m = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(m.subject, u"Hello there");
    EXPECT_FALSE(m.read);
}

TEST_F(Rule, MessagesPassedOverWriteNeitherOutParameter) {
    SetSetting(TEXT("SMS"), 0);
    SetSetting(TEXT("ShowBubbles"), 0);
    host::EntryId entry = Arrive(kText, u"Call 89161234567");
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(eventType_, kUnwrittenEvent);
    EXPECT_EQ(static_cast<int>(handled_), kUnwrittenHandled);

    // A class that is neither a text nor a report is passed over too.
    host::EntryId other = Arrive(u"IPM.Note", u"mail");
    SetSetting(TEXT("SMS"), 1);
    EXPECT_EQ(Process(other), S_OK);
    EXPECT_EQ(static_cast<int>(handled_), kUnwrittenHandled);
}

TEST_F(Rule, DeliveryReportsAreMarkedReadAndMovedAsTheSettingsSay) {
    SetSetting(TEXT("DeleteDR"), 1);
    SetSetting(TEXT("ShowBubbles"), 0);
    host::EntryId failed = Arrive(kFailed, u"Message to 89161234567 failed");
    EXPECT_EQ(Process(failed), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectMoved));
    EXPECT_EQ(static_cast<int>(handled_), kUnwrittenHandled);
    bool found = false;
    Find(host::MessageFolder::Inbox, failed, &found);
    EXPECT_FALSE(found);
    std::vector<host::StoredMessage> deleted = host::ListMessages(host::MessageFolder::DeletedItems);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].subject, u"Message to 89161234567 failed");
    EXPECT_TRUE(deleted[0].read);

    // Marking alone, without moving.
    SetSetting(TEXT("DeleteDR"), 0);
    host::EntryId delivered = Arrive(kDelivered, u"Delivered");
    EXPECT_EQ(Process(delivered), S_OK);
    EXPECT_EQ(eventType_, kUnwrittenEvent);
    host::StoredMessage m = Find(host::MessageFolder::Inbox, delivered, &found);
    ASSERT_TRUE(found);
    EXPECT_TRUE(m.read);

    // Neither.
    SetSetting(TEXT("MarkDRAsRead"), 0);
    host::EntryId kept = Arrive(kDelivered, u"Delivered again");
    EXPECT_EQ(Process(kept), S_OK);
    m = Find(host::MessageFolder::Inbox, kept, &found);
    ASSERT_TRUE(found);
    EXPECT_FALSE(m.read);
}

TEST_F(Rule, AReportGetsABubbleOnlyWithShowDR) {
    host::EntryId report = Arrive(kDelivered, u"Delivered");
    EXPECT_EQ(Process(report), S_OK);
    EXPECT_EQ(static_cast<int>(handled_), kUnwrittenHandled);
    SetSetting(TEXT("ShowDR"), 1);
    host::EntryId shown = Arrive(kDelivered, u"Delivered too");
    EXPECT_EQ(Process(shown), S_OK);
    EXPECT_EQ(handled_, MRC_HANDLED_DONTCONTINUE);
}

TEST_F(Rule, TheExcludedProfileTurnsTheScreenOffForEveryMessage) {
    SetSetting(TEXT("TurnOffScreen"), 1);
    SetSettingText(TEXT("ExcludeProfile"), u"Meeting");
    SetActiveProfile(u"Normal");
    host::SetScreenOn(true);
    EXPECT_EQ(Process(Arrive(kText, u"one")), S_OK);
    EXPECT_TRUE(host::ScreenIsOn());

    SetActiveProfile(u"Meeting");
    SetSetting(TEXT("SMS"), 0);
    SetSetting(TEXT("ShowBubbles"), 0);  // passed over, and still the screen goes off
    EXPECT_EQ(Process(Arrive(kText, u"two")), S_OK);
    EXPECT_FALSE(host::ScreenIsOn());
    EXPECT_EQ(static_cast<int>(handled_), kUnwrittenHandled);
}

TEST_F(Rule, AnEmptyExcludedProfileMatchesAMissingActiveProfile) {
    SetSetting(TEXT("TurnOffScreen"), 1);
    host::SetScreenOn(true);
    EXPECT_EQ(Process(Arrive(kText, u"no profiles key at all")), S_OK);
    EXPECT_FALSE(host::ScreenIsOn());
}

TEST_F(Rule, NoBubbleInTheExcludedProfile) {
    SetSetting(TEXT("DisableBubblesInProfile"), 1);
    SetSettingText(TEXT("ExcludeProfile"), u"Silent");
    SetActiveProfile(u"Silent");
    host::SetScreenOn(true);
    EXPECT_EQ(Process(Arrive(kText, u"quiet")), S_OK);
    EXPECT_EQ(static_cast<int>(handled_), kUnwrittenHandled);
    EXPECT_TRUE(host::ScreenIsOn());  // TurnOffScreen is clear

    SetActiveProfile(u"Normal");
    EXPECT_EQ(Process(Arrive(kText, u"loud")), S_OK);
    EXPECT_EQ(handled_, MRC_HANDLED_DONTCONTINUE);
}

TEST_F(Rule, AFailingStoreCallEndsInNotHandledWithSuccess) {
    host::EntryId entry = Arrive(kDelivered, u"Delivered");

    host::FailCall("IMsgStore::OpenEntry", 1, MAPI_E_NOT_FOUND);
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);
    EXPECT_EQ(eventType_, kUnwrittenEvent);

    host::FailCall("IMessage::GetProps", 1, E_FAIL);
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);

    // Marking read fails: the report stays unread and in place.
    host::FailCall("IMessage::SetProps", 1, E_FAIL);
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);
    bool found = false;
    host::StoredMessage m = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_FALSE(m.read);

    // An unknown entry identifier.
    host::EntryId bogus(entry.size(), 0xEE);
    EXPECT_EQ(Process(bogus), S_OK);
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);
}

TEST_F(Rule, AMoveThatFailsAfterMarkingKeepsTheMark) {
    SetSetting(TEXT("DeleteDR"), 1);
    SetSetting(TEXT("ShowBubbles"), 0);
    host::EntryId entry = Arrive(kDelivered, u"Delivered");
    host::FailCall("IMAPIFolder::CopyMessages", 1, E_FAIL);
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);
    EXPECT_EQ(eventType_, kUnwrittenEvent);
    bool found = false;
    host::StoredMessage m = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_TRUE(m.read);
}

}  // namespace
}  // namespace rule_tests
