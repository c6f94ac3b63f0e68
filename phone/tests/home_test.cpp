// The home screen of a running session follows the Inbox's unread count,
// also when another `phone` process reads or deletes a message.
#include "PhoneRunner.h"

#include <Json.h>
#include <gtest/gtest.h>

namespace {

using phone_test::Lines;
using phone_test::RunPhone;

// The home screen's unread count of each state object a --json run
// printed (-1 where a state has none).
std::vector<long long> HomeStates(const std::string& out) {
    std::vector<long long> homes;
    for (const std::string& line : Lines(out)) {
        testing_support::JsonValue state = testing_support::ParseJson(line);
        if (!state.Has("screen")) continue;
        const testing_support::JsonValue& unread = state["home"]["unread"];
        homes.push_back(unread.kind() == testing_support::JsonValue::Kind::Number ? unread.Int() : -1);
    }
    return homes;
}

TEST(HomeScreen, AnotherProcessReadingAMessageChangesTheCount) {
    testing_support::TempFolder device, files;
    ASSERT_EQ(RunPhone(device.path(), "init").status, 0);
    ASSERT_EQ(RunPhone(device.path(), "sms +79161234567 first").status, 0);
    ASSERT_EQ(RunPhone(device.path(), "sms +79161234568 second").status, 0);

    // A session shows the count, waits while another process reads the
    // newest message and then deletes the other, and shows it again.
    std::string watch = phone_test::WriteBytes(files, "watch.txt", "state\nwait 1200\nstate\nwait 1200\nstate\n");
    std::string read = phone_test::WriteBytes(files, "read.txt", "read 1\n");
    std::string remove = phone_test::WriteBytes(files, "delete.txt", "delete 2\n");
    const std::string phone = std::string(PHONE_EXE) + " --device '" + device.path() + "' run ";
    const std::string shown = files.path() + "/watch.out";
    // Each write waits for the state before it to be printed.
    auto after = [&](int states) {
        return "until [ $(grep -c '\"home\"' '" + shown + "') -ge " + std::to_string(states) +
               " ]; do sleep 0.02; done; ";
    };
    std::string out, err;
    int status = testing_support::RunCommand("(" + phone + "'" + watch + "' --json > '" + shown + "') & " + after(1) +
                                                 phone + "'" + read + "'; " + after(2) + phone + "'" + remove +
                                                 "'; wait $!",
                                             &out, &err);
    ASSERT_EQ(status, 0) << err;
    std::string printed;
    testing_support::RunCommand("cat '" + shown + "'", &printed);
    std::vector<long long> homes = HomeStates(printed);
    ASSERT_EQ(homes.size(), 3u) << printed;
    EXPECT_EQ(homes[0], 2);
    EXPECT_EQ(homes[1], 1);
    EXPECT_EQ(homes[2], 0);
}

}  // namespace

namespace {

// Within a session every line's effect on the count is shown by the next
// state, however soon it follows.
TEST(HomeScreen, TheNextStateShowsTheCountALineLeft) {
    testing_support::TempFolder device, files;
    ASSERT_EQ(RunPhone(device.path(), "init").status, 0);
    std::string script = phone_test::WriteBytes(
        files, "lines.txt",
        "sms +79161234567 a\nstate\nsms +79161234568 b\nstate\nread 1\nstate\ndelete 2\nstate\nunread 1\nstate\n");
    phone_test::Result r = RunPhone(device.path(), "run '" + script + "' --json");
    ASSERT_EQ(r.status, 0) << r.err;
    std::vector<long long> homes = HomeStates(r.out);
    ASSERT_EQ(homes.size(), 5u) << r.out;
    EXPECT_EQ(homes[0], 1);
    EXPECT_EQ(homes[1], 2);
    EXPECT_EQ(homes[2], 1);
    EXPECT_EQ(homes[3], 0);
    EXPECT_EQ(homes[4], 1);
}

}  // namespace
