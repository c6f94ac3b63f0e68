#include "WindowThread.h"

#include "MessageRecorder.h"

namespace testing_support {

namespace {

void Dispatch(const MSG& msg) {
    if (MessageRecorder* recorder = MessageRecorder::Current())
        recorder->Dispatch(msg);
    else
        DispatchMessageW(&msg);
}

void DispatchQueued() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) Dispatch(msg);
}

}  // namespace

bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (condition()) return true;
        DispatchQueued();
        Sleep(1);
    }
    return condition();
}

WindowThread::WindowThread(std::function<HWND()> makeWindow, bool loop)
    : makeWindow_(std::move(makeWindow)), loop_(loop) {}

WindowThread::~WindowThread() {
    if (thread_) Stop();
    if (ready_) CloseHandle(ready_);
    if (done_) CloseHandle(done_);
}

DWORD WINAPI WindowThread::Main(LPVOID parameter) {
    auto* self = static_cast<WindowThread*>(parameter);
    self->window_ = self->makeWindow_();
    SetEvent(self->ready_);
    if (!self->loop_) return 0;
    // Blocks in GetMessage, as a program's loop does, so that a settled
    // thread of windows counts as waiting; Stop wakes it with a message.
    MSG msg;
    while (WaitForSingleObject(self->done_, 0) == WAIT_TIMEOUT && GetMessageW(&msg, nullptr, 0, 0) > 0)
        Dispatch(msg);
    return 0;
}

bool WindowThread::Start() {
    ready_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    done_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, Main, this, 0, &threadId_);
    return thread_ && WaitForSingleObject(ready_, kWindowTestTimeoutMs) == WAIT_OBJECT_0;
}

bool WindowThread::WaitForEnd(DWORD timeoutMs) {
    if (!thread_) return true;
    if (WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return false;
    CloseHandle(thread_);
    thread_ = nullptr;
    return true;
}

bool WindowThread::Stop() {
    if (!thread_) return true;
    SetEvent(done_);
    PostThreadMessageW(threadId_, WM_NULL, 0, 0);
    return WaitForEnd();
}

}  // namespace testing_support
