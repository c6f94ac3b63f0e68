// Every fault point the rule's path reaches, failed in turn: first a path is
// run once to list the platform calls it makes (each MAPI method, each
// allocation, each registry and contact-store call, the bubble's window and
// page), then each call of each is made to fail on a fresh message. Whatever
// fails, ProcessMessage answers S_OK with its documented out-parameters and
// the message is in the store once, as it arrived or as the rule finishes
// it, never in between. The leak checker of the sanitizer build sees every
// one of these paths too.
#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <screen_host.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace rule_tests {
namespace {

// The result a failed call gives: a Win32 error for kernel, window and
// registry functions, an HRESULT for COM and MAPI methods.
long FailureOf(const std::string& function) {
    static const char* const kWin32[] = {"LocalAlloc", "CreateWindowExW", "CreateThread"};
    for (const char* name : kWin32)
        if (function == name) return ERROR_NOT_ENOUGH_MEMORY;
    if (function.compare(0, 3, "Reg") == 0) return ERROR_NOT_ENOUGH_MEMORY;
    return E_OUTOFMEMORY;
}

class Sweep : public BubbleRuleFixture {
protected:
    // Runs ProcessMessage on a fresh arrival with the nth call of function
    // failing (none when function is empty), lets the bubble's thread finish
    // what it was handed, and gives the message's places in the store.
    struct Outcome {
        HRESULT result = E_FAIL;
        std::vector<std::pair<host::MessageFolder, host::StoredMessage>> copies;
    };
    Outcome Run(const std::u16string& cls, const std::u16string& text, const std::string& function, int nth) {
        host::EntryId entry = Arrive(cls, text, u"+79169876543");
        host::ClearFaults();
        if (!function.empty()) host::FailCall(function, nth, FailureOf(function));
        Outcome outcome;
        outcome.result = Process(entry);
        host::WaitForIdle();
        host::ClearFaults();
        for (host::MessageFolder folder : {host::MessageFolder::Inbox, host::MessageFolder::DeletedItems})
            for (const host::StoredMessage& m : host::ListMessages(folder))
                if (m.entry == entry) outcome.copies.emplace_back(folder, m);
        return outcome;
    }

