// Fault injection for tests: the nth call of a named platform function
// fails with a chosen result.
//
// Every platform call passes through ShouldFail, so its common case (nothing
// armed) takes no lock: each thread finds the counter of a name through its
// own table, and the counters are never freed, only set back to zero.
#include <coredll_host.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace host {

namespace {
struct Fault {
    int firstCall;  // absolute call number at which failing starts
    int count;
    long result;
};

struct FaultState {
    std::mutex lock;
    // One counter per name ever seen; nodes stay for the process's life.
    std::map<std::string, std::atomic<int>, std::less<>> calls;
    std::map<std::string, std::vector<Fault>, std::less<>> faults;
    std::atomic<int> armed{0};
};

// Left to the end of the process: threads may still call in while it exits.
FaultState& State() {
    static FaultState* state = new FaultState;
    return *state;
}

// The name's entry, made on first sight.
std::pair<const std::string, std::atomic<int>>& EntryLocked(FaultState& state, std::string_view name) {
    auto it = state.calls.find(name);
    if (it == state.calls.end()) it = state.calls.try_emplace(std::string(name), 0).first;
    return *it;
}

std::atomic<int>& Counter(std::string_view name) {
    // Names are mostly literals, so a thread first looks where the last name
    // at the same address went; the content is compared all the same, as a
    // name made on the fly may reuse an address. Keys view the names held by
    // the state's nodes, which never move.
    struct Recent {
        const char* address = nullptr;
        std::string_view key;
        std::atomic<int>* counter = nullptr;
    };
    thread_local Recent recent[64];
    thread_local std::unordered_map<std::string_view, std::atomic<int>*> counters;
    Recent& slot = recent[(reinterpret_cast<uintptr_t>(name.data()) >> 3) % 64];
    if (slot.address == name.data() && slot.key == name) return *slot.counter;
    auto it = counters.find(name);
    if (it == counters.end()) {
        FaultState& state = State();
        std::lock_guard<std::mutex> lock(state.lock);
        auto& [key, counter] = EntryLocked(state, name);
        it = counters.emplace(key, &counter).first;
    }
    slot = Recent{name.data(), it->first, it->second};
    return *it->second;
}
}  // namespace

void FailCall(std::string_view name, int nth, long result, int count) {
    FaultState& state = State();
    std::lock_guard<std::mutex> lock(state.lock);
    const int seen = EntryLocked(state, name).second.load();
    state.faults[std::string(name)].push_back(Fault{seen + (nth < 1 ? 1 : nth), count < 1 ? 1 : count, result});
    state.armed.fetch_add(1);
}

void ClearFaults() {
    FaultState& state = State();
    std::lock_guard<std::mutex> lock(state.lock);
    state.faults.clear();
    state.armed.store(0);
    for (auto& [name, calls] : state.calls) calls.store(0);
}

bool ShouldFail(std::string_view name, long* result) {
    const int call = Counter(name).fetch_add(1, std::memory_order_relaxed) + 1;
    FaultState& state = State();
    if (state.armed.load(std::memory_order_acquire) == 0) return false;
    std::lock_guard<std::mutex> lock(state.lock);
    auto it = state.faults.find(name);
    if (it == state.faults.end()) return false;
    for (const Fault& f : it->second) {
        if (call >= f.firstCall && call < f.firstCall + f.count) {
            if (result) *result = f.result;
            return true;
        }
    }
    return false;
}

int CallCount(std::string_view name) {
    FaultState& state = State();
    std::lock_guard<std::mutex> lock(state.lock);
    auto it = state.calls.find(name);
    return it == state.calls.end() ? 0 : it->second.load();
}

std::vector<std::pair<std::string, int>> CallCounts() {
    FaultState& state = State();
    std::lock_guard<std::mutex> lock(state.lock);
    std::vector<std::pair<std::string, int>> counts;
    for (const auto& [name, calls] : state.calls)
        if (const int n = calls.load(); n > 0) counts.emplace_back(name, n);
    return counts;
}

}  // namespace host
