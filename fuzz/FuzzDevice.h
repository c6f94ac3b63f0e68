// The device of a fuzz target: a fresh one in a temporary folder, made on
// the first call and removed when the process ends normally. Everything a
// target stores goes there.
#pragma once

#include <TempDevice.h>
#include <coredll_host.h>

#include <cstdio>
#include <cstdlib>

namespace fuzz {

inline void UseTemporaryDevice() {
    static testing_support::TempDevice device;
    if (!host::DeviceIsOpen()) {
        std::fprintf(stderr, "fuzz: cannot open a temporary device\n");
        std::abort();
    }
}

}  // namespace fuzz
