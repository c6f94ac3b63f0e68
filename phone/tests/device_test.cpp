// The device as a shared thing: a device in use is never made anew under
// its user, a busy device is waited for, a damaged one is named, and the
// command line's edges (end of options, a folder given as a script, a bad
// line in a JSON run).
#include "PhoneRunner.h"

#include <TempDevice.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using phone_test::Result;

// The report's own line: a sanitizer may add its statistics below it.
std::string FirstLine(const std::string& err) { return err.substr(0, err.find('\n')); }

class DeviceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(0, Phone("init").status); }
    Result Phone(const std::string& args) { return phone_test::RunPhone(device_.path(), args); }
    std::string Path(const std::string& file) const { return device_.path() + "/" + file; }

    testing_support::TempFolder device_, files_;
};

TEST_F(DeviceTest, ADeviceInUseIsNeverMadeAnew) {
    // A session that keeps the device open until its standard input ends.
    std::string command = std::string(PHONE_EXE) + " --device '" + device_.path() + "' shell >/dev/null 2>&1";
    FILE* session = popen(command.c_str(), "w");
    ASSERT_NE(session, nullptr);
    std::fputs("sms +79161234567 \"before\"\n", session);
    std::fflush(session);
    // The session has the device once its message is stored.
    for (int i = 0; i < 500 && Phone("sms +1 probe").out.find("before") == std::string::npos; ++i) {
    }
    Result refused = Phone("init --force");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("in use by another process"), std::string::npos) << refused.err;

    std::fputs("sms +79161234567 \"after\"\n", session);
    EXPECT_EQ(pclose(session), 0);
    // Nothing was wiped: the session's messages are in the inbox.
    Result state = Phone("sms +1 last");
    EXPECT_NE(state.out.find("before"), std::string::npos);
    EXPECT_NE(state.out.find("after"), std::string::npos);

    // Once nobody has it, --force makes it anew.
    EXPECT_EQ(Phone("init --force").status, 0);
    EXPECT_EQ(Phone("sms +1 first").out.find("before"), std::string::npos);
}

TEST_F(DeviceTest, AWriterWaitsForAnotherProcessLongerThanTenSeconds) {
    // Another process holds the registry's write lock for eleven seconds,
    // as a long import does.
    std::string holder =
        "python3 -c \"import sqlite3,sys,time; c=sqlite3.connect(sys.argv[1], isolation_level=None); "
        "c.execute('BEGIN IMMEDIATE'); open(sys.argv[2],'w').close(); time.sleep(11); "
        "c.execute('COMMIT')\" '" +
        Path("registry.db") + "' '" + files_.path() + "/held' &";
    ASSERT_EQ(std::system(holder.c_str()), 0);
    std::string held = files_.path() + "/held";
    for (int i = 0; i < 1000 && !std::ifstream(held); ++i) testing_support::RunCommand("sleep 0.01");
    ASSERT_TRUE(std::ifstream(held).good());
    Result set = Phone("reg set 'HKLM\\Software\\Probe' Value dword:5");
    EXPECT_EQ(set.status, 0) << set.err;
    EXPECT_NE(Phone("reg get 'HKLM\\Software\\Probe' Value").out.find("5"), std::string::npos);
}

TEST_F(DeviceTest, ADamagedStoreIsNamedBeforeASessionRuns) {
    phone_test::WriteBytes(device_, "registry.db", std::string(100, '\x5a'));
    for (const char* args : {"sms +79161234567 hello", "reg export", "run -"}) {
        Result r = Phone(std::string(args) + " </dev/null");
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_NE(r.err.find("is damaged: registry.db cannot be read"), std::string::npos) << args << ": " << r.err;
    }
    // A device made anew is whole again.
    EXPECT_EQ(Phone("init --force").status, 0);
    EXPECT_EQ(Phone("sms +79161234567 hello").status, 0);
}

TEST_F(DeviceTest, TheCommandLineEdges) {
    // After "--" a text may start with "--".
    Result sms = Phone("sms +79161234567 -- --not-an-option");
    EXPECT_EQ(sms.status, 0) << sms.err;
    EXPECT_NE(sms.out.find("--not-an-option"), std::string::npos);
    EXPECT_EQ(Phone("sms +79161234567 --not-an-option").status, 2);

    // A file is no folder of screenshots: refused before anything runs.
    std::string notAFolder = phone_test::WriteBytes(files_, "shots", "");
    Result shots = Phone("run - --shots '" + notAFolder + "' < /dev/null");
    EXPECT_EQ(shots.status, 2);
    EXPECT_EQ(FirstLine(shots.err), "phone: --shots wants a folder (" + notAFolder + " is a file)");

    // A folder is no scenario.
    Result folder = Phone("run '" + files_.path() + "'");
    EXPECT_EQ(folder.status, 1);
    EXPECT_NE(folder.err.find("it is a folder"), std::string::npos) << folder.err;

    // With --json, a line that does not parse still answers with its object.
    std::string script = phone_test::WriteBytes(files_, "bad.scenario", "wait 0\nsms \"unterminated\n");
    Result run = Phone("run '" + script + "' --json");
    EXPECT_EQ(run.status, 1);
    std::vector<std::string> lines = phone_test::Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[1], "{\"line\":2,\"command\":null,\"ok\":false,\"error\":\"unterminated quoted text\"}");
}

}  // namespace

// An input that never ends (a device file, a line that never ends) is
// refused with one line once it outgrows any real one, and changes nothing.
TEST_F(DeviceTest, AnEndlessInputIsRefusedBeforeItFillsTheMemory) {
    const std::string registryBefore = Phone("reg export").out;
    for (const char* command : {"reg import /dev/zero", "contacts import /dev/zero"}) {
        Result endless = Phone(command);
        EXPECT_EQ(endless.status, 1) << command;
        EXPECT_EQ(FirstLine(endless.err), "phone: cannot read /dev/zero: it is larger than 64 MB") << command;
    }
    EXPECT_EQ(Phone("reg export").out, registryBefore);
    EXPECT_EQ(Phone("contacts list").out, "");

    Result script = Phone("run /dev/zero");
    EXPECT_EQ(script.status, 1);
    EXPECT_EQ(FirstLine(script.err), "phone: line 1: longer than 16 MB");

    // The lines before the long one run; a long line that ends in time is
    // read whole.
    const std::string text(1 << 20, 'x');
    const std::string lines = "sms +79161234567 " + text + "\nstate\n" + std::string(17 << 20, ' ') + "state\n";
    Result longLine = Phone("run '" + phone_test::WriteBytes(files_, "long.scenario", lines) + "'");
    EXPECT_EQ(longLine.status, 1);
    EXPECT_EQ(FirstLine(longLine.err), "phone: line 3: longer than 16 MB");
    EXPECT_NE(longLine.out.find(text), std::string::npos);

    Result piped;
    piped.status = testing_support::RunCommand(
        "head -c 20000000 /dev/zero | " + std::string(PHONE_EXE) + " --device '" + device_.path() + "' shell",
        &piped.out, &piped.err);
    EXPECT_EQ(piped.status, 1);
    EXPECT_EQ(FirstLine(piped.err), "phone: line 1: longer than 16 MB");
}
