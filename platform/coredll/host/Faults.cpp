// Fault injection for tests: the nth call of a named platform function
// fails with a chosen result.
#include <coredll_host.h>

#include <map>
#include <mutex>
#include <vector>

namespace host {

namespace {
struct Fault {
    int firstCall;  // absolute call number at which failing starts
    int count;
    long result;
};
std::mutex g_faultLock;
std::map<std::string, int, std::less<>> g_calls;
std::map<std::string, std::vector<Fault>, std::less<>> g_faults;
}  // namespace

void FailCall(std::string_view name, int nth, long result, int count) {
    std::lock_guard<std::mutex> lock(g_faultLock);
    int seen = 0;
    if (auto it = g_calls.find(name); it != g_calls.end()) seen = it->second;
    g_faults[std::string(name)].push_back(Fault{seen + (nth < 1 ? 1 : nth), count < 1 ? 1 : count, result});
}

void ClearFaults() {
    std::lock_guard<std::mutex> lock(g_faultLock);
    g_faults.clear();
    g_calls.clear();
}

bool ShouldFail(std::string_view name, long* result) {
    std::lock_guard<std::mutex> lock(g_faultLock);
    auto callIt = g_calls.find(name);
    if (callIt == g_calls.end()) callIt = g_calls.emplace(std::string(name), 0).first;
    int call = ++callIt->second;
    auto it = g_faults.find(name);
    if (it == g_faults.end()) return false;
    for (const Fault& f : it->second) {
        if (call >= f.firstCall && call < f.firstCall + f.count) {
            if (result) *result = f.result;
            return true;
        }
    }
    return false;
}

int CallCount(std::string_view name) {
    std::lock_guard<std::mutex> lock(g_faultLock);
    auto it = g_calls.find(name);
    return it == g_calls.end() ? 0 : it->second;
}

std::vector<std::pair<std::string, int>> CallCounts() {
    std::lock_guard<std::mutex> lock(g_faultLock);
    std::vector<std::pair<std::string, int>> counts;
    for (const auto& [name, calls] : g_calls)
        if (calls > 0) counts.emplace_back(name, calls);
    return counts;
}

}  // namespace host
