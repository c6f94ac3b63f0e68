// A message-sequence recorder for window tests: a window procedure records
// every message it gets (message, sent or posted, wParam, lParam) and the
// test compares the record with an expected table:
//
//     const Expected kFocus[] = {
//         {WM_KILLFOCUS, Sent | Wparam, /*wParam*/ to_wparam(second)},
//         {WM_SETFOCUS, Sent},
//         {0}};
//     EXPECT_TRUE(MatchSequence(recorder.Take(first), kFocus));
//
// A message counts as posted when it reaches the procedure through the
// recorder's Dispatch or Pump (which every recording thread's loop should
// use), and as sent otherwise.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <initializer_list>
#include <mutex>
#include <set>
#include <vector>

namespace testing_support {

enum MessageFlags {
    Sent = 0x1,
    Posted = 0x2,
    Wparam = 0x4,    // compare wParam
    Lparam = 0x8,    // compare lParam
    Optional = 0x10  // may be missing
};

struct Expected {
    UINT message = 0;
    int flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

struct Recorded {
    HWND hwnd;
    UINT message;
    bool posted;
    WPARAM wParam;
    LPARAM lParam;
};

class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // The recorder the recording window procedure writes to (the last made).
    static MessageRecorder* Current();
    // Records, then hands the message to DefWindowProcW.
    static LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Registers a class whose windows use RecordingProc.
    static ATOM RegisterRecordingClass(LPCWSTR name, HBRUSH background = nullptr);

    void Record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Messages never recorded (WM_PAINT noise and the like).
    void Ignore(std::initializer_list<UINT> messages);

    // DispatchMessageW, noting that the message was posted.
    LRESULT Dispatch(const MSG& msg);
    // Retrieves and dispatches everything this thread has queued; returns
    // how many messages were dispatched.
    int Pump();

    // What was recorded (for one window, or all), removed from the record.
    std::vector<Recorded> Take(HWND hwnd = nullptr);
    void Clear();

private:
    std::mutex mutex_;
    std::vector<Recorded> record_;
    std::set<UINT> ignored_;
};

// Compares a record with a table ending in {0}; on a mismatch the message
// lists both side by side.
::testing::AssertionResult MatchSequence(const std::vector<Recorded>& record, const Expected* table);

// A name for a message number, for failure listings.
const char* MessageName(UINT message);

}  // namespace testing_support
