#include "NumberFinder.h"

#include <algorithm>

namespace {

// Below U+0660, the first digit of another script, only the ASCII ones are
// decimal digits: Latin and Cyrillic text, most of what a message holds, is
// classified without a call to the platform.
const WCHAR kFirstOtherDigit = 0x0660;

// No digit, told without the platform.
inline bool SurelyNoDigit(WCHAR c) { return c < kFirstOtherDigit && static_cast<unsigned>(c - TEXT('0')) > 9u; }

inline bool IsDigit(WCHAR c) {
    if (c < kFirstOtherDigit) return static_cast<unsigned>(c - TEXT('0')) <= 9u;
    return iswctype(c, _DIGIT) != 0;
}

inline bool IsSeparator(WCHAR c) {
    return c == TEXT(' ') || c == TEXT('(') || c == TEXT(')') || c == TEXT('+') || c == TEXT('-');
}

// The finder's own test, which the compiler may inline: the exported one
// may not be, as another module could stand in for it.
inline bool NumberChar(WCHAR c) { return IsDigit(c) || IsSeparator(c); }

}  // namespace

BOOL IsNumberChar(WCHAR c) { return NumberChar(c); }

namespace {

// The scan itself, which the finder's calls may inline with their step.
inline int ScanRun(LPCWSTR text, int first, int limit, int step) {
    // A limit behind the start would never be reached.
    if ((step > 0 && limit < first) || (step < 0 && limit > first)) limit = first;

    WCHAR prev = text[first];
    int i = first;
    bool reachedLimit = (i == limit);
    while (!reachedLimit) {
        WCHAR c = text[i];
        // Digits, most of a run, end nothing: no further test.
        if (static_cast<unsigned>(c - TEXT('0')) <= 9u) {
            prev = c;
            i += step;
            reachedLimit = (i == limit);
            continue;
        }
        if (!NumberChar(c) || (i != first && c == prev && IsSeparator(c))) {
            i -= step;
            break;
        }
        prev = c;
        i += step;
        reachedLimit = (i == limit);
    }
    // The last character of the scanned range is taken without the
    // repeated-separator test.
    if (reachedLimit) i = NumberChar(text[limit]) ? limit : limit - step;
    if (i >= 0 && text[i] == TEXT(' ')) i -= step;
    return i;
}

}  // namespace

int ScanNumberRun(LPCWSTR text, int first, int limit, int step) { return ScanRun(text, first, limit, step < 0 ? -1 : 1); }

BOOL FindNextNumber(LPCWSTR text, int length, LONG minLength, int searchStart, NumberSpan* span) {
    if (!text || !span || length <= 0) return FALSE;
    // Probe positions and k = end - m are 64-bit: with m up to 0x7FFFFFFF
    // neither may wrap, and an interval of at least 1 always advances.
    const LONGLONG m = minLength < 2 ? 2 : minLength;
    const LONGLONG n = length;
    const LONGLONG f = searchStart < 0 ? 0 : searchStart;
    const LONGLONG step = m - 1;

    // A probe that lands on a digit of the run an earlier probe failed on
    // would grow the same run to the same end and fail the same way: the
    // probes jump past that end.
    auto nextProbe = [m](LONGLONG d, LONGLONG failedEnd) {
        if (failedEnd <= d) return d + (m - 1);
        return d + ((failedEnd - d) / (m - 1) + 1) * (m - 1);
    };
    for (LONGLONG d = f; d < n;) {
        // A probe on anything but a digit, a separator included, is skipped
        // outright; most probes land there, so they are skipped in a loop
        // of their own.
        if (!IsDigit(text[d])) {
            d += step;
            while (d < n && SurelyNoDigit(text[d])) d += step;
            continue;
        }

        LONGLONG end = ScanRun(text, static_cast<int>(d), length - 1, +1);
        const LONGLONG runEnd = end;
        LONGLONG k = end - m;
        if (k < f || !NumberChar(text[k + 1])) {
            d = nextProbe(d, runEnd);
            continue;
        }
        // When the probe lies at or before k, the forward scan has passed
        // every character from it to k + 1 (number characters, no doubled
        // separator), so the backward scan starts at the probe: from k it
        // would only read them again. When the probe lies after k, the
        // backward scan covers start to k, k + 1 was tested above, and only
        // the characters from k + 2 to the probe are left to test.
        const bool probeBehindK = d <= k;
        LONGLONG start = ScanRun(text, static_cast<int>(probeBehindK ? d : k), static_cast<int>(f), -1);

        // A bracket pair around the whole number goes, unless the opening
        // one is doubled; a closing bracket at the end always goes.
        if (text[start] == TEXT('(') && text[end] == TEXT(')') && (start == 0 || text[start - 1] != TEXT('('))) ++start;
        if (text[end] == TEXT(')')) --end;
        bool allNumber = start <= end;
        if (!probeBehindK)
            for (LONGLONG i = std::max(start, k + 2); i < d && i <= end && allNumber; ++i)
                allNumber = NumberChar(text[i]);
        if (!allNumber) {
            d = nextProbe(d, runEnd);
            continue;
        }

        span->start = static_cast<int>(start);
        span->end = static_cast<int>(end);
        span->lookupStart = text[start] == TEXT('+') ? span->start + 1 : span->start;
        return TRUE;
    }
    return FALSE;
}