    // Each call of each function a clean run reached, failed in turn; check
    // looks at every outcome. Returns the number of points swept.
    int SweepPath(const std::u16string& cls, const std::u16string& text,
                  const std::function<void(const Outcome&)>& check) {
        // The first message starts the bubble's thread, later ones find it:
        // the points of both.
        std::map<std::string, int> points;
        for (int round = 0; round < 2; ++round) {
            host::EntryId entry = Arrive(cls, text, u"+79169876543");
            host::ClearFaults();
            Process(entry);
            host::WaitForIdle();
            for (const auto& [function, calls] : host::CallCounts())
                points[function] = std::max(points[function], calls);
        }
        int swept = 0;
        for (const auto& [function, calls] : points) {
            for (int nth = 1; nth <= calls; ++nth) {
                SCOPED_TRACE(function + " #" + std::to_string(nth));
                Outcome outcome = Run(cls, text, function, nth);
                EXPECT_EQ(outcome.result, S_OK);
                check(outcome);
                ++swept;
            }
        }
        return swept;
    }
};

TEST_F(Sweep, ATextWithTheBubbleKeepsItsMessageWholeWhereverItFails) {
    const std::u16string text = u"Call 89161234567 or 89160000000 tonight";
    const std::u16string rewritten = u"Call Dovanne Mirela,m (89161234567) or 89160000000 tonight";
    // When the settings cannot be read their defaults stand, and the name is
    // the contact's file-as text.
    const std::u16string byDefaults = u"Call Dovanne, Mirela,m (89161234567) or 89160000000 tonight";
    int rewrites = 0;
    int swept = SweepPath(u"IPM.SMStext", text, [&](const Outcome& outcome) {
        ASSERT_EQ(outcome.copies.size(), 1u);
        const auto& [folder, message] = outcome.copies[0];
        EXPECT_EQ(folder, host::MessageFolder::Inbox);
        EXPECT_FALSE(message.read);
        // The text as it arrived or rewritten whole, never a part of a name
        // nor an empty text. (The event type reports a rewrite whose write
        // failed too: the rule does not look at SetProps' result.)
        if (message.subject != text) {
            EXPECT_TRUE(message.subject == rewritten || message.subject == byDefaults)
                << std::string(message.subject.begin(), message.subject.end());
            EXPECT_EQ(eventType_, static_cast<ULONG>(fnevObjectModified));
            ++rewrites;
        }
        EXPECT_TRUE(eventType_ == kUnwrittenEvent || eventType_ == static_cast<ULONG>(fnevObjectModified));
        // Unwritten when the rewritten text could not be put into a property.
        EXPECT_TRUE(handled_ == MRC_NOT_HANDLED || handled_ == MRC_HANDLED_DONTCONTINUE ||
                    handled_ == MRC_HANDLED_CONTINUE || static_cast<int>(handled_) == kUnwrittenHandled);
    });
    std::printf("text with the bubble: %d fault points swept, %d still rewritten\n", swept, rewrites);
    EXPECT_GE(swept, 20);

    // The rule still works after every fault.
    Outcome after = Run(u"IPM.SMStext", text, "", 0);
    ASSERT_EQ(after.copies.size(), 1u);
    EXPECT_EQ(after.copies[0].second.subject, rewritten);
    EXPECT_EQ(handled_, MRC_HANDLED_DONTCONTINUE);
}

TEST_F(Sweep, AReportMovedToDeletedItemsIsInOnePlaceWhereverItFails) {
    SetSetting(TEXT("DeleteDR"), 1);
    SetSetting(TEXT("ShowDR"), 1);
    const std::u16string report = u"Delivered to 89161234567";
    int moved = 0;
    int swept = SweepPath(u"REPORT.IPM.SMStext.DR", report, [&](const Outcome& outcome) {
        ASSERT_EQ(outcome.copies.size(), 1u);
        const auto& [folder, message] = outcome.copies[0];
        // Marked read before it is moved: never moved unread.
        if (folder == host::MessageFolder::DeletedItems) {
            EXPECT_TRUE(message.read);
            ++moved;
        }
        // A move is reported only once it was made.
        if (eventType_ & fnevObjectMoved) {
            EXPECT_EQ(folder, host::MessageFolder::DeletedItems);
        }
    });
    std::printf("report moved to Deleted Items: %d fault points swept, %d still moved\n", swept, moved);
    EXPECT_GE(swept, 10);
    EXPECT_GT(moved, 0);
}

// A watcher the store cannot let go of (Unadvise failing when the bubble
// comes down) is still called by the store: the module keeps itself loaded
// so that its code is there when the store releases the watcher at the end.
TEST_F(Sweep, AWatcherTheStoreCannotLetGoOfKeepsTheModuleLoaded) {
    host::EntryId entry = Arrive(u"IPM.SMStext", u"hello", u"+79169876543");
    ASSERT_EQ(Process(entry), S_OK);
    host::WaitForIdle();
    HWND bubble = BubbleWindow();
    ASSERT_NE(bubble, nullptr);
    ASSERT_TRUE(IsWindowVisible(bubble));

    host::FailCall("IMsgStore::Unadvise", 1, E_FAIL);
    ASSERT_TRUE(host::SetMessageRead(entry, true));
    for (int i = 0; i < 2000 && IsWindowVisible(bubble); ++i) Sleep(1);
    host::WaitForIdle();
    EXPECT_FALSE(IsWindowVisible(bubble));
    EXPECT_EQ(host::CallCount("IMsgStore::Unadvise"), 1);

    client_->Release();
    client_ = nullptr;
    CoFreeUnusedLibraries();
    EXPECT_NE(GetModuleHandleW(TEXT("Lumenrest.dll")), nullptr);
}

}  // namespace
}  // namespace rule_tests
