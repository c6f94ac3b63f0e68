// The state a window class of the platform's own takes from its maker
// through CreateWindowEx's creation data. Any program may make a window of
// a registered class, and a dialog template may name one by its atom with
// creation data of its own: a window takes only a state its maker handed
// over, and one made otherwise gets none and stays inert.
#pragma once

#include <windows.h>

#include <mutex>
#include <set>

namespace platform {

template <typename State>
class HandedState {
public:
    // Before CreateWindowEx, which is given state as its creation data.
    State* Hand(State* state) {
        std::lock_guard<std::mutex> lock(lock_);
        pending_.insert(state);
        return state;
    }

    // In WM_CREATE, whose lParam is given: the state handed over, or null.
    State* Take(LPARAM createStruct) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(createStruct);
        auto* state = static_cast<State*>(cs ? cs->lpCreateParams : nullptr);
        std::lock_guard<std::mutex> lock(lock_);
        return pending_.erase(state) != 0 ? state : nullptr;
    }

    // After CreateWindowEx: true when no window took the state, which is
    // then still its maker's.
    bool Withdraw(State* state) {
        std::lock_guard<std::mutex> lock(lock_);
        return pending_.erase(state) != 0;
    }

private:
    std::mutex lock_;
    std::set<State*> pending_;
};

}  // namespace platform
