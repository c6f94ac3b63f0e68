// Fault injection as the sweeps use it: what a path reaches is listed, and
// each call of it can be failed in turn, the others untouched.
#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>

namespace {

TEST(FaultInjection, TheReachedPointsAreListedAndEachCallFailsInTurn) {
    testing_support::TempDevice device;
    host::ClearFaults();
    EXPECT_TRUE(host::CallCounts().empty());

    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Sweep"), 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (int i = 0; i < 3; ++i) LocalFree(LocalAlloc(LPTR, 8));
    auto points = host::CallCounts();
    auto alloc = std::find_if(points.begin(), points.end(), [](const auto& p) { return p.first == "LocalAlloc"; });
    ASSERT_NE(alloc, points.end());
    EXPECT_EQ(alloc->second, 3);
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end()));
    for (const auto& [name, calls] : points) EXPECT_GT(calls, 0) << name;

    // The second of the next three fails, the first and third do not.
    host::FailCall("LocalAlloc", 2, ERROR_NOT_ENOUGH_MEMORY);
    void* first = LocalAlloc(LPTR, 8);
    void* second = LocalAlloc(LPTR, 8);
    void* third = LocalAlloc(LPTR, 8);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    LocalFree(first);
    LocalFree(third);

    // Two in a row, counted from the next call.
    host::FailCall("LocalAlloc", 1, ERROR_NOT_ENOUGH_MEMORY, 2);
    EXPECT_EQ(LocalAlloc(LPTR, 8), nullptr);
    EXPECT_EQ(LocalAlloc(LPTR, 8), nullptr);
    void* after = LocalAlloc(LPTR, 8);
    EXPECT_NE(after, nullptr);
    LocalFree(after);

    RegCloseKey(key);
    host::ClearFaults();
    EXPECT_EQ(host::CallCount("LocalAlloc"), 0);
}

}  // namespace
