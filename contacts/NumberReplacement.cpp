#include "NumberReplacement.h"

#include "ContactLookup.h"
#include "CustomText.h"
#include "DisplayName.h"
#include "LocalText.h"
#include "NumberFinder.h"
#include "TextBuffer.h"

namespace {

// How much longer than the message a rewritten text may become: 65,536
// characters, the 128 KB of the largest record the phone's databases hold.
// The longest text message the phone receives (255 parts of 160
// characters) with every number named stays far below it; a text that
// would grow beyond it keeps the rest of its numbers as written.
const LONGLONG kMaxGrowth = 65536;

// The display name for the number's contact, into name; name stays empty
// when the number belongs to no contact. False when memory ran out.
bool DisplayNameOf(const ContactStoreConnection& connection, LPCWSTR text, const NumberSpan& span,
                   const Settings& settings, TextBuffer& name) {
    LocalText key(BuildLookupKey(text, span));
    if (!key.Get()) return false;
    ContactMatch match;
    if (!FindContactByNumber(connection, key.Get(), &match)) return true;
    return BuildDisplayName(match.contact.Get(), match.propId, text + span.start, span.end - span.start + 1, settings,
                            name);
}

}  // namespace

BOOL ReplaceNumbersWithNames(LPCWSTR text, Settings& settings, LPWSTR* newText, BOOL deliveredReport) {
    if (!newText) return FALSE;
    *newText = nullptr;
    if (!text) return FALSE;
    size_t length = wcslen(text);
    if (length > static_cast<size_t>(TextBuffer::kMaxLength)) return FALSE;
    const int n = static_cast<int>(length);

    NumberSpan span;
    if (!FindNextNumber(text, n, settings.PhoneNumLen, 0, &span)) return FALSE;

    // The numbers are found in a copy of the message, and the rewritten text
    // is written once, piece by piece: the message up to each replaced
    // number, then its name. Behind a name the search goes on in the
    // message, as it would in the rewritten text, whose rest is the same;
    // the one character the finder reads before its start is the name's
    // last, so the copy gets that character in place of the number's last.
    TextBuffer source;
    if (!source.Append(text, n)) return FALSE;

    ContactStoreConnection connection;
    if (FAILED(connection.Open()) || !connection.IsUsable()) return FALSE;

    const bool useCustomText = deliveredReport && settings.UseCustomText && settings.CustomText.Length() > 0;
    const LONGLONG maxLength = n + kMaxGrowth;
    TextBuffer rewritten;
    int copied = 0;  // the message's characters before this are in rewritten
    bool replaced = false;
    bool found = true;
    // A failure to get a name ends the pass with what was replaced so far.
    while (found) {
        TextBuffer name;
        if (!DisplayNameOf(connection, source.Text(), span, settings, name)) break;
        // A contact without any name to show would make its number vanish
        // from the stored message: such a number stays as written.
        if (name.Length() > 0) {
            if (useCustomText) {
                WString custom = FormatCustomText(settings.CustomText, name.Text());
                if (!custom.Text() || custom.Length() > maxLength) break;
                TextBuffer whole;
                if (!whole.Append(custom.Text(), custom.Length())) break;
                rewritten.Swap(whole);
                copied = n;
                replaced = true;
                // The custom text stands for the whole message: nothing in it is searched.
                break;
            }
            LONGLONG grown = static_cast<LONGLONG>(rewritten.Length()) + (span.start - copied) + name.Length() +
                             (n - span.end - 1);
            if (grown > maxLength) break;
            rewritten.Append(source.Text() + copied, span.start - copied);
            rewritten.Append(name.Text(), name.Length());
            if (rewritten.Failed()) return FALSE;
            copied = span.end + 1;
            replaced = true;
            // The name, and the number that ShowNumber put into it, are not searched again.
            source.SetAt(span.end, name.Text()[name.Length() - 1]);
        }
        found = FindNextNumber(source.Text(), n, settings.PhoneNumLen, span.end + 1, &span);
    }
    connection.Close();

    if (!replaced) return FALSE;
    if (!rewritten.Append(source.Text() + copied, n - copied)) return FALSE;
    *newText = rewritten.Detach();
    return *newText ? TRUE : FALSE;
}
