// The rule's text passes: the page text handed to the bubble carries no
// markup of the message's own, whichever way the links pass ends.
#include "MessageText.h"

#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>

#include <string>

namespace {

std::u16string Of(const WString& s) { return s.Text() ? std::u16string(s.Text(), s.Length()) : std::u16string(); }

TEST(MessageText, TheBubbleTextIsEscapedWithOrWithoutLinksAndWhenMemoryRunsOut) {
    testing_support::TempDevice device;
    Settings settings;
    EXPECT_EQ(Of(BubbleText(WString::FromText(TEXT("a <b>&'\" c")), settings)), u"a &lt;b&gt;&amp;&#39;&quot; c");
    EXPECT_EQ(Of(BubbleText(WString::FromText(TEXT("plain")), settings)), u"plain");
    EXPECT_EQ(Of(BubbleText(WString::FromText(TEXT("<i>call 89161234567</i>")), settings)),
              u"&lt;i&gt;call <a href='tel:89161234567' name='tel1'>89161234567</a>&lt;/i&gt;");

    // Every allocation failing in turn: the result is escaped text or empty,
    // never the message's own markup.
    for (int nth = 1; nth <= 8; ++nth) {
        host::FailCall("LocalAlloc", nth, ERROR_NOT_ENOUGH_MEMORY, 100);
        std::u16string html = Of(BubbleText(WString::FromText(TEXT("<script>x</script> 89161234567")), settings));
        host::ClearFaults();
        EXPECT_EQ(html.find(u"<script"), std::u16string::npos) << nth;
    }
}

TEST(MessageText, TheKindOfAMessageComesFromItsClass) {
    MessageKind text = KindOfMessage(TEXT("IPM.SMStext"));
    EXPECT_TRUE(text.textMessage);
    EXPECT_FALSE(text.report);
    MessageKind delivered = KindOfMessage(TEXT("REPORT.IPM.SMStext.DR"));
    EXPECT_TRUE(delivered.report);
    EXPECT_TRUE(delivered.delivered);
    EXPECT_FALSE(delivered.textMessage);
    MessageKind failed = KindOfMessage(TEXT("REPORT.IPM.SMStext.NDR"));
    EXPECT_TRUE(failed.report);
    EXPECT_FALSE(failed.delivered);
    MessageKind none = KindOfMessage(nullptr);
    EXPECT_FALSE(none.report || none.textMessage || none.delivered);
    EXPECT_FALSE(KindOfMessage(TEXT("X.IPM.SMStext")).textMessage);  // only at the start
}

}  // namespace
