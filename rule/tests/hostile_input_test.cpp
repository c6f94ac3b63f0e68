// Hostile input through the whole path: a message, a sender and a contact
// whose texts carry markup, entities, script and telephone links of their
// own, format conversions and control characters reach the bubble's page
// only as text, and only the links the system makes can dial. A text of a
// megabyte goes through as well (the sanitizer build watches every buffer).
#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <effect_log.h>
#include <htmlview_host.h>
#include <screen_host.h>

#include <string>
#include <vector>

namespace rule_tests {
namespace {

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

class HostileInput : public BubbleRuleFixture {
protected:
    // The contact's name parts carry markup, an entity and a script.
    void SetUp() override { SetUpWithContact(u"<b>Mi</b>", u"&amp; \"Dov\" <script>alert(1)</script>"); }

    HWND BubbleView() {
        HWND bubble = BubbleWindow();
        for (int i = 0; i < 2000 && bubble && !IsWindowVisible(bubble); ++i) Sleep(1);
        host::WaitForIdle();
        if (!bubble || !IsWindowVisible(bubble)) return nullptr;
        for (HWND w = GetWindow(bubble, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT)) {
            WCHAR name[32] = {};
            if (GetClassNameW(w, name, 32) && std::u16string(name) == u"DISPLAYCLASS") return w;
        }
        return nullptr;
    }

    static std::vector<std::u16string> Calls() {
        std::vector<host::Effect> effects;
        host::ReadEffects(&effects, host::effect::kCall);
        std::vector<std::u16string> numbers;
        for (const host::Effect& e : effects) numbers.push_back(e.Field("number") ? e.Field("number")->text : u"?");
        return numbers;
    }
};

// A number as the system links it: digits, "+", spaces, brackets and "-".
bool IsDialable(const std::u16string& number) {
    if (number.empty()) return false;
    for (char16_t c : number)
        if (!((c >= u'0' && c <= u'9') || c == u'+' || c == u' ' || c == u'(' || c == u')' || c == u'-')) return false;
    return true;
}

TEST_F(HostileInput, MarkupAndLinksOfTheMessageSenderAndContactReachThePageAsTextAndNeverDial) {
    const std::u16string text =
        u"<a href='javascript:alert(1)' name='tel1'>tap</a> &lt;b&gt; <img src='tel:112'> %s%n%d%%\x01\x1b[31m\t"
        u"<a href='tel:112'>call</a> 89161234567 or 89160000000";
    host::EntryId entry = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", text, u"+79161112233",
                                                     u"<i>boss</i> <a href='tel:112'>x</a>");
    ASSERT_EQ(Process(entry), S_OK);
    ASSERT_TRUE(host::ListArrivedMessage(entry));
    EXPECT_EQ(handled_, MRC_HANDLED_DONTCONTINUE);

    HWND view = BubbleView();
    ASSERT_NE(view, nullptr);
    const std::u16string page = host::HtmlViewSource(view);
    // Only the system's markup: none of the inputs' elements survive as such.
    for (const char16_t* raw : {u"<b>", u"<i>", u"<script", u"<img", u"javascript:alert(1)'>", u"href='tel:112'"})
        EXPECT_EQ(page.find(raw), std::u16string::npos) << Narrow(raw) << " in " << Narrow(page);
    // The links are the numbers the finder found, named in order, nothing else.
    std::vector<std::u16string> links = host::HtmlViewLinks(view);
    ASSERT_FALSE(links.empty()) << Narrow(page);
    for (const std::u16string& link : links) {
        ASSERT_EQ(link.compare(0, 4, u"tel:"), 0) << Narrow(link);
        EXPECT_TRUE(IsDialable(link.substr(4))) << Narrow(link);
    }

    // Choosing the link in focus dials its number, and only such a number.
    const size_t before = Calls().size();
    HWND bubble = BubbleWindow();
    // Down scrolls the page until a link is in sight, then moves onto it.
    std::u16string focused;
    for (int i = 0; i < 20 && !host::HtmlViewFocusedLink(view, &focused); ++i) {
        host::PressKey(VK_DOWN);
        host::WaitForIdle();
    }
    ASSERT_TRUE(host::HtmlViewFocusedLink(view, &focused));
    host::PressKey(VK_RETURN);
    for (int i = 0; i < 2000 && IsWindowVisible(bubble); ++i) Sleep(1);
    host::WaitForIdle();
    std::vector<std::u16string> calls = Calls();
    ASSERT_EQ(calls.size(), before + 1);
    EXPECT_EQ(u"tel:" + calls.back(), focused);
    EXPECT_TRUE(IsDialable(calls.back()));

    // The stored text holds the contact's name as written: markup there is
    // text of the message, for the messaging application to show as text.
    bool found = false;
    host::StoredMessage stored = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_NE(stored.subject.find(u"<script>alert(1)</script> <b>Mi</b>,m (89161234567)"), std::u16string::npos);
}

// The thread checker runs the same path on a quarter of it: what it looks
// for is in the threads, not in the length.
#if defined(__SANITIZE_THREAD__)
constexpr size_t kLongText = 1 << 18;
#else
constexpr size_t kLongText = 1 << 20;
#endif

TEST_F(HostileInput, AMegabyteOfTextIsRuledAndAnnounced) {
    std::u16string text = u"call 89161234567 ";
    text.append(kLongText, u'x');
    text += u" or 89161234567";
    host::EntryId entry = host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", text, u"+79161112233",
                                                     u"");
    ASSERT_EQ(Process(entry), S_OK);
    ASSERT_TRUE(host::ListArrivedMessage(entry));
    EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
    bool found = false;
    host::StoredMessage stored = Find(host::MessageFolder::Inbox, entry, &found);
    ASSERT_TRUE(found);
    EXPECT_EQ(stored.subject.compare(0, 11, u"call &amp; "), 0);
    EXPECT_LE(stored.subject.size(), text.size() + 65536);
    ASSERT_NE(BubbleView(), nullptr);
}

}  // namespace
}  // namespace rule_tests
