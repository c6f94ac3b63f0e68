// Character classes and simple case mapping of UTF-16 code units, from the
// generated Unicode tables. A number finder classifies every character of a
// message, so a lookup is two indexed loads and no search.
#include <coredll_host.h>
#include <windows.h>

#include <cstdint>

namespace {

struct CharProps {
    WORD bits;        // iswctype class bits
    WORD lowerDelta;  // added modulo 2^16 by towlower
    WORD upperDelta;  // added modulo 2^16 by towupper
    int8_t digit;     // decimal value of an Nd digit, else -1
};

#include "UnicodeTables.inc"

inline const CharProps& PropsOf(WCHAR c) {
    constexpr unsigned mask = (1u << kBlockShift) - 1;
    return kCharProps[kBlockProps[(kBlockIndex[c >> kBlockShift] << kBlockShift) | (c & mask)]];
}

}  // namespace

int iswctype(WCHAR c, WORD desc) { return PropsOf(c).bits & desc; }
int iswdigit(WCHAR c) { return iswctype(c, _DIGIT); }
int iswspace(WCHAR c) { return iswctype(c, _SPACE); }
int iswalpha(WCHAR c) { return iswctype(c, _ALPHA); }
int iswupper(WCHAR c) { return iswctype(c, _UPPER); }
int iswlower(WCHAR c) { return iswctype(c, _LOWER); }

WCHAR towlower(WCHAR c) { return static_cast<WCHAR>(c + PropsOf(c).lowerDelta); }
WCHAR towupper(WCHAR c) { return static_cast<WCHAR>(c + PropsOf(c).upperDelta); }

namespace host {
int DigitValue(WCHAR c) { return PropsOf(c).digit; }
}  // namespace host
