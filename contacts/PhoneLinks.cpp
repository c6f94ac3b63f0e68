#include "PhoneLinks.h"

#include "HtmlText.h"
#include "NumberFinder.h"
#include "TextBuffer.h"

namespace {

// Appends text[0, count) escaped; true when any character needed it.
bool AppendEscaped(TextBuffer& out, LPCWSTR text, int count) {
    bool escaped = false;
    int plain = 0;  // start of the run of characters copied as they are
    for (int i = 0; i < count; ++i) {
        LPCWSTR entity = HtmlEntityOf(text[i]);
        if (!entity) continue;
        out.Append(text + plain, i - plain);
        out.Append(entity, static_cast<int>(wcslen(entity)));
        plain = i + 1;
        escaped = true;
    }
    out.Append(text + plain, count - plain);
    return escaped;
}

// Number characters (digits, space, brackets, "+", "-") never need escaping.
bool AppendAnchor(TextBuffer& out, LPCWSTR number, int count, int index) {
    // Twice the number, the counter's digits and the markup.
    LONGLONG room = 2 * static_cast<LONGLONG>(count) + 64;
    if (room > TextBuffer::kMaxLength) return false;
    LPWSTR place = out.BeginWrite(static_cast<int>(room));
    if (!place) return false;
    int written = _snwprintf(place, static_cast<size_t>(room) + 1, TEXT("<a href='tel:%.*s' name='tel%d'>%.*s</a>"),
                             count, number, index, count, number);
    if (written < 0) return false;
    out.Commit(written);
    return true;
}

}  // namespace

BOOL LinkPhoneNumbers(LPCWSTR text, const Settings& settings, LPWSTR* newText) {
    if (!newText) return FALSE;
    *newText = nullptr;
    if (!text) return FALSE;
    size_t textLength = wcslen(text);
    if (textLength > static_cast<size_t>(TextBuffer::kMaxLength)) return FALSE;
    const int length = static_cast<int>(textLength);

    TextBuffer out;
    bool changed = false;
    int links = 0;
    int rest = 0;  // first character not yet written
    NumberSpan span;
    // The next number is searched for behind the last anchor. Before its
    // search start the finder only looks for a "(" right before a number,
    // and behind an anchor there is its ">": searching the rest of the text
    // on its own finds the numbers that a search of the linked text would.
    while (rest < length && FindNextNumber(text + rest, length - rest, settings.PhoneNumLen, 0, &span)) {
        changed |= AppendEscaped(out, text + rest, span.start);
        if (!AppendAnchor(out, text + rest + span.start, span.end - span.start + 1, ++links)) return FALSE;
        changed = true;
        rest += span.end + 1;
    }
    changed |= AppendEscaped(out, text + rest, length - rest);
    if (!changed) return FALSE;

    *newText = out.Detach();
    return *newText ? TRUE : FALSE;
}
