#include "BubbleThread.h"

namespace {
BubbleThreadState* g_state = nullptr;
}

BOOL CreateBubbleThreadState() {
    if (!g_state) g_state = static_cast<BubbleThreadState*>(LocalAlloc(LPTR, sizeof(BubbleThreadState)));
    return g_state != nullptr;
}

void FreeBubbleThreadState() {
    if (!g_state) return;
    if (g_state->thread) CloseHandle(g_state->thread);
    if (g_state->readyEvent) CloseHandle(g_state->readyEvent);
    LocalFree(g_state);
    g_state = nullptr;
}

BubbleThreadState& GetBubbleThread() {
    // The UI thread and its window arrive with the bubble itself; until
    // then the state never holds a window, and hand-offs send nothing.
    static BubbleThreadState empty = {};
    return g_state ? *g_state : empty;
}

void StopBubbleThread() {
    // Nothing to stop while there is no bubble window.
}

HWND BubbleWindowHandle(const BubbleThreadState&) { return nullptr; }
