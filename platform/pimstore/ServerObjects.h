// Bookkeeping of the COM server: how many of its objects are alive and how
// many LockServer calls hold it, for DllCanUnloadNow.
#pragma once

#include <windows.h>

namespace pim {

void ObjectCreated();
void ObjectDestroyed();
void ServerLocked(bool lock);
bool ServerInUse();

}  // namespace pim
