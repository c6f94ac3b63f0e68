// What the dialog manager keeps of each dialog window, by handle. A leaf
// lock: held for a lookup only, never while a window procedure runs.
#include "user/Dialog.h"

#include <map>
#include <mutex>

namespace dialog {

namespace {

std::mutex g_lock;
std::map<HWND, std::shared_ptr<State>> g_states;

}  // namespace

std::shared_ptr<State> StateOf(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = g_states.find(hwnd);
    return it == g_states.end() ? nullptr : it->second;
}

std::shared_ptr<State> MakeState(HWND hwnd) {
    std::lock_guard<std::mutex> lock(g_lock);
    std::shared_ptr<State>& state = g_states[hwnd];
    if (!state) state = std::make_shared<State>();
    return state;
}

void ForgetState(HWND hwnd) {
    std::shared_ptr<State> state;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = g_states.find(hwnd);
        if (it == g_states.end()) return;
        state = it->second;
        g_states.erase(it);
    }
    if (state->ownsFont && state->font) DeleteObject(state->font);
    state->font = nullptr;
}

}  // namespace dialog
