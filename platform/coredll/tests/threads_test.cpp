// Threads, events, waits and interlocked operations, as the platform
// documents them.
#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

namespace {

DWORD WINAPI ReturnParameter(LPVOID p) { return static_cast<DWORD>(reinterpret_cast<uintptr_t>(p)); }

TEST(Threads, ExitCodeIsStillActiveUntilTheThreadEnds) {
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Ctx {
        HANDLE gate;
    } ctx{gate};
    auto body = [](LPVOID p) -> DWORD {
        WaitForSingleObject(static_cast<Ctx*>(p)->gate, INFINITE);
        return 7;
    };
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, body, &ctx, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_NE(id, GetCurrentThreadId());
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(WaitForSingleObject(thread, 20), static_cast<DWORD>(WAIT_TIMEOUT));
    SetEvent(gate);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 7u);
    // A thread handle stays signalled.
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_TRUE(CloseHandle(gate));
}

TEST(Threads, ExitThreadEndsWithItsCodeAndRunsNoFurther) {
    static std::atomic<bool> after{false};
    auto body = [](LPVOID) -> DWORD {
        ExitThread(99);
        after = true;
        return 1;
    };
    HANDLE thread = CreateThread(nullptr, 0, body, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 99u);
    EXPECT_FALSE(after);
    CloseHandle(thread);
}

TEST(Threads, TerminateThreadSignalsAtOnceAndStopsTheThreadAtItsNextWait) {
    static std::atomic<int> rounds{0};
    auto body = [](LPVOID) -> DWORD {
        for (;;) {
            ++rounds;
            Sleep(5);
        }
    };
    HANDLE thread = CreateThread(nullptr, 0, body, nullptr, 0, nullptr);
    while (rounds < 3) Sleep(1);
    EXPECT_TRUE(TerminateThread(thread, 1));
    EXPECT_EQ(WaitForSingleObject(thread, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 1u);
    Sleep(200);
    int stopped = rounds;
    Sleep(200);
    EXPECT_EQ(rounds, stopped);
    CloseHandle(thread);
}

TEST(Threads, StaleAndWrongHandlesAreRefused) {
    HANDLE thread = CreateThread(nullptr, 0, ReturnParameter, reinterpret_cast<LPVOID>(3), 0, nullptr);
    WaitForSingleObject(thread, INFINITE);
    ASSERT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(CloseHandle(thread));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_FAILED);
    DWORD code;
    EXPECT_FALSE(GetExitCodeThread(thread, &code));
    EXPECT_FALSE(SetEvent(nullptr));
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    EXPECT_FALSE(GetExitCodeThread(event, &code));  // not a thread
    CloseHandle(event);
}

TEST(Events, AutoResetEventReleasesOneWaitAndTimesOut) {
    HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    DWORD start = GetTickCount();
    EXPECT_EQ(WaitForSingleObject(event, 100), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_GE(GetTickCount() - start, 90u);
    EXPECT_TRUE(EventModify(event, EVENT_SET));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));  // reset by the wait

    // Set from another thread while this one waits.
    auto setter = [](LPVOID p) -> DWORD {
        Sleep(30);
        SetEvent(static_cast<HANDLE>(p));
        return 0;
    };
    HANDLE thread = CreateThread(nullptr, 0, setter, event, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 5000), static_cast<DWORD>(WAIT_OBJECT_0));
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(event);
}

TEST(Events, ManualResetEventStaysSetUntilReset) {
    HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);

    HANDLE named = CreateEventW(nullptr, TRUE, FALSE, TEXT("ready"));
    HANDLE again = CreateEventW(nullptr, TRUE, FALSE, TEXT("ready"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    SetEvent(again);
    EXPECT_EQ(WaitForSingleObject(named, 0), static_cast<DWORD>(WAIT_OBJECT_0));
    CloseHandle(named);
    CloseHandle(again);
}

TEST(Interlocked, CountsFromManyThreadsAddUp) {
    struct Shared {
        LONG volatile count = 0;
        CRITICAL_SECTION lock;
        long plain = 0;
    } shared;
    InitializeCriticalSection(&shared.lock);
    auto body = [](LPVOID p) -> DWORD {
        auto* s = static_cast<Shared*>(p);
        for (int i = 0; i < 20000; ++i) {
            InterlockedIncrement(&s->count);
            InterlockedIncrement(&s->count);
            InterlockedDecrement(&s->count);
            EnterCriticalSection(&s->lock);
            EnterCriticalSection(&s->lock);  // recursive
            ++s->plain;
            LeaveCriticalSection(&s->lock);
            LeaveCriticalSection(&s->lock);
        }
        return 0;
    };
    HANDLE threads[4];
    for (HANDLE& t : threads) t = CreateThread(nullptr, 0, body, &shared, 0, nullptr);
    for (HANDLE t : threads) {
        EXPECT_EQ(WaitForSingleObject(t, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
        CloseHandle(t);
    }
    EXPECT_EQ(shared.count, 80000);
    EXPECT_EQ(shared.plain, 80000);
    DeleteCriticalSection(&shared.lock);

    LONG v = 5;
    EXPECT_EQ(InterlockedExchange(&v, 9), 5);
    EXPECT_EQ(InterlockedCompareExchange(&v, 1, 9), 9);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(InterlockedCompareExchange(&v, 2, 9), 1);
    EXPECT_EQ(v, 1);
}

TEST(Heap, LocalAllocZeroesAndReportsItsSize) {
    auto* p = static_cast<BYTE*>(LocalAlloc(LPTR, 33));
    ASSERT_NE(p, nullptr);
    for (int i = 0; i < 33; ++i) EXPECT_EQ(p[i], 0);
    EXPECT_EQ(LocalSize(p), 33u);
    EXPECT_EQ(LocalFree(p), nullptr);
    EXPECT_EQ(LocalFree(nullptr), nullptr);

    testing_support::TempDevice device;
    host::FailCall("LocalAlloc", 1, ERROR_NOT_ENOUGH_MEMORY);
    SetLastError(0);
    EXPECT_EQ(LocalAlloc(LPTR, 8), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
    void* q = LocalAlloc(LPTR, 8);
    EXPECT_NE(q, nullptr);
    LocalFree(q);
}

}  // namespace
