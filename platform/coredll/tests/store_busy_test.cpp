// A store that another process holds: a write waits for it, and a wait
// that runs out is told apart from any other failure.
#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>
#include <sqlite_db.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

TEST(StoreBusy, AWaitThatRunsOutSaysTheDeviceWasBusy) {
    host::SetStoreBusyWait(100);
    testing_support::TempDevice device;
    testing_support::TempFolder files;
    const std::string held = files.path() + "/held", done = files.path() + "/done";
    // Another process takes the registry's write lock for a second.
    std::string holder = "python3 -c \"import sqlite3,sys,time; c=sqlite3.connect(sys.argv[1], isolation_level=None); "
                         "c.execute('BEGIN EXCLUSIVE'); open(sys.argv[2],'w').close(); time.sleep(1); "
                         "c.execute('COMMIT'); c.close(); open(sys.argv[3],'w').close()\" '" +
                         device.folder() + "/registry.db' '" + held + "' '" + done + "' &";
    ASSERT_EQ(std::system(holder.c_str()), 0);
    for (int i = 0; i < 1000 && !std::ifstream(held); ++i) usleep(10000);
    ASSERT_TRUE(std::ifstream(held).good());

    EXPECT_FALSE(host::DeviceWasBusy());
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Probe"), 0, nullptr, 0, 0, nullptr,
                                             &key, nullptr));
    EXPECT_TRUE(host::DeviceWasBusy());

    // Once the other process is done, the same call goes through.
    for (int i = 0; i < 1000 && !std::ifstream(done); ++i) usleep(10000);
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Probe"), 0, nullptr, 0, 0, nullptr,
                                             &key, nullptr));
    RegCloseKey(key);
}

}  // namespace
