// The emulated phone's display: its profile and whether it is lit. Whether
// it is lit is an outside effect: the log of the device has the word, and
// the process keeps its own view only for a process without a device.
#include "user/WindowSystem.h"

#include <coredll_host.h>
#include <effect_log.h>
#include <screen_host.h>

#include <atomic>
#include <mutex>

namespace {
std::mutex g_screenLock;
host::ScreenProfile g_profile;
std::atomic<bool> g_on{true};
}  // namespace

namespace host {

void SetScreenProfile(const ScreenProfile& profile) {
    std::lock_guard<std::mutex> lock(g_screenLock);
    g_profile = profile;
}

ScreenProfile GetScreenProfile() {
    std::lock_guard<std::mutex> lock(g_screenLock);
    return g_profile;
}

// A session starts with the display lit; what it did since is in the log.
bool ScreenIsOn() {
    if (!DeviceIsOpen()) return g_on.load();
    std::optional<Effect> last = LastEffect(effect::kScreen, SessionStartEffect());
    if (!last) return true;
    const EffectField* on = last->Field("on");
    return on && on->number != 0;
}

void SetScreenOn(bool on) {
    if (ScreenIsOn() == on) return;
    g_on.store(on);
    AppendEffect(effect::kScreen, {EffectField::Bool("on", on)});
    user::ScreenChanged();
}

}  // namespace host
