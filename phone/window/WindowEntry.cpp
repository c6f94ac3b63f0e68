// The window module's entry, which the emulator looks up by name.
#include "DeviceWindow.h"

#include <new>

extern "C" __attribute__((visibility("default"))) phone::DesktopWindow* CreateDesktopWindow(int scale,
                                                                                           const char* title) {
    return new (std::nothrow) phone::DeviceWindow(scale, title ? title : "");
}
