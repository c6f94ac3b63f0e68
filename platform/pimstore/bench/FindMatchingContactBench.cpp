// FindMatchingContact against stores of 1,000 to 100,000 contacts: the
// time of one lookup on a warm, logged-on session, which must not grow
// with the number of contacts beyond the index's logarithm; and the time
// to store the contacts in one batch.
#include <TempDevice.h>
#include <benchmark/benchmark.h>
#include <coredll_host.h>
#include <objbase.h>
#include <pimstore.h>
#include <pimstore_host.h>

#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

std::u16string Digits(uint64_t value, int count) {
    std::u16string out(count, u'0');
    for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char16_t>(u'0' + value % 10);
    return out;
}

// A store of n contacts, each with a mobile and a home number written as an
// address book would ("+7 9xx xxx-xx-xx"), and lookup keys for some of them
// written as a network delivers them ("89xxxxxxxxx").
struct Store {
    testing_support::TempFolder folder;
    IPOutlookApp* app = nullptr;
    std::vector<std::u16string> hits, misses;
};

void Fill(int n, std::vector<std::u16string>* hits) {
    std::mt19937_64 random(20240601 + n);
    host::BeginContactBatch();
    for (int i = 0; i < n; ++i) {
        host::ContactRecord c;
        c.firstName = u"First" + Digits(i, 6);
        c.lastName = u"Last" + Digits(i, 6);
        uint64_t mobile = random() % 1000000000, home = random() % 10000000;
        std::u16string m = Digits(mobile, 9);
        c.phones[0] = u"+7 9" + m.substr(0, 2) + u" " + m.substr(2, 3) + u"-" + m.substr(5, 2) + u"-" + m.substr(7);
        c.phones[3] = u"+7 495 " + Digits(home, 7);
        host::AddContact(c);
        if (hits && hits->size() < 1000) hits->push_back(u"89" + m);
    }
    host::CommitContactBatch();
}

Store& StoreOf(int n) {
    static std::map<int, std::unique_ptr<Store>> stores;
    std::unique_ptr<Store>& store = stores[n];
    if (!store) {
        store = std::make_unique<Store>();
        host::OpenDevice(store->folder.path());
        host::RegisterContactStore();
        Fill(n, &store->hits);
        std::mt19937_64 random(7);
        while (store->misses.size() < 1000) {
            std::u16string number = u"+1 206 " + Digits(random() % 10000000, 7);
            // Some random numbers do end like a stored one.
            if (host::ContactNameForNumber(number).empty()) store->misses.push_back(number);
        }
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                         reinterpret_cast<void**>(&store->app));
        if (store->app) store->app->Logon(0);
    }
    if (host::DeviceFolder() != store->folder.path()) host::OpenDevice(store->folder.path());
    return *store;
}

void Lookup(benchmark::State& state, bool hit) {
    Store& store = StoreOf(static_cast<int>(state.range(0)));
    if (!store.app) {
        state.SkipWithError("the contact store could not be created");
        return;
    }
    const std::vector<std::u16string>& keys = hit ? store.hits : store.misses;
    size_t next = 0;
    int64_t found = 0;
    auto once = [&] {
        IItem* item = nullptr;
        CEPROPID propid = 0;
        HRESULT hr = FindMatchingContact(store.app, keys[next++ % keys.size()].c_str(), FMCF_FINDPHONE, &item, &propid);
        if (item) {
            ++found;
            item->Release();
        }
        benchmark::DoNotOptimize(hr);
    };
    once();  // warms the connection after a change of device
    found = 0;
    for (auto _ : state) once();
    if (hit && found != state.iterations()) state.SkipWithError("a stored number was not found");
    if (!hit && found != 0) state.SkipWithError("an unknown number was found");
}

void BM_FindMatchingContact(benchmark::State& state) { Lookup(state, true); }
void BM_FindMatchingContactUnknown(benchmark::State& state) { Lookup(state, false); }

void BM_StoreContactsInOneBatch(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        testing_support::TempFolder folder;
        host::OpenDevice(folder.path());
        state.ResumeTiming();
        Fill(static_cast<int>(state.range(0)), nullptr);
        state.PauseTiming();
        host::CloseDevice();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_FindMatchingContact)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FindMatchingContactUnknown)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StoreContactsInOneBatch)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
