// Walking a key with many values or subkeys in index order, as an export
// does: the cost of one RegEnumValueW or RegEnumKeyExW call must not grow
// with the index (items per second stay level from 1k to 100k).
#include <TempDevice.h>
#include <benchmark/benchmark.h>
#include <coredll_host.h>
#include <windows.h>

#include <string>

namespace {

std::u16string Name(int n) {
    std::string text = "entry" + std::to_string(n);
    return std::u16string(text.begin(), text.end());
}

HKEY Fill(int count, bool subkeys) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_CURRENT_USER, u"Bench", 0, nullptr, 0, 0, nullptr, &key, nullptr);
    host::BeginRegistryBatch();
    for (int i = 0; i < count; ++i) {
        if (subkeys) {
            HKEY child = nullptr;
            RegCreateKeyExW(key, Name(i).c_str(), 0, nullptr, 0, 0, nullptr, &child, nullptr);
            RegCloseKey(child);
        } else {
            DWORD value = static_cast<DWORD>(i);
            RegSetValueExW(key, Name(i).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
        }
    }
    host::CommitRegistryBatch();
    return key;
}

void BM_WalkValues(benchmark::State& state) {
    testing_support::TempDevice device;
    const int count = static_cast<int>(state.range(0));
    HKEY key = Fill(count, false);
    for (auto _ : state) {
        WCHAR name[32];
        BYTE data[4];
        DWORD index = 0;
        for (;; ++index) {
            DWORD chars = 32, size = sizeof data, type = 0;
            if (RegEnumValueW(key, index, name, &chars, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
        }
        if (index != static_cast<DWORD>(count)) state.SkipWithError("the walk did not see every value");
    }
    state.SetItemsProcessed(state.iterations() * count);
    RegCloseKey(key);
}

void BM_WalkSubkeys(benchmark::State& state) {
    testing_support::TempDevice device;
    const int count = static_cast<int>(state.range(0));
    HKEY key = Fill(count, true);
    for (auto _ : state) {
        WCHAR name[32];
        DWORD index = 0;
        for (;; ++index) {
            DWORD chars = 32;
            if (RegEnumKeyExW(key, index, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        }
        if (index != static_cast<DWORD>(count)) state.SkipWithError("the walk did not see every subkey");
    }
    state.SetItemsProcessed(state.iterations() * count);
    RegCloseKey(key);
}

BENCHMARK(BM_WalkValues)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WalkSubkeys)->Arg(1000)->Arg(10000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
