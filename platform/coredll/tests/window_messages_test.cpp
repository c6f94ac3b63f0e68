// Messages between threads and within one: SendMessageW blocks and is
// answered, sent messages come before posted ones, a waiting sender still
// handles what is sent to it, and a window of an ended thread answers 0.
#include <MessageRecorder.h>
#include <WindowThread.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

using namespace testing_support;

namespace {

constexpr UINT WM_ASK = WM_USER + 1;       // answered with lParam + 1
constexpr UINT WM_ASK_BACK = WM_USER + 2;  // asks the window in wParam, then answers
constexpr UINT WM_STOP = WM_USER + 3;

LRESULT CALLBACK AnswerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (MessageRecorder* r = MessageRecorder::Current()) r->Record(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_ASK:
            return lParam + 1;
        case WM_ASK_BACK:
            return SendMessageW(reinterpret_cast<HWND>(wParam), WM_ASK, 0, lParam) * 10;
        case WM_STOP:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void RegisterAnswerClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = AnswerProc;
    wc.lpszClassName = u"Answer";
    RegisterClassW(&wc);
}

HWND MakeWorkerWindow() {
    return CreateWindowExW(0, u"Answer", u"worker", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
}

TEST(WindowMessages, CrossThreadSendBlocksAndIsAnsweredWhileTheSenderHandlesASendBack) {
    RegisterAnswerClass();
    HWND mine = CreateWindowExW(0, u"Answer", u"main", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(mine);
    WindowThread worker(MakeWorkerWindow);
    ASSERT_TRUE(worker.Start());
    EXPECT_EQ(SendMessageW(worker.Window(), WM_ASK, 0, 41), 42);
    // The worker asks back while this thread waits for its answer: the send
    // to this thread is handled inside the wait, so nobody deadlocks.
    EXPECT_EQ(SendMessageW(worker.Window(), WM_ASK_BACK, reinterpret_cast<WPARAM>(mine), 6), 70);
    EXPECT_TRUE(worker.Stop());
    DestroyWindow(mine);
}

TEST(WindowMessages, SameThreadSendCallsTheProcedureAtOnce) {
    RegisterAnswerClass();
    MessageRecorder recorder;
    HWND w = CreateWindowExW(0, u"Answer", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    recorder.Clear();
    EXPECT_EQ(SendMessageW(w, WM_ASK, 3, 4), 5);
    const Expected kOne[] = {{WM_ASK, Sent | Wparam | Lparam, 3, 4}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kOne));
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) << "nothing was queued";
    DestroyWindow(w);
}

TEST(WindowMessages, SentMessagesAreHandledBeforePostedOnes) {
    RegisterAnswerClass();
    MessageRecorder recorder;
    // A thread posts to its window, is sent to, and only then looks at its queue.
    struct Ctx {
        HANDLE posted;
        HANDLE go;
        std::atomic<HWND> window{nullptr};
    } ctx{CreateEventW(nullptr, FALSE, FALSE, nullptr), CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    auto body = [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        HWND h = CreateWindowExW(0, u"Answer", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        c->window = h;
        PostMessageW(h, WM_USER + 10, 1, 0);
        PostMessageW(h, WM_USER + 11, 2, 0);
        SetEvent(c->posted);
        WaitForSingleObject(c->go, INFINITE);
        while (!(GetQueueStatus(QS_SENDMESSAGE) & QS_SENDMESSAGE)) Sleep(1);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) MessageRecorder::Current()->Dispatch(msg);
        return 0;
    };
    HANDLE thread = CreateThread(nullptr, 0, body, &ctx, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(ctx.posted, 5000), WAIT_OBJECT_0);
    recorder.Clear();
    SetEvent(ctx.go);
    EXPECT_EQ(SendMessageW(ctx.window, WM_ASK, 0, 1), 2);
    PostMessageW(ctx.window, WM_STOP, 0, 0);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    const Expected kOrder[] = {{WM_ASK, Sent},
                               {WM_USER + 10, Posted | Wparam, 1},
                               {WM_USER + 11, Posted | Wparam, 2},
                               {WM_STOP, Posted},
                               {WM_DESTROY, Sent | Optional},
                               {WM_NCDESTROY, Sent | Optional},
                               {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(ctx.window), kOrder));
    CloseHandle(thread);
    CloseHandle(ctx.posted);
    CloseHandle(ctx.go);
}

TEST(WindowMessages, AWindowOfAnEndedThreadIsGoneAndASendToItAnswersZero) {
    RegisterAnswerClass();
    MessageRecorder recorder;
    WindowThread worker(MakeWorkerWindow, false);
    ASSERT_TRUE(worker.Start());
    HWND w = worker.Window();
    ASSERT_TRUE(worker.WaitForEnd());
    recorder.Clear();
    SetLastError(0);
    EXPECT_EQ(SendMessageW(w, WM_ASK, 0, 1), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_FALSE(PostMessageW(w, WM_ASK, 0, 1));
    // Its procedure was not called on the way out.
    EXPECT_TRUE(recorder.Take(w).empty());
}

TEST(WindowMessages, ASenderWaitingOnAThreadThatEndsIsReleasedWithZero) {
    struct Ctx {
        HANDLE ready;
        std::atomic<HWND> window{nullptr};
    } ctx{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    auto body = [](LPVOID p) -> DWORD {
        auto* c = static_cast<Ctx*>(p);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.lpszClassName = u"Silent";
        RegisterClassW(&wc);
        c->window = CreateWindowExW(0, u"Silent", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        SetEvent(c->ready);
        Sleep(200);  // never looks at its queue, then ends
        return 0;
    };
    HANDLE thread = CreateThread(nullptr, 0, body, &ctx, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(ctx.ready, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(SendMessageW(ctx.window, WM_USER, 0, 0), 0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(ctx.ready);
}

TEST(WindowMessages, PostedThreadMessagesQuitAndFilters) {
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // makes the queue
    EXPECT_TRUE(PostThreadMessageW(GetCurrentThreadId(), WM_USER + 5, 7, 8));
    EXPECT_TRUE(PostMessageW(nullptr, WM_USER + 6, 0, 0)) << "a null window posts to the thread";
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_USER + 7, WM_USER + 9, PM_REMOVE)) << "outside the range";
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_USER + 6, WM_USER + 6, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 7u);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 6));
    PostQuitMessage(3);
    EXPECT_FALSE(GetMessageW(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
}

TEST(WindowMessages, TimersArriveAsWmTimerAndStopWhenKilled) {
    MessageRecorder recorder;
    MessageRecorder::RegisterRecordingClass(u"Timed");
    HWND w = CreateWindowExW(0, u"Timed", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    recorder.Ignore({WM_PAINT, WM_ERASEBKGND});
    recorder.Clear();
    EXPECT_EQ(SetTimer(w, 9, 10, nullptr), 9u);
    MSG msg;
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    recorder.Dispatch(msg);
    const Expected kTimer[] = {{WM_TIMER, Posted | Wparam, 9}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kTimer));
    EXPECT_TRUE(KillTimer(w, 9));
    EXPECT_FALSE(KillTimer(w, 9));
    Sleep(30);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));

    static std::atomic<int> calls{0};
    auto proc = [](HWND, UINT, UINT_PTR, DWORD) { ++calls; };
    UINT_PTR id = SetTimer(nullptr, 0, 5, proc);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(GetMessageW(&msg, nullptr, 0, 0));
    DispatchMessageW(&msg);
    EXPECT_EQ(calls, 1) << "the timer procedure runs from DispatchMessageW";
    KillTimer(nullptr, id);
    DestroyWindow(w);
}

TEST(WindowMessages, TranslateMessageMakesCharactersOfCharacterKeys) {
    MessageRecorder recorder;
    MessageRecorder::RegisterRecordingClass(u"Typed");
    HWND w = CreateWindowExW(0, u"Typed", nullptr, WS_VISIBLE, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    recorder.Ignore({WM_PAINT, WM_ERASEBKGND, WM_ACTIVATE, WM_SETFOCUS, WM_KILLFOCUS, WM_SHOWWINDOW,
                     WM_WINDOWPOSCHANGED, WM_MOVE, WM_SIZE});
    recorder.Pump();
    recorder.Clear();
    for (BYTE vk : {BYTE('7'), BYTE(VK_F8), BYTE(VK_F9), BYTE(VK_LEFT)}) {
        keybd_event(vk, 0, 0, 0);
        keybd_event(vk, 0, KEYEVENTF_KEYUP, 0);
    }
    recorder.Pump();
    const Expected kKeys[] = {{WM_KEYDOWN, Posted | Wparam, '7'},   {WM_CHAR, Posted | Wparam, '7'},
                              {WM_KEYUP, Posted | Wparam, '7'},     {WM_KEYDOWN, Posted | Wparam, VK_F8},
                              {WM_CHAR, Posted | Wparam, '*'},      {WM_KEYUP, Posted | Wparam, VK_F8},
                              {WM_KEYDOWN, Posted | Wparam, VK_F9}, {WM_CHAR, Posted | Wparam, '#'},
                              {WM_KEYUP, Posted | Wparam, VK_F9},   {WM_KEYDOWN, Posted | Wparam, VK_LEFT},
                              {WM_KEYUP, Posted | Wparam, VK_LEFT}, {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kKeys));
    DestroyWindow(w);
}

}  // namespace
