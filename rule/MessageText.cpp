#include "MessageText.h"

#include "HtmlText.h"
#include "LocalText.h"
#include "NumberReplacement.h"
#include "PhoneLinks.h"

namespace {

const WCHAR kReportClass[] = TEXT("REPORT.IPM.SMStext");
const WCHAR kTextClass[] = TEXT("IPM.SMStext");

// A class begins with a text when that text first occurs at its start.
bool BeginsWith(LPCWSTR text, LPCWSTR prefix) { return text && wcsstr(text, prefix) == text; }

}  // namespace

MessageKind KindOfMessage(LPCWSTR messageClass) {
    MessageKind kind;
    kind.report = BeginsWith(messageClass, kReportClass);
    kind.textMessage = !kind.report && BeginsWith(messageClass, kTextClass);
    kind.delivered = kind.report && !wcsstr(messageClass, TEXT(".NDR"));
    return kind;
}

bool RewriteStoredText(LPCWSTR subject, Settings& settings, const MessageKind& kind, WString* stored) {
    LocalText rewritten;
    BOOL wasRewritten = ReplaceNumbersWithNames(subject, settings, rewritten.Receive(), kind.delivered ? TRUE : FALSE);
    if (wasRewritten) {
        *stored = WString::FromText(rewritten.Get());
        // A rewritten text that could not be copied is not written back: an
        // empty one would take the message's text with it.
        if (stored->Text()) return true;
    }
    *stored = WString::FromText(subject);
    return false;
}

WString BubbleText(const WString& stored, const Settings& settings) {
    LocalText linked;
    if (LinkPhoneNumbers(stored.Text() ? stored.Text() : TEXT(""), settings, linked.Receive()))
        return WString::FromText(linked.Get());
    // No link was made: the text is still escaped, whether it needed nothing
    // or the links could not be made (out of memory), so that it never
    // carries markup into the page.
    return EscapeHtml(stored.Text());
}
