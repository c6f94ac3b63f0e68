// The one phone-number finder, under both the replacement of numbers by
// contact names and the telephone links. It is a fast heuristic, not a
// parser: it samples the text every m - 1 characters, grows a run of number
// characters around a sampled digit and trims the run's edges. Which numbers
// it finds decides what is looked up and what is linked, so its rules are
// kept exactly as the users know them, quirks included: a number that no
// probe lands on a digit of stays unfound.
#pragma once

#include <windows.h>

// A number in a text, as character indexes.
struct NumberSpan {
    int start;        // first character, as written
    int end;          // last character, inclusive
    int lookupStart;  // start, or one behind it when the number begins with "+"
};

// Decimal digits of every script, and the five separators: space ( ) + -.
// Any other character, other white space included, ends a number.
BOOL IsNumberChar(WCHAR c);

// Grows a run of number characters from text[first] towards limit, one step
// (+1 or -1) at a time, and gives the index of the run's far end. The second
// of two equal separators in a row ends the run, except at the limit itself;
// one space at the far edge is dropped. For a forward scan text[first] must
// be a number character.
int ScanNumberRun(LPCWSTR text, int first, int limit, int step);

// The first number of text[0, length) found by probes at searchStart,
// searchStart + (m - 1), ... where m is minLength, raised to 2 when below.
// The m characters that end at the number's run must all be number
// characters, and none of them may lie before searchStart.
// FALSE when there is none.
BOOL FindNextNumber(LPCWSTR text, int length, LONG minLength, int searchStart, NumberSpan* span);
