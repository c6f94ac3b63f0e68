#include "BubbleThread.h"

#include "BubbleWindow.h"
#include "Exceptions.h"
#include "Scaling.h"

#include <htmlctrl.h>

#include <new>

namespace {

BubbleThreadState* g_state = nullptr;
HINSTANCE g_instance = nullptr;
// Held while the UI thread is started and waited for.
CRITICAL_SECTION g_startLock;
// The helper threads still known, and the lock that guards them.
CRITICAL_SECTION g_helpersLock;
const int kMostHelpers = 16;
HANDLE g_helpers[kMostHelpers];
int g_helperCount = 0;

// Closes the handles of helpers that ended; called with g_helpersLock held.
void ForgetEndedHelpers() {
    int kept = 0;
    for (int i = 0; i < g_helperCount; ++i) {
        if (WaitForSingleObject(g_helpers[i], 0) == WAIT_OBJECT_0)
            CloseHandle(g_helpers[i]);
        else
            g_helpers[kept++] = g_helpers[i];
    }
    g_helperCount = kept;
}

const DWORD kWaitMs = 10000;
const int kWaits = 3;

// Waits on handle at most three times ten seconds; the first result that is
// not a time-out ends the wait.
DWORD WaitBounded(HANDLE handle) {
    DWORD result = WAIT_TIMEOUT;
    for (int i = 0; i < kWaits && result == WAIT_TIMEOUT; ++i) result = WaitForSingleObject(handle, kWaitMs);
    return result;
}

// Waits, within the same 3 x 10 s, for the UI thread to signal that its
// window exists; a thread that ended on a failed start is not waited for,
// since it will never signal.
void WaitForStart(BubbleThreadState* state) {
    const DWORD slice = 100;
    for (DWORD waited = 0; waited < kWaits * kWaitMs; waited += slice) {
        if (WaitForSingleObject(state->readyEvent, slice) != WAIT_TIMEOUT) return;
        if (WaitForSingleObject(state->thread, 0) == WAIT_OBJECT_0) return;
    }
}

}  // namespace

BOOL CreateBubbleThreadState(HINSTANCE instance) {
    if (g_state) return TRUE;
    g_state = static_cast<BubbleThreadState*>(LocalAlloc(LPTR, sizeof(BubbleThreadState)));
    if (!g_state) return FALSE;
    g_instance = instance;
    InitializeCriticalSection(&g_startLock);
    InitializeCriticalSection(&g_helpersLock);
    return TRUE;
}

void FreeBubbleThreadState() {
    if (!g_state) return;
    if (g_state->thread) CloseHandle(g_state->thread);
    if (g_state->readyEvent) CloseHandle(g_state->readyEvent);
    LocalFree(g_state);
    g_state = nullptr;
    DeleteCriticalSection(&g_startLock);
    DeleteCriticalSection(&g_helpersLock);
}

BubbleThreadState& GetBubbleThread() {
    static BubbleThreadState none = {};
    if (!g_state) return none;
    // Always under the lock: a handle read while another thread writes it
    // would be a race, and the lock costs nothing next to a send.
    EnterCriticalSection(&g_startLock);
    if (!g_state->thread) {
        g_state->readyEvent = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        g_state->thread = CreateThread(nullptr, 0, BubbleThreadMain, g_state, 0, nullptr);
        if (g_state->thread) WaitForStart(g_state);
    }
    LeaveCriticalSection(&g_startLock);
    return *g_state;
}

DWORD WINAPI BubbleThreadMain(LPVOID parameter) {
    BubbleThreadState* state = static_cast<BubbleThreadState*>(parameter);
    BubbleWindow* bubble = nullptr;
    try {
        InitScaling();
        if (!InitHTMLControl(g_instance)) ThrowException(TEXT("Cannot find InitHTMLControl"));
        if (!RegisterWindowClass(g_instance, BUBBLE_CLASS, nullptr, FALSE))
            ThrowException(TEXT("MyRegisterClass failed"));
        HWND home = FindWindowW(TEXT("DesktopExplorerWindow"), nullptr);
        bubble = new (std::nothrow) BubbleWindow(g_instance, home);
        if (!bubble) ThrowException(TEXT("Create Window failed"));
        state->window = bubble;
        if (!bubble->Create()) ThrowException(TEXT("Create Window failed"));
        EventModify(state->readyEvent, EVENT_SET);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    } catch (Exception* e) {
        // The text is not shown anywhere; a failed start leaves no bubble.
        delete e;
    }
    state->window = nullptr;
    delete bubble;
    // The class names this module's window procedure: a later load of the
    // module, at the same instance, registers it afresh.
    UnregisterClassW(BUBBLE_CLASS, g_instance);
    return 0;
}

void KeepHelperThread(HANDLE thread) {
    if (!g_state) {
        CloseHandle(thread);
        return;
    }
    EnterCriticalSection(&g_helpersLock);
    ForgetEndedHelpers();
    if (g_helperCount < kMostHelpers) {
        g_helpers[g_helperCount++] = thread;
        thread = nullptr;
    }
    LeaveCriticalSection(&g_helpersLock);
    // More than that at once: this one is waited for here (it lives 2 s at most).
    if (thread) {
        WaitForSingleObject(thread, 3000);
        CloseHandle(thread);
    }
}

void StopBubbleThread() {
    if (!g_state) return;
    if (g_state->window) {
        SendMessageW(g_state->window->Window(), WM_CLOSE, 0, 0);
        if (WaitBounded(g_state->thread) == WAIT_TIMEOUT) TerminateThread(g_state->thread, 1);
    }
    // The helpers end by themselves within about 2 s; their code must outlive them.
    EnterCriticalSection(&g_helpersLock);
    for (int i = 0; i < g_helperCount; ++i) {
        WaitForSingleObject(g_helpers[i], 3000);
        CloseHandle(g_helpers[i]);
    }
    g_helperCount = 0;
    LeaveCriticalSection(&g_helpersLock);
}

HWND BubbleWindowHandle(const BubbleThreadState& state) { return state.window ? state.window->Window() : nullptr; }
