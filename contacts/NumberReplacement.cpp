#include "NumberReplacement.h"

#include "ContactLookup.h"
#include "CustomText.h"
#include "DisplayName.h"
#include "LocalText.h"
#include "NumberFinder.h"
#include "TextBuffer.h"

namespace {

// The working text with the number replaced, into next; false when memory
// ran out.
bool Splice(const TextBuffer& working, const NumberSpan& span, const TextBuffer& replacement, TextBuffer& next) {
    next.Append(working.Text(), span.start);
    next.Append(replacement.Text(), replacement.Length());
    next.Append(working.Text() + span.end + 1, working.Length() - span.end - 1);
    next.Append(nullptr, 0);
    return !next.Failed();
}

// The display name for the number's contact, into name; name stays empty
// when the number belongs to no contact. False when memory ran out.
bool DisplayNameOf(const ContactStoreConnection& connection, const TextBuffer& working, const NumberSpan& span,
                   const Settings& settings, TextBuffer& name) {
    LocalText key(BuildLookupKey(working.Text(), span));
    if (!key.Get()) return false;
    ContactMatch match;
    if (!FindContactByNumber(connection, key.Get(), &match)) return true;
    return BuildDisplayName(match.contact.Get(), match.propId, working.Text() + span.start,
                            span.end - span.start + 1, settings, name);
}

}  // namespace

BOOL ReplaceNumbersWithNames(LPCWSTR text, Settings& settings, LPWSTR* newText, BOOL deliveredReport) {
    if (!newText) return FALSE;
    *newText = nullptr;
    if (!text) return FALSE;
    size_t length = wcslen(text);
    if (length > static_cast<size_t>(TextBuffer::kMaxLength)) return FALSE;

    NumberSpan span;
    if (!FindNextNumber(text, static_cast<int>(length), settings.PhoneNumLen, 0, &span)) return FALSE;

    TextBuffer working;
    if (!working.Append(text, static_cast<int>(length))) return FALSE;

    ContactStoreConnection connection;
    if (FAILED(connection.Open()) || !connection.IsUsable()) return FALSE;

    const bool useCustomText = deliveredReport && settings.UseCustomText && settings.CustomText.Length() > 0;
    bool replaced = false;
    bool found = true;
    // A failure to get memory ends the pass with what was replaced so far.
    while (found) {
        int nextStart = span.end + 1;
        TextBuffer name;
        if (!DisplayNameOf(connection, working, span, settings, name)) break;
        // A contact without any name to show would make its number vanish
        // from the stored message: such a number stays as written.
        if (name.Length() > 0) {
            TextBuffer next;
            if (useCustomText) {
                WString custom = FormatCustomText(settings.CustomText, name.Text());
                if (!custom.Text() || !next.Append(custom.Text(), custom.Length())) break;
                working.Swap(next);
                replaced = true;
                // The custom text stands for the whole message: nothing in it is searched.
                break;
            }
            if (!Splice(working, span, name, next)) break;
            working.Swap(next);
            replaced = true;
            // The name, and the number that ShowNumber put into it, are not searched again.
            nextStart = span.start + name.Length();
        }
        found = FindNextNumber(working.Text(), working.Length(), settings.PhoneNumLen, nextStart, &span);
    }
    connection.Close();

    if (!replaced) return FALSE;
    *newText = working.Detach();
    return *newText ? TRUE : FALSE;
}
