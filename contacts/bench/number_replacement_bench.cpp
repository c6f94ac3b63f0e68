// The replacement of numbers by names over long texts, through the real
// contact store: a text of up to 1 MB holding up to 76,000 numbers of
// contacts, and names as long as the store holds, repeated. The time per
// number (and per character of the result) must stay flat as the text grows.
#include "NumberReplacement.h"
#include "Settings.h"

#include <TempDevice.h>
#include <benchmark/benchmark.h>
#include <coredll_host.h>
#include <objbase.h>
#include <pimstore_host.h>

#include <memory>
#include <string>

namespace {

std::u16string Digits(uint64_t value, int count) {
    std::u16string out(count, u'0');
    for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char16_t>(u'0' + value % 10);
    return out;
}

constexpr int kContacts = 1000;

// One device for the whole run: 1,000 contacts named "Nxxxx" with mobile
// numbers 8916000xxxx (a name shorter than its number, so that a text of
// them all never reaches the bound of growth), and one whose file-as name
// is as long as the store holds (number 89990000000).
struct Device {
    testing_support::TempDevice device;
    Device() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        host::RegisterContactStore();
        host::BeginContactBatch();
        for (int i = 0; i < kContacts; ++i) {
            host::ContactRecord c;
            c.firstName = u"N" + Digits(i, 4);
            c.phones[0] = u"8916000" + Digits(i, 4);
            host::AddContact(c);
        }
        host::ContactRecord longName;
        longName.fileAs = std::u16string(host::kMaxContactText, u'N');
        longName.phones[0] = u"89990000000";
        host::AddContact(longName);
        host::CommitContactBatch();
    }
};

Device& TheDevice() {
    static std::unique_ptr<Device> device = std::make_unique<Device>();
    return *device;
}

// count numbers of the 1,000 contacts, each followed by ", ": about 13
// characters a number, so 76,000 numbers make a text of about 1 MB.
std::u16string TextWithNumbers(int count) {
    std::u16string text;
    for (int i = 0; i < count; ++i) text += u"8916000" + Digits(i % kContacts, 4) + u", ";
    return text;
}

void Run(benchmark::State& state, const std::u16string& text) {
    TheDevice();
    Settings settings;
    settings.ShowNumber = 0;
    settings.AppendNumberType = 0;
    size_t resultLength = 0;
    for (auto _ : state) {
        LPWSTR rewritten = nullptr;
        if (!ReplaceNumbersWithNames(text.c_str(), settings, &rewritten, FALSE)) {
            state.SkipWithError("nothing was replaced");
            return;
        }
        resultLength = wcslen(rewritten);
        LocalFree(rewritten);
    }
    state.counters["result_chars"] = static_cast<double>(resultLength);
}

void BM_ManyNumbers(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    Run(state, TextWithNumbers(count));
    state.SetItemsProcessed(state.iterations() * count);
    state.SetComplexityN(count);
}

// The longest name the store holds, its number repeated: the text stops
// growing at the bound, and the numbers after it are only looked at.
void BM_LongNameRepeated(benchmark::State& state) {
    std::u16string text;
    for (int i = 0; i < state.range(0); ++i) text += u"89990000000; ";
    Run(state, text);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_ManyNumbers)
    ->Arg(19000)
    ->Arg(38000)
    ->Arg(76000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK(BM_LongNameRepeated)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
