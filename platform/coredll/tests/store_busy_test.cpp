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

#include <sys/wait.h>
#include <unistd.h>

namespace {

TEST(StoreBusy, AWaitThatRunsOutSaysTheDeviceWasBusy) {
    host::SetStoreBusyWait(100);
    testing_support::TempDevice device;
    testing_support::TempFolder files;
    const std::string held = files.path() + "/held", done = files.path() + "/done";
    // Another process takes the registry's write lock for a second.
    std::string holder =
        "python3 -c \"import sqlite3,sys,time; c=sqlite3.connect(sys.argv[1], isolation_level=None); "
        "c.execute('BEGIN EXCLUSIVE'); open(sys.argv[2],'w').close(); time.sleep(1); "
        "c.execute('COMMIT'); c.close(); open(sys.argv[3],'w').close()\" '" +
        device.folder() + "/registry.db' '" + held + "' '" + done + "' &";
    ASSERT_EQ(std::system(holder.c_str()), 0);
    for (int i = 0; i < 1000 && !std::ifstream(held); ++i) usleep(10000);
    ASSERT_TRUE(std::ifstream(held).good());

    EXPECT_FALSE(host::DeviceWasBusy());
    HKEY key = nullptr;
    EXPECT_NE(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Probe"), 0, nullptr, 0, 0, nullptr, &key, nullptr));
    EXPECT_TRUE(host::DeviceWasBusy());

    // Once the other process is done, the same call goes through.
    for (int i = 0; i < 1000 && !std::ifstream(done); ++i) usleep(10000);
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Probe"), 0, nullptr, 0, 0, nullptr, &key, nullptr));
    RegCloseKey(key);
}

// Processes that make the same fresh device at the same moment all get
// their stores: none is told "busy" by the start-up of another.
TEST(StoreBusy, ProcessesMakingOneFreshDeviceAtOnceAllSucceed) {
    for (int round = 0; round < 10; ++round) {
        testing_support::TempFolder folder;
        constexpr int kProcesses = 6;
        pid_t children[kProcesses];
        for (int& child : children) {
            child = fork();
            ASSERT_NE(-1, child);
            if (child == 0) {
                if (!host::OpenDevice(folder.path())) _exit(10);
                DWORD value = 1;
                if (RegSetValueExW(HKEY_LOCAL_MACHINE, TEXT("V"), 0, REG_DWORD, reinterpret_cast<BYTE*>(&value),
                                   sizeof value) != ERROR_SUCCESS)
                    _exit(11);
                _exit(0);
            }
        }
        for (pid_t child : children) {
            int status = 0;
            ASSERT_EQ(child, waitpid(child, &status, 0));
            ASSERT_TRUE(WIFEXITED(status));
            EXPECT_EQ(0, WEXITSTATUS(status)) << "round " << round;
        }
    }
}

}  // namespace
