// Making and destroying windows: WM_CREATE and its failure, the order of
// WM_DESTROY and WM_NCDESTROY, classes, slots, text and finding windows.
#include <MessageRecorder.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>

using namespace testing_support;

namespace {

struct CreateSeen {
    LPVOID param = nullptr;
    HWND parent = nullptr;
    int x = 0, y = 0, cx = 0, cy = 0;
    bool seen = false;
};
CreateSeen g_create;
LRESULT g_createAnswer = 0;

LRESULT CALLBACK CreatingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (MessageRecorder* r = MessageRecorder::Current()) r->Record(hwnd, msg, wParam, lParam);
    if (msg == WM_CREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
        g_create = CreateSeen{cs->lpCreateParams, cs->hwndParent, cs->x, cs->y, cs->cx, cs->cy, true};
        return g_createAnswer;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

ATOM RegisterCreating(LPCWSTR name, int extra = 0) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = CreatingProc;
    wc.cbWndExtra = extra;
    wc.lpszClassName = name;
    return RegisterClassW(&wc);
}

TEST(WindowLifecycle, WmCreateCarriesTheCreationParametersAndIsFollowedBySizeAndMove) {
    MessageRecorder recorder;
    ASSERT_NE(RegisterCreating(u"Creating"), 0);
    int cookie = 0;
    g_createAnswer = 0;
    HWND w = CreateWindowExW(0, u"Creating", u"title", 0, 3, 4, 50, 60, nullptr, nullptr, nullptr, &cookie);
    ASSERT_TRUE(w);
    EXPECT_TRUE(g_create.seen);
    EXPECT_EQ(g_create.param, &cookie);
    EXPECT_EQ(g_create.x, 3);
    EXPECT_EQ(g_create.cy, 60);
    const Expected kCreate[] = {{WM_CREATE, Sent},
                                {WM_SIZE, Sent | Wparam | Lparam, SIZE_RESTORED, MAKELPARAM(50, 60)},
                                {WM_MOVE, Sent | Lparam, 0, MAKELPARAM(3, 4)},
                                {0}};
    EXPECT_TRUE(MatchSequence(recorder.Take(w), kCreate));
    WCHAR text[16];
    EXPECT_EQ(GetWindowTextW(w, text, 16), 5);
    EXPECT_EQ(std::u16string(text), u"title");
    EXPECT_FALSE(IsWindowVisible(w)) << "no WS_VISIBLE, not shown";
    DestroyWindow(w);
}

TEST(WindowLifecycle, MinusOneFromWmCreateFailsTheCreationAndTheWindowIsGone) {
    MessageRecorder recorder;
    RegisterCreating(u"Refusing");
    g_createAnswer = -1;
    EXPECT_EQ(CreateWindowExW(0, u"Refusing", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr), nullptr);
    std::vector<Recorded> record = recorder.Take();
    ASSERT_FALSE(record.empty());
    HWND gone = record.front().hwnd;
    const Expected kRefused[] = {{WM_CREATE, Sent}, {WM_DESTROY, Sent}, {WM_NCDESTROY, Sent}, {0}};
    EXPECT_TRUE(MatchSequence(record, kRefused));
    EXPECT_FALSE(IsWindow(gone));
    EXPECT_EQ(FindWindowW(u"Refusing", nullptr), nullptr);
    g_createAnswer = 0;
    // With no windows left the class can go.
    EXPECT_TRUE(UnregisterClassW(u"Refusing", nullptr));
}

TEST(WindowLifecycle, DestroyWindowTellsParentFirstThenChildrenAndEndsChildrenFirst) {
    MessageRecorder recorder;
    MessageRecorder::RegisterRecordingClass(u"Tree");
    HWND parent = CreateWindowExW(0, u"Tree", nullptr, 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, u"Tree", nullptr, WS_CHILD, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(7),
                                 nullptr, nullptr);
    ASSERT_TRUE(child);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetDlgItem(parent, 7), child);
    EXPECT_EQ(GetDlgCtrlID(child), 7);
    EXPECT_EQ(GetWindow(parent, GW_CHILD), child);
    recorder.Clear();
    EXPECT_TRUE(DestroyWindow(parent));
    std::vector<Recorded> record = recorder.Take();
    ASSERT_EQ(record.size(), 4u);
    EXPECT_EQ(record[0].hwnd, parent);
    EXPECT_EQ(record[0].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(record[1].hwnd, child);
    EXPECT_EQ(record[1].message, static_cast<UINT>(WM_DESTROY));
    EXPECT_EQ(record[2].hwnd, child);
    EXPECT_EQ(record[2].message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(record[3].hwnd, parent);
    EXPECT_EQ(record[3].message, static_cast<UINT>(WM_NCDESTROY));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(parent));
}

TEST(WindowLifecycle, WmCloseDestroysThroughDefWindowProc) {
    MessageRecorder::RegisterRecordingClass(u"Closable");
    HWND w = CreateWindowExW(0, u"Closable", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(w, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(w));
}

TEST(WindowLifecycle, ClassesAndTheDialogClassExtraBytes) {
    WNDCLASSW wc{};
    ASSERT_TRUE(GetClassInfoW(nullptr, u"Dialog", &wc));
    EXPECT_EQ(wc.cbWndExtra, DLGWINDOWEXTRA);
    EXPECT_TRUE(GetClassInfoW(nullptr, u"DIALOG", &wc)) << "class names compare case-insensitively";
    ASSERT_NE(RegisterCreating(u"Twice"), 0);
    EXPECT_EQ(RegisterCreating(u"TWICE"), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
    EXPECT_FALSE(GetClassInfoW(nullptr, u"NoSuchClass", &wc));
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
    g_createAnswer = 0;
    HWND w = CreateWindowExW(0, u"Twice", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(UnregisterClassW(u"Twice", nullptr)) << "a class with windows stays";
    WCHAR name[8];
    EXPECT_EQ(GetClassNameW(w, name, 4), 3) << "cut to the buffer";
    EXPECT_EQ(std::u16string(name), u"Twi");
    DestroyWindow(w);
    EXPECT_TRUE(UnregisterClassW(u"Twice", nullptr));
}

TEST(WindowLifecycle, TwoModulesMayEachRegisterAClassOfTheSameName) {
    HINSTANCE program = GetModuleHandleW(nullptr);
    HMODULE library = LoadLibraryW(u"coredll.dll");
    ASSERT_TRUE(library);
    WNDCLASSW wc{};
    wc.lpszClassName = u"Shared";
    wc.hInstance = program;
    wc.lpfnWndProc = CreatingProc;
    ASSERT_NE(RegisterClassW(&wc), 0);
    wc.hInstance = library;
    wc.lpfnWndProc = MessageRecorder::RecordingProc;
    ASSERT_NE(RegisterClassW(&wc), 0) << "another module's class of the same name";
    EXPECT_EQ(RegisterClassW(&wc), 0);
    g_createAnswer = 0;
    HWND mine = CreateWindowExW(0, u"Shared", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, program, nullptr);
    HWND theirs = CreateWindowExW(0, u"Shared", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, library, nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(mine, GWL_WNDPROC)), CreatingProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(theirs, GWL_WNDPROC)), MessageRecorder::RecordingProc);
    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(library, u"Shared", &info));
    EXPECT_EQ(info.lpfnWndProc, MessageRecorder::RecordingProc);
    DestroyWindow(mine);
    DestroyWindow(theirs);
    FreeLibrary(library);
}

TEST(WindowLifecycle, SlotsRoundTripAndExtraBytesAreBounded) {
    g_createAnswer = 0;
    RegisterCreating(u"Slots", DLGWINDOWEXTRA);
    HWND w = CreateWindowExW(0, u"Slots", nullptr, WS_CLIPSIBLINGS, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    static int object;
    SetLastError(0);
    EXPECT_EQ(SetWindowLongPtrW(w, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&object)), 0);
    EXPECT_EQ(GetLastError(), 0u);
    EXPECT_EQ(reinterpret_cast<int*>(GetWindowLongPtrW(w, GWL_USERDATA)), &object);
    EXPECT_EQ(SetWindowLongPtrW(w, DWL_USER, 1234), 0);
    EXPECT_EQ(GetWindowLongPtrW(w, DWL_USER), 1234);
    EXPECT_EQ(GetWindowLongW(w, GWL_STYLE), static_cast<LONG>(WS_CLIPSIBLINGS));
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWL_WNDPROC)), CreatingProc);
    EXPECT_EQ(GetWindowLongPtrW(w, DLGWINDOWEXTRA), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    EXPECT_EQ(GetWindowLongW(w, -100), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
    // Subclassing: the new procedure sees the messages and can hand them on.
    static WNDPROC previous = nullptr;
    static int seen = 0;
    auto sub = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_USER) ++seen;
        return CallWindowProcW(previous, h, m, wp, lp);
    };
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(+sub)));
    EXPECT_EQ(previous, CreatingProc);
    SendMessageW(w, WM_USER, 0, 0);
    EXPECT_EQ(seen, 1);
    DestroyWindow(w);
}

