// The message-sequence recorder of the window tests.
#include "MessageRecorder.h"

#include <atomic>
#include <sstream>

namespace testing_support {

namespace {

std::atomic<MessageRecorder*> g_current{nullptr};

// The message being dispatched on this thread, until its procedure sees it.
struct PendingPost {
    bool set = false;
    MSG msg{};
};
thread_local PendingPost t_pending;

bool SameMessage(const MSG& m, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    return m.hwnd == hwnd && m.message == msg && m.wParam == wParam && m.lParam == lParam;
}

std::string Describe(const Recorded& r) {
    std::ostringstream s;
    s << MessageName(r.message) << " (0x" << std::hex << r.message << ")" << (r.posted ? " posted" : " sent") << " w=0x"
      << r.wParam << " l=0x" << r.lParam;
    return s.str();
}

std::string Describe(const Expected& e) {
    std::ostringstream s;
    s << MessageName(e.message) << " (0x" << std::hex << e.message << ")"
      << ((e.flags & Posted) ? " posted"
          : (e.flags & Sent) ? " sent"
                             : "");
    if (e.flags & Wparam) s << " w=0x" << std::hex << e.wParam;
    if (e.flags & Lparam) s << " l=0x" << std::hex << e.lParam;
    if (e.flags & Optional) s << " (optional)";
    return s.str();
}

bool Matches(const Expected& e, const Recorded& r) {
    if (e.message != r.message) return false;
    if ((e.flags & Sent) && r.posted) return false;
    if ((e.flags & Posted) && !r.posted) return false;
    if ((e.flags & Wparam) && e.wParam != r.wParam) return false;
    if ((e.flags & Lparam) && e.lParam != r.lParam) return false;
    return true;
}

}  // namespace

MessageRecorder::MessageRecorder() { g_current = this; }

MessageRecorder::~MessageRecorder() {
    MessageRecorder* self = this;
    g_current.compare_exchange_strong(self, nullptr);
}

MessageRecorder* MessageRecorder::Current() { return g_current.load(); }

LRESULT CALLBACK MessageRecorder::RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (MessageRecorder* r = Current()) r->Record(hwnd, msg, wParam, lParam);
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ATOM MessageRecorder::RegisterRecordingClass(LPCWSTR name, HBRUSH background) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    return RegisterClassW(&wc);
}

void MessageRecorder::Record(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    bool posted = t_pending.set && SameMessage(t_pending.msg, hwnd, msg, wParam, lParam);
    if (posted) t_pending.set = false;
    std::lock_guard<std::mutex> lock(mutex_);
    if (ignored_.count(msg)) return;
    record_.push_back(Recorded{hwnd, msg, posted, wParam, lParam});
}

void MessageRecorder::Ignore(std::initializer_list<UINT> messages) {
    std::lock_guard<std::mutex> lock(mutex_);
    ignored_.insert(messages.begin(), messages.end());
}

LRESULT MessageRecorder::Dispatch(const MSG& msg) {
    t_pending.set = true;
    t_pending.msg = msg;
    LRESULT result = DispatchMessageW(&msg);
    t_pending.set = false;
    return result;
}

int MessageRecorder::Pump() {
    int count = 0;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        TranslateMessage(&msg);
        Dispatch(msg);
        ++count;
    }
    return count;
}

std::vector<Recorded> MessageRecorder::Take(HWND hwnd) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<Recorded> taken, kept;
    for (const Recorded& r : record_) (hwnd && r.hwnd != hwnd ? kept : taken).push_back(r);
    record_.swap(kept);
    return taken;
}

void MessageRecorder::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    record_.clear();
}

::testing::AssertionResult MatchSequence(const std::vector<Recorded>& record, const Expected* table) {
    std::vector<Expected> expected;
    for (const Expected* e = table; e && e->message; ++e) expected.push_back(*e);
    size_t i = 0, j = 0;
    bool ok = true;
    while (j < expected.size()) {
        if (i < record.size() && Matches(expected[j], record[i])) {
            ++i;
            ++j;
        } else if (expected[j].flags & Optional) {
            ++j;
        } else {
            ok = false;
            break;
        }
    }
    if (ok && i == record.size()) return ::testing::AssertionSuccess();
    std::ostringstream s;
    s << "message sequence differs\n  expected:\n";
    for (const Expected& e : expected) s << "    " << Describe(e) << "\n";
    s << "  recorded:\n";
    for (const Recorded& r : record) s << "    " << Describe(r) << "\n";
    return ::testing::AssertionFailure() << s.str();
}

const char* MessageName(UINT message) {
    switch (message) {
        case WM_CREATE:
            return "WM_CREATE";
        case WM_DESTROY:
            return "WM_DESTROY";
        case WM_MOVE:
            return "WM_MOVE";
        case WM_SIZE:
            return "WM_SIZE";
        case WM_ACTIVATE:
            return "WM_ACTIVATE";
        case WM_SETFOCUS:
            return "WM_SETFOCUS";
        case WM_KILLFOCUS:
            return "WM_KILLFOCUS";
        case WM_ENABLE:
            return "WM_ENABLE";
        case WM_SETTEXT:
            return "WM_SETTEXT";
        case WM_GETTEXT:
            return "WM_GETTEXT";
        case WM_GETTEXTLENGTH:
            return "WM_GETTEXTLENGTH";
        case WM_PAINT:
            return "WM_PAINT";
        case WM_CLOSE:
            return "WM_CLOSE";
        case WM_QUIT:
            return "WM_QUIT";
        case WM_ERASEBKGND:
            return "WM_ERASEBKGND";
        case WM_SHOWWINDOW:
            return "WM_SHOWWINDOW";
        case WM_SETTINGCHANGE:
            return "WM_SETTINGCHANGE";
        case WM_WINDOWPOSCHANGED:
            return "WM_WINDOWPOSCHANGED";
        case WM_NOTIFY:
            return "WM_NOTIFY";
        case WM_NCCREATE:
            return "WM_NCCREATE";
        case WM_NCDESTROY:
            return "WM_NCDESTROY";
        case WM_KEYDOWN:
            return "WM_KEYDOWN";
        case WM_KEYUP:
            return "WM_KEYUP";
        case WM_CHAR:
            return "WM_CHAR";
        case WM_COMMAND:
            return "WM_COMMAND";
        case WM_TIMER:
            return "WM_TIMER";
        case WM_HOTKEY:
            return "WM_HOTKEY";
        case WM_USER:
            return "WM_USER";
        default:
            return "message";
    }
}

}  // namespace testing_support
