// The home screen of a running session follows the Inbox's unread count,
// also when another `phone` process reads or deletes a message.
#include "DesktopSession.h"
#include "PhoneRunner.h"

#include <Json.h>
#include <gtest/gtest.h>

#include <chrono>

namespace {

using phone_test::Lines;
using phone_test::RunPhone;

// The home screen's unread count in a state report (-1 when it has none).
long long UnreadShown(const testing_support::JsonValue& state) {
    const testing_support::JsonValue& unread = state["home"]["unread"];
    return unread.kind() == testing_support::JsonValue::Kind::Number ? unread.Int() : -1;
}

// The home screen's unread count of each state object a --json run
// printed (-1 where a state has none).
std::vector<long long> HomeStates(const std::string& out) {
    std::vector<long long> homes;
    for (const std::string& line : Lines(out)) {
        testing_support::JsonValue state = testing_support::ParseJson(line);
        if (state.Has("screen")) homes.push_back(UnreadShown(state));
    }
    return homes;
}

// The session's count once it is no longer `before`. Another process's
// change reaches the session when it does, so the session is asked again
// every 50 ms, for up to 20 s: a loaded machine is slow, not wrong.
long long CountAfter(phone_test::PhoneProcess& session, long long before) {
    long long count = before;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (count == before && std::chrono::steady_clock::now() < deadline) {
        session.RunLine("wait 50");
        count = UnreadShown(session.State());
    }
    return count;
}

TEST(HomeScreen, AnotherProcessReadingAMessageChangesTheCount) {
    testing_support::TempFolder device, files;
    ASSERT_EQ(RunPhone(device.path(), "init").status, 0);
    ASSERT_EQ(RunPhone(device.path(), "sms +79161234567 first").status, 0);
    ASSERT_EQ(RunPhone(device.path(), "sms +79161234568 second").status, 0);

    // A session shows the count while other processes read the newest
    // message and then delete the other.
    phone_test::PhoneProcess session(device.path(), "", {"shell", "--json"});
    EXPECT_EQ(UnreadShown(session.State()), 2) << session.errors();
    std::string read = phone_test::WriteBytes(files, "read.txt", "read 1\n");
    ASSERT_EQ(RunPhone(device.path(), "run '" + read + "'").status, 0);
    EXPECT_EQ(CountAfter(session, 2), 1) << session.errors();
    std::string remove = phone_test::WriteBytes(files, "delete.txt", "delete 2\n");
    ASSERT_EQ(RunPhone(device.path(), "run '" + remove + "'").status, 0);
    EXPECT_EQ(CountAfter(session, 1), 0) << session.errors();
    session.CloseInput();
    EXPECT_EQ(session.Wait(15000), 0) << session.errors();
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
