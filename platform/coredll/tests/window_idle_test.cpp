// host::WaitForIdle: the device has settled only when no thread the
// platform started is still at work, windows or not.
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <screen_host.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace {

std::atomic<bool> g_done{false};
HANDLE g_go = nullptr;

// Work that is no platform wait, as a helper thread's showing of a window is.
void Work() {
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(60);
    while (std::chrono::steady_clock::now() < until) {
    }
    g_done = true;
}

DWORD WINAPI Worker(LPVOID) {
    Work();
    return 0;
}

DWORD WINAPI WorkerAfterTheEvent(LPVOID) {
    WaitForSingleObject(g_go, INFINITE);
    Work();
    return 0;
}

DWORD WINAPI Sleeper(LPVOID) {
    WaitForSingleObject(g_go, INFINITE);
    return 0;
}

// A handler's poll: it sleeps a millisecond at a time until the flag is up.
DWORD WINAPI Poller(LPVOID) {
    for (int i = 0; i < 30; ++i) Sleep(1);
    g_done = true;
    return 0;
}

std::mutex g_ownLock;
std::condition_variable g_ownWake;
bool g_ownStop = false;

DWORD WINAPI ServiceWithAWaitOfItsOwn(LPVOID) {
    std::unique_lock<std::mutex> lock(g_ownLock);
    auto wakes = [] { return g_ownStop; };
    host::OutsideWait waiting(g_ownLock, wakes);
    g_ownWake.wait(lock, wakes);
    return 0;
}

TEST(WindowIdle, EveryStartedThreadHasToBeWaitingAndNotAboutToWake) {
    g_go = CreateEventW(nullptr, TRUE, FALSE, nullptr);

    g_done = false;
    HANDLE running = CreateThread(nullptr, 0, Worker, nullptr, 0, nullptr);
    ASSERT_TRUE(host::WaitForIdle());
    EXPECT_TRUE(g_done) << "a thread at work is waited for";
    WaitForSingleObject(running, INFINITE);
    CloseHandle(running);

    g_done = false;
    HANDLE woken = CreateThread(nullptr, 0, WorkerAfterTheEvent, nullptr, 0, nullptr);
    ASSERT_TRUE(host::WaitForIdle()) << "waiting on an event that is not set";
    EXPECT_FALSE(g_done);
    SetEvent(g_go);
    ASSERT_TRUE(host::WaitForIdle());
    EXPECT_TRUE(g_done) << "a wait whose event is set is a thread about to run";
    WaitForSingleObject(woken, INFINITE);
    CloseHandle(woken);
    ResetEvent(g_go);

    // A thread in Sleep runs on by itself: however often the idle wait
    // looks, it finds the poll at work until the poll is over.
    g_done = false;
    HANDLE poller = CreateThread(nullptr, 0, Poller, nullptr, 0, nullptr);
    ASSERT_TRUE(host::WaitForIdle());
    EXPECT_TRUE(g_done) << "a sleeping thread is waited for";
    WaitForSingleObject(poller, INFINITE);
    CloseHandle(poller);

    // Long waits, the platform's or a service's own, are no work.
    HANDLE sleeper = CreateThread(nullptr, 0, Sleeper, nullptr, 0, nullptr);
    HANDLE service = CreateThread(nullptr, 0, ServiceWithAWaitOfItsOwn, nullptr, 0, nullptr);
    EXPECT_TRUE(host::WaitForIdle(1000));
    SetEvent(g_go);
    WaitForSingleObject(sleeper, INFINITE);
    // A service whose condition holds is about to run, woken or not yet.
    {
        std::lock_guard<std::mutex> lock(g_ownLock);
        g_ownStop = true;
    }
    EXPECT_FALSE(host::WaitForIdle(100)) << "a service whose wait is over is at work";
    g_ownWake.notify_all();
    WaitForSingleObject(service, INFINITE);
    EXPECT_TRUE(host::WaitForIdle(1000));
    CloseHandle(sleeper);
    CloseHandle(service);
    CloseHandle(g_go);
}

}  // namespace
