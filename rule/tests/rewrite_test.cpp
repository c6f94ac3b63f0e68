// The rule's paths that rewrite numbers into names, with the real contact
// store behind them.
#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <pimstore_host.h>

namespace rule_tests {
namespace {

class Rewrite : public RuleFixture {
protected:
    void SetUp() override {
        RuleFixture::SetUp();
        ASSERT_TRUE(host::RegisterContactStore());
        host::ContactRecord mirela;
        mirela.firstName = u"Mirela";
        mirela.lastName = u"Dovanne";
        mirela.phones[0] = u"89161234567";  // mobile
        ASSERT_NE(host::AddContact(mirela), 0);
        SetSetting(TEXT("UseFileAs"), 0);
    }
    std::u16string SubjectIn(host::MessageFolder folder, const std::u16string& start) {
        for (const host::StoredMessage& m : host::ListMessages(folder))
            if (m.subject.compare(0, start.size(), start) == 0) return m.subject;
        return u"<none>";
    }
};

TEST_F(Rewrite, ATextMessageGetsTheNameWrittenBack) {
    host::EntryId entry = Arrive(u"IPM.SMStext", u"Call me at 8 916 123 45 67 tonight");
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
    EXPECT_EQ(handled_, MRC_HANDLED_DONTCONTINUE);  // rewritten, and a bubble is due
    bool found = false;
    EXPECT_EQ(Find(host::MessageFolder::Inbox, entry, &found).subject,
              u"Call me at Dovanne Mirela,m (8 916 123 45 67) tonight");

    // Without bubbles the rule goes on to the next client.
    SetSetting(TEXT("ShowBubbles"), 0);
    host::EntryId second = Arrive(u"IPM.SMStext", u"Or at +7 916 123-45-67");
    EXPECT_EQ(Process(second), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
    EXPECT_EQ(handled_, MRC_HANDLED_CONTINUE);
    EXPECT_EQ(Find(host::MessageFolder::Inbox, second, &found).subject, u"Or at Dovanne Mirela,m (+7 916 123-45-67)");
}

TEST_F(Rewrite, BubblesAloneStillRewriteTextMessages) {
    SetSetting(TEXT("SMS"), 0);
    host::EntryId entry = Arrive(u"IPM.SMStext", u"Number 89161234567 here");
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
    bool found = false;
    EXPECT_EQ(Find(host::MessageFolder::Inbox, entry, &found).subject, u"Number Dovanne Mirela,m (89161234567) here");

    // A number of nobody stays as written, and nothing is written back.
    host::EntryId other = Arrive(u"IPM.SMStext", u"Number 89160000000 here");
    EXPECT_EQ(Process(other), S_OK);
    EXPECT_EQ(eventType_, 0u);
    EXPECT_EQ(Find(host::MessageFolder::Inbox, other, &found).subject, u"Number 89160000000 here");
}

TEST_F(Rewrite, ADeliveredReportTakesTheCustomTextAndIsMoved) {
    SetSetting(TEXT("UseCustomText"), 1);
    SetSettingText(TEXT("CustomText"), u"Delivered to @s! 100%");
    SetSetting(TEXT("DeleteDR"), 1);
    host::EntryId entry = Arrive(u"REPORT.IPM.SMStext.DR", u"Message you sent to 89161234567 has been delivered");
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified | fnevObjectMoved));
    EXPECT_EQ(handled_, MRC_HANDLED_CONTINUE);  // no bubble for reports without ShowDR
    EXPECT_EQ(SubjectIn(host::MessageFolder::DeletedItems, u"Delivered"),
              u"Delivered to Dovanne Mirela,m (89161234567)! 100%");

    // A failed report never takes the custom text.
    host::EntryId failed = Arrive(u"REPORT.IPM.SMStext.NDR", u"Message you sent to 89161234567 failed");
    EXPECT_EQ(Process(failed), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified | fnevObjectMoved));
    EXPECT_EQ(SubjectIn(host::MessageFolder::DeletedItems, u"Message you sent"),
              u"Message you sent to Dovanne Mirela,m (89161234567) failed");
}

TEST_F(Rewrite, AFailedMoveAfterTheWriteBackKeepsTheNewText) {
    SetSetting(TEXT("DeleteDR"), 1);
    host::EntryId entry = Arrive(u"REPORT.IPM.SMStext.DR", u"Message you sent to 89161234567 has been delivered");
    host::FailCall("IMAPIFolder::CopyMessages", 1, E_FAIL);
    EXPECT_EQ(Process(entry), S_OK);
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
    EXPECT_EQ(handled_, MRC_NOT_HANDLED);
    bool found = false;
    host::StoredMessage m = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(m.subject, u"Message you sent to Dovanne Mirela,m (89161234567) has been delivered");
    EXPECT_TRUE(m.read);
}

TEST_F(Rewrite, ANameThatCannotBeWrittenBackEndsTheRuleQuietly) {
    SetSetting(TEXT("ShowBubbles"), 0);
    // Every MAPI allocation of one whole run fails in turn: the rule always
    // answers S_OK, and the message keeps either its own text or the whole
    // new one, with the event type telling which.
    host::EntryId calibration = Arrive(u"IPM.SMStext", u"Call 89161234567");
    host::ClearFaults();
    ASSERT_EQ(Process(calibration), S_OK);
    ASSERT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
    bool found = false;
    const std::u16string rewritten = Find(host::MessageFolder::Inbox, calibration, &found).subject;
    ASSERT_NE(rewritten, u"Call 89161234567");
    int allocations = host::CallCount("MAPIAllocateBuffer");
    ASSERT_GE(allocations, 1);

    int unchanged = 0;
    for (int failing = 1; failing <= allocations; ++failing) {
        host::EntryId entry = Arrive(u"IPM.SMStext", u"Call 89161234567");
        host::ClearFaults();
        host::FailCall("MAPIAllocateBuffer", failing, MAPI_E_NOT_ENOUGH_MEMORY);
        eventType_ = 0;
        handled_ = static_cast<MRCHANDLED>(kUnwrittenHandled);
        EXPECT_EQ(Process(entry), S_OK) << failing;
        std::u16string subject = Find(host::MessageFolder::Inbox, entry, &found).subject;
        if (subject == u"Call 89161234567") {
            ++unchanged;
            EXPECT_EQ(eventType_, 0u) << failing;
        } else {
            EXPECT_EQ(subject, rewritten) << failing;
            EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified)) << failing;
        }
    }
    // Writing the text back needs memory of its own: some failure left the text.
    EXPECT_GT(unchanged, 0);
}

}  // namespace
}  // namespace rule_tests
