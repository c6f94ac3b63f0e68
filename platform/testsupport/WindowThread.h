// A thread that owns windows, for tests that need a second GUI thread: it
// makes its window with the function it is given, then handles its messages
// (through the current MessageRecorder when there is one) until it is
// stopped. Every wait is bounded, so that a fault shows as a failed test
// instead of a hang.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>

namespace testing_support {

constexpr DWORD kWindowTestTimeoutMs = 5000;

// Handles this thread's messages until condition() holds or the time is up;
// the condition's last answer.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = kWindowTestTimeoutMs);

class WindowThread {
public:
    // makeWindow runs on the new thread; loop false ends the thread as soon
    // as the window is made (its window then goes with it).
    explicit WindowThread(std::function<HWND()> makeWindow, bool loop = true);
    ~WindowThread();
    WindowThread(const WindowThread&) = delete;
    WindowThread& operator=(const WindowThread&) = delete;

    // Starts the thread and waits for its window; false on a timeout.
    bool Start();
    // Ends the loop and waits for the thread; false on a timeout.
    bool Stop();
    // Waits for the thread to end by itself.
    bool WaitForEnd(DWORD timeoutMs = kWindowTestTimeoutMs);

    HWND Window() const { return window_; }
    DWORD ThreadId() const { return threadId_; }

private:
    static DWORD WINAPI Main(LPVOID self);

    std::function<HWND()> makeWindow_;
    bool loop_;
    std::atomic<HWND> window_{nullptr};
    HANDLE thread_ = nullptr;
    HANDLE ready_ = nullptr;
    HANDLE done_ = nullptr;
    DWORD threadId_ = 0;
};

}  // namespace testing_support