TEST(WindowLifecycle, TextThroughSetAndGetWindowText) {
    MessageRecorder::RegisterRecordingClass(u"Texted");
    HWND w = CreateWindowExW(0, u"Texted", nullptr, 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(w), 0);
    EXPECT_TRUE(SetWindowTextW(w, u"Привет"));
    EXPECT_EQ(GetWindowTextLengthW(w), 6);
    WCHAR small[4];
    EXPECT_EQ(GetWindowTextW(w, small, 4), 3);
    EXPECT_EQ(std::u16string(small), u"При");
    EXPECT_EQ(FindWindowW(nullptr, u"Привет"), w);
    EXPECT_EQ(FindWindowW(u"texted", u"Привет"), w);
    EXPECT_EQ(FindWindowW(u"Texted", u"other"), nullptr);
    DestroyWindow(w);
}

TEST(WindowLifecycle, FindWindowFindsTopLevelWindowsByClassOnly) {
    MessageRecorder::RegisterRecordingClass(u"Found");
    MessageRecorder::RegisterRecordingClass(u"Inner");
    HWND top = CreateWindowExW(0, u"Found", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CreateWindowExW(0, u"Inner", nullptr, WS_CHILD, 0, 0, 1, 1, top, nullptr, nullptr, nullptr);
    EXPECT_EQ(FindWindowW(u"Found", nullptr), top);
    EXPECT_EQ(FindWindowW(u"Inner", nullptr), nullptr) << "children are not looked at";
    EXPECT_EQ(FindWindowW(u"DesktopExplorerWindow", nullptr), nullptr);
    DestroyWindow(top);
    EXPECT_EQ(FindWindowW(u"Found", nullptr), nullptr);
}

TEST(WindowLifecycle, AnOwnedWindowIsDestroyedWithItsOwner) {
    MessageRecorder::RegisterRecordingClass(u"Owner");
    HWND owner = CreateWindowExW(0, u"Owner", nullptr, 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND owned = CreateWindowExW(0, u"Owner", nullptr, 0, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
    EXPECT_EQ(GetParent(owned), owner) << "a top-level window's parent is its owner";
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
}

}  // namespace
