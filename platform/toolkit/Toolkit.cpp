// The utility's stand-in. Its hotkey list is the text value "hotkey" under
// HKEY_CURRENT_USER\Software\e-Natives\SmartToolkit, one entry a line; the
// entry "91," (the Home key's virtual key) is its Home entry, and n, that
// entry's line, gives the identifiers it takes the Home key under: n + 1 on
// release (MOD_KEYUP), n + 33 with MOD_WIN, n + 65 with MOD_SHIFT. The line
// is reckoned as the programs that hand the key back reckon it (a line feed
// right after a counted one is not counted again). Without the value it
// uses its default list, whose first line is the Home entry; with a list
// that has no Home entry it takes no key.
#include <toolkit_host.h>

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>

extern "C" BOOL WINAPI UnregisterFunc1(UINT fsModifiers, UINT vk);

namespace toolkit {

namespace {

const WCHAR kClass[] = u"ENATIVE_SMARTTOOLKIT";
const WCHAR kKey[] = u"Software\\e-Natives\\SmartToolkit";
// The shell's own Home registration, given back when the stand-in ends.
const int kShellHomeId = 1;

std::mutex g_lock;
HANDLE g_thread = nullptr;
HANDLE g_ready = nullptr;
std::atomic<HWND> g_window{nullptr};
std::atomic<int> g_hotkeys{0};
std::atomic<bool> g_started{false};

// The zero-based line of the Home entry, or -1 when the list has none.
int HomeLine() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, 0, &key) != ERROR_SUCCESS) return 0;
    DWORD type = 0, size = 0;
    LONG rc = RegQueryValueExW(key, u"hotkey", nullptr, &type, nullptr, &size);
    std::u16string text(size / sizeof(WCHAR), u'\0');
    if (rc == ERROR_SUCCESS && type == REG_SZ && size > 0)
        rc = RegQueryValueExW(key, u"hotkey", nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return 0;
    text.resize(size / sizeof(WCHAR));
    while (!text.empty() && text.back() == u'\0') text.pop_back();
    // At most length - 3 steps; each counts a line feed where it stands and
    // moves past it, then stops at "91," or moves one on.
    const size_t length = text.size();
    if (length <= 3) return text == u"91," ? 0 : -1;
    int line = 0;
    size_t at = 0;
    for (size_t step = 0; step < length - 3 && at < length; ++step) {
        if (text[at] == u'\n') {
            ++line;
            ++at;
        }
        if (text.compare(at, 3, u"91,") == 0) return line;
        ++at;
    }
    return -1;
}

void TakeHomeKey(HWND window) {
    int n = HomeLine();
    if (n < 0) return;
    const UINT modifiers[] = {MOD_KEYUP, MOD_WIN, MOD_SHIFT};
    const int offsets[] = {1, 33, 65};
    for (int i = 0; i < 3; ++i) {
        // The utility takes the key from whoever holds it.
        UnregisterFunc1(modifiers[i], VK_LWIN);
        RegisterHotKey(window, n + offsets[i], modifiers[i], VK_LWIN);
    }
}

LRESULT CALLBACK ToolkitProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_HOTKEY:
            ++g_hotkeys;
            return 0;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI ToolkitMain(LPVOID) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ToolkitProc;
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, kClass, u"SmartToolkit", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (window) TakeHomeKey(window);
    g_window = window;
    g_started = window != nullptr;
    SetEvent(g_ready);
    if (!window) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    g_window = nullptr;
    return 0;
}

}  // namespace

}  // namespace toolkit

namespace host {

bool StartToolkit() {
    using namespace toolkit;
    std::lock_guard<std::mutex> lock(g_lock);
    if (g_thread) return g_started;
    g_hotkeys = 0;
    g_started = false;
    g_ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    g_thread = CreateThread(nullptr, 0, ToolkitMain, nullptr, 0, nullptr);
    if (!g_thread) {
        CloseHandle(g_ready);
        g_ready = nullptr;
        return false;
    }
    WaitForSingleObject(g_ready, 10000);
    if (!g_started) {
        WaitForSingleObject(g_thread, 10000);
        CloseHandle(g_thread);
        CloseHandle(g_ready);
        g_thread = g_ready = nullptr;
        return false;
    }
    return true;
}

void StopToolkit() {
    using namespace toolkit;
    std::lock_guard<std::mutex> lock(g_lock);
    if (!g_thread) return;
    if (HWND window = g_window.load()) PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(g_thread, 10000);
    CloseHandle(g_thread);
    CloseHandle(g_ready);
    g_thread = g_ready = nullptr;
    g_started = false;
    // Its keys went with its window; the shell holds Home again.
    if (HWND shell = FindWindowW(u"MSCProg", nullptr)) RegisterHotKey(shell, kShellHomeId, MOD_WIN, VK_LWIN);
}

ToolkitState GetToolkitState() {
    ToolkitState state;
    state.running = toolkit::g_window.load() != nullptr;
    state.hotkeysReceived = toolkit::g_hotkeys.load();
    return state;
}

}  // namespace host
