// The desktop's window system and the window's wakeups: see LateWakeups.cpp.
#pragma once

namespace phone {

// Lets the one harmless error of a late wakeup pass; once, before the
// desktop is opened.
void LetLateWakeupsPass();

}  // namespace phone
