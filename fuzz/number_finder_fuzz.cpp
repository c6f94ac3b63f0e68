// The number finder over a text made from the input, walked as the two
// passes walk it: each search starts behind the last number found. The
// first byte is the minimum length (as a signed byte, so that 0, 1 and
// negative lengths come too). Every number found lies inside the text and
// behind the search start, is made of number characters only, and the walk
// ends.
#include "FuzzCheck.h"
#include "FuzzText.h"
#include "NumberFinder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const LONG minLength = static_cast<int8_t>(data[0]);
    const fuzz::ExactText text(fuzz::TextOf(data + 1, size - 1), false);
    const int n = text.length();

    int start = 0;
    NumberSpan span;
    while (FindNextNumber(text.get(), n, minLength, start, &span)) {
        FUZZ_CHECK(start <= span.start && span.start <= span.end && span.end < n);
        FUZZ_CHECK(span.lookupStart == span.start + (text.get()[span.start] == u'+' ? 1 : 0));
        for (int i = span.start; i <= span.end; ++i) FUZZ_CHECK(IsNumberChar(text.get()[i]));
        start = span.end + 1;
    }
    // A search that starts outside the text finds nothing.
    FUZZ_CHECK(!FindNextNumber(text.get(), n, minLength, n, &span));
    return 0;
}
