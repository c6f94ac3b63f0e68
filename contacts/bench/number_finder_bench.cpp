// The number finder over the standard corpus of message-like text: a full
// scan, the whole corpus as one text and message by message (one line each,
// as the rule sees them). Throughput counts the corpus's UTF-8 bytes, so the
// figures compare with other finders run on the same file: beside it, a scan
// that only counts the digits of the same text (what reading every character
// costs), and the standard library finder that users would otherwise pick,
// message by message in region RU.
#include "NumberFinder.h"

#include <benchmark/benchmark.h>
#include <coredll_host.h>

#ifdef HAVE_LIBPHONENUMBER
#include <phonenumbers/phonenumbermatch.h>
#include <phonenumbers/phonenumbermatcher.h>
#include <phonenumbers/phonenumberutil.h>
#endif

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Corpus {
    size_t utf8Bytes = 0;
    std::u16string text;
    std::vector<std::u16string> messages;
    std::vector<std::string> utf8Messages;
};

const Corpus& TheCorpus() {
    static const Corpus corpus = [] {
        Corpus c;
        std::ifstream in(CONTACTS_CORPUS, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        std::string utf8 = bytes.str();
        if (utf8.empty()) std::fprintf(stderr, "corpus %s is missing or empty\n", CONTACTS_CORPUS);
        c.utf8Bytes = utf8.size();
        c.text = host::FromUtf8(utf8);
        size_t begin = 0;
        while (begin < c.text.size()) {
            size_t end = c.text.find(u'\n', begin);
            if (end == std::u16string::npos) end = c.text.size();
            c.messages.push_back(c.text.substr(begin, end - begin));
            begin = end + 1;
        }
        for (const std::u16string& message : c.messages) c.utf8Messages.push_back(host::ToUtf8(message));
        return c;
    }();
    return corpus;
}

int ScanAll(const std::u16string& text, LONG m) {
    int found = 0;
    NumberSpan span;
    int from = 0;
    const int length = static_cast<int>(text.size());
    while (FindNextNumber(text.c_str(), length, m, from, &span)) {
        ++found;
        from = span.end + 1;
    }
    return found;
}

void BM_FindNextNumber_WholeCorpus(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    const LONG m = static_cast<LONG>(state.range(0));
    int found = 0;
    for (auto _ : state) {
        found = ScanAll(corpus.text, m);
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.utf8Bytes));
    state.counters["numbers"] = found;
}
BENCHMARK(BM_FindNextNumber_WholeCorpus)->Arg(7)->Arg(10)->Unit(benchmark::kMillisecond);

void BM_FindNextNumber_PerMessage(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    const LONG m = static_cast<LONG>(state.range(0));
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const std::u16string& message : corpus.messages) found += ScanAll(message, m);
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.utf8Bytes));
    state.counters["numbers"] = found;
    state.counters["messages"] = static_cast<double>(corpus.messages.size());
}
BENCHMARK(BM_FindNextNumber_PerMessage)->Arg(7)->Arg(10)->Unit(benchmark::kMillisecond);

// Every character read and its digits counted as the finder tells them:
// below U+0660, the first digit of another script, by the ASCII test, the
// rest by the platform.
void BM_DigitScan_WholeCorpus(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    int64_t digits = 0;
    for (auto _ : state) {
        digits = 0;
        for (char16_t c : corpus.text) digits += c < 0x660 ? (c >= u'0' && c <= u'9') : iswctype(c, _DIGIT) != 0;
        benchmark::DoNotOptimize(digits);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.utf8Bytes));
    state.counters["digits"] = static_cast<double>(digits);
}
BENCHMARK(BM_DigitScan_WholeCorpus)->Unit(benchmark::kMillisecond);

// The plainest scan: ASCII digits counted, nothing else looked at.
void BM_AsciiDigitScan_WholeCorpus(benchmark::State& state) {
    const Corpus& corpus = TheCorpus();
    int64_t digits = 0;
    for (auto _ : state) {
        digits = 0;
        for (char16_t c : corpus.text) digits += c >= u'0' && c <= u'9';
        benchmark::DoNotOptimize(digits);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.utf8Bytes));
    state.counters["digits"] = static_cast<double>(digits);
}
BENCHMARK(BM_AsciiDigitScan_WholeCorpus)->Unit(benchmark::kMillisecond);


#ifdef HAVE_LIBPHONENUMBER
void BM_PhoneNumberMatcher_PerMessage(benchmark::State& state) {
    using namespace i18n::phonenumbers;
    const Corpus& corpus = TheCorpus();
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    int found = 0;
    for (auto _ : state) {
        found = 0;
        for (const std::string& message : corpus.utf8Messages) {
            PhoneNumberMatcher matcher(util, message, "RU", PhoneNumberMatcher::VALID, 65535);
            PhoneNumberMatch match;
            while (matcher.HasNext() && matcher.Next(&match)) ++found;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(corpus.utf8Bytes));
    state.counters["numbers"] = found;
}
BENCHMARK(BM_PhoneNumberMatcher_PerMessage)->Unit(benchmark::kMillisecond)->Iterations(2);
#endif

}  // namespace

BENCHMARK_MAIN();
