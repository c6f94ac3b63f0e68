// Every fault point a bubble command reaches, failed in turn. Each command is
// run once on a shown single message to list the platform calls it makes
// (the store's methods, allocations, the messaging application, the dial,
// the windows), then each call of each is made to fail on a fresh bubble.
// Whatever fails: the message is in the store once, with its text, read only
// if the command marks it so when nothing fails, and moved only by Delete;
// the bubble is down or still up over it, and Dismiss then always takes it
// down and lets go of the keys. The leak checker of the sanitizer build sees every one of these paths.
#include "BubbleTestSupport.h"

#include <WindowThread.h>
#include <coredll_host.h>

#include <algorithm>
#include <map>
#include <string>

namespace bubble_tests {
namespace {

long FailureOf(const std::string& function) {
    if (function == "LocalAlloc" || function.compare(0, 3, "Reg") == 0 || function == "CreateWindowExW" ||
        function == "CreateThread")
        return ERROR_NOT_ENOUGH_MEMORY;
    return E_OUTOFMEMORY;
}

class CommandSweep : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }

    host::EntryId Up() {
        ReadAllWaiting();
        host::EntryId entry = Announce(u"sweep me", u"Mirela", u"Mirela Dovanne <+79161234567>");
        EXPECT_TRUE(Eventually([&] { return Shown(); }));
        return entry;
    }

    // Presses the key with the nth call of function failing (none when
    // function is empty), then checks what the store and the screen hold.
    void RunOnce(BYTE key, bool marksRead, const std::string& function, int nth) {
        host::EntryId entry = Up();
        host::ClearFaults();
        if (!function.empty()) host::FailCall(function, nth, FailureOf(function));
        Press(key);
        host::ClearFaults();

        int copies = 0;
        for (host::MessageFolder folder : {host::MessageFolder::Inbox, host::MessageFolder::DeletedItems})
            for (const host::StoredMessage& m : host::ListMessages(folder))
                if (m.entry == entry) {
                    ++copies;
                    EXPECT_EQ(m.subject, u"sweep me");
                    if (folder == host::MessageFolder::DeletedItems) {
                        EXPECT_EQ(key, '3') << "only Delete moves it";
                    }
                    if (m.read) {
                        EXPECT_TRUE(marksRead) << "read by a command that does not mark it";
                    }
                }
        EXPECT_EQ(copies, 1) << "the message is in the store once";

        // Down already, or taken down by Dismiss, holding no key.
        if (Shown()) Press('4');
        EXPECT_TRUE(Eventually([&] { return !Shown(); }));
        EXPECT_TRUE(Eventually([] { return !HoldsEnd("QUILLON_NOT_WND"); })) << "the bubble let go of End";
    }

    // Returns the number of points swept.
    int SweepCommand(BYTE key) {
        host::EntryId entry = Up();
        host::ClearFaults();
        Press(key);
        std::map<std::string, int> points;
        for (const auto& [function, calls] : host::CallCounts()) points[function] = calls;
        host::ClearFaults();
        bool marksRead = false;
        InFolder(host::MessageFolder::Inbox, entry, &marksRead);
        if (Shown()) Press('4');
        EXPECT_TRUE(Eventually([&] { return !Shown(); }));
        int swept = 0;
        for (const auto& [function, calls] : points)
            for (int nth = 1; nth <= calls; ++nth) {
                SCOPED_TRACE(std::string("key ") + static_cast<char>(key) + ", " + function + " #" +
                             std::to_string(nth));
                RunOnce(key, marksRead, function, nth);
                ++swept;
                if (HasFatalFailure()) return swept;
            }
        return swept;
    }
};

TEST_F(CommandSweep, EveryCommandKeepsTheMessageWholeAndTheBubbleRecoverableWhereverItFails) {
    int points = 0;
    for (BYTE key : {'1', '2', '3', '4', '5', '6'}) {
        const int swept = SweepCommand(key);
        EXPECT_GT(swept, 0) << "the command " << static_cast<char>(key) << " reaches the platform";
        points += swept;
    }
    RecordProperty("points", points);
    std::printf("bubble commands: %d fault points swept\n", points);
}

// The watcher's part: the message read elsewhere while the bubble is up. The
// store's notification thread calls the watcher, which reads the message and
// posts to the bubble; whatever fails on that way, the message stays read
// and whole, and the bubble comes down by itself or by Dismiss.
TEST_F(CommandSweep, AMessageReadElsewhereEndsTheBubbleOrLeavesItDismissableWhereverTheWatcherFails) {
    auto readElsewhere = [&](const host::EntryId& entry) {
        ASSERT_TRUE(host::SetMessageRead(entry, true));
        Eventually([&] { return !Shown(); });
        Settle();
    };
    host::EntryId entry = Up();
    host::ClearFaults();
    readElsewhere(entry);
    ASSERT_FALSE(Shown()) << "read elsewhere, the message takes the bubble down";
    std::map<std::string, int> points;
    for (const auto& [function, calls] : host::CallCounts()) points[function] = calls;
    host::ClearFaults();
    int swept = 0;
    for (const auto& [function, calls] : points)
        for (int nth = 1; nth <= calls; ++nth) {
            SCOPED_TRACE(function + " #" + std::to_string(nth));
            entry = Up();
            host::ClearFaults();
            host::FailCall(function, nth, FailureOf(function));
            // The platform's own write may be what fails: then it is tried again.
            if (!host::SetMessageRead(entry, true)) {
                host::ClearFaults();
                ASSERT_TRUE(host::SetMessageRead(entry, true));
            }
            // The watcher answers at once when it can; a short wait will do.
            testing_support::PumpUntil([&] { return !Shown(); }, 500);
            host::ClearFaults();
            int copies = 0;
            for (const host::StoredMessage& m : host::ListMessages(host::MessageFolder::Inbox))
                if (m.entry == entry) {
                    ++copies;
                    EXPECT_TRUE(m.read);
                    EXPECT_EQ(m.subject, u"sweep me");
                }
            EXPECT_EQ(copies, 1);
            if (Shown()) Press('4');
            EXPECT_TRUE(Eventually([&] { return !Shown(); }));
            ++swept;
        }
    EXPECT_GT(swept, 0);
    std::printf("read-state watcher: %d fault points swept\n", swept);
}

}  // namespace
}  // namespace bubble_tests
