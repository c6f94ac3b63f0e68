// The emulated phone's display: its profile and whether it is lit.
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

bool ScreenIsOn() { return g_on.load(); }

void SetScreenOn(bool on) { g_on.store(on); }

}  // namespace host
