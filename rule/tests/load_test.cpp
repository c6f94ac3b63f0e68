// Load: four threads deliver messages at once, each as an inbox service
// calls the rule client, while the bubble is up, its watcher follows the
// store, and a fifth thread reads and deletes messages as the messaging
// application would. Nothing may be lost, doubled or half-rewritten, the
// folder counts must agree with the folder, and the bubble must come down
// once everything is read. LUMENREST_LOAD_MESSAGES sets the messages a
// thread delivers (a few hundred by default; 10000 for the full campaign).
#include "RuleTestSupport.h"

#include <coredll_host.h>
#include <screen_host.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace rule_tests {
namespace {

constexpr int kDeliverers = 4;

int MessagesPerThread() {
    const char* value = std::getenv("LUMENREST_LOAD_MESSAGES");
    int n = value ? std::atoi(value) : 0;
    return n > 0 ? n : 150;
}

std::u16string Number(int value) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
        value /= 10;
    } while (value);
    return text;
}

class Load : public BubbleRuleFixture {
protected:
    struct Deliverer {
        int index = 0;
        int count = 0;
        std::vector<host::EntryId> delivered;
        int failures = 0;
    };

    // One inbox service thread: its own rule client, as each service
    // activates one.
    static DWORD WINAPI Deliver(LPVOID parameter) {
        auto* d = static_cast<Deliverer*>(parameter);
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        IMsgStore* store = host::OpenMessageStore();
        IMailRuleClient* client = store ? NewClient(store) : nullptr;
        if (!client) d->failures = d->count;
        for (int i = 0; client && store && i < d->count; ++i) {
            const std::u16string text = u"Load " + Number(d->index) + u"-" + Number(i) + u": call 89161234567";
            host::EntryId entry = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", text,
                                                             u"+7916000000" + Number(d->index), u"");
            if (entry.empty()) {
                ++d->failures;
                continue;
            }
            ULONG eventType = 0;
            MRCHANDLED handled = MRC_NOT_HANDLED;
            HRESULT hr = client->ProcessMessage(store, static_cast<ULONG>(entry.size()),
                                                reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entry.data())), 0,
                                                nullptr, &eventType, &handled);
            if (hr != S_OK || handled != MRC_HANDLED_DONTCONTINUE) ++d->failures;
            d->delivered.push_back(entry);
        }
        if (client) client->Release();
        if (store) store->Release();
        CoUninitialize();
        return 0;
    }

    // The messaging application meanwhile: reads the third newest message
    // once it is new to it, and deletes every fourth it reads.
    struct Reader {
        std::atomic<bool> stop{false};
        int reads = 0, deletes = 0;
    };
    static DWORD WINAPI Read(LPVOID parameter) {
        auto* r = static_cast<Reader*>(parameter);
        std::set<host::EntryId> seen;
        while (!r->stop.load()) {
            host::EntryId entry = host::NthNewestMessage(host::MessageFolder::Inbox, 3);
            if (entry.empty() || !seen.insert(entry).second) {
                Sleep(1);
                continue;
            }
            if (host::SetMessageRead(entry, true)) ++r->reads;
            if (r->reads % 4 == 0 && host::DeleteMessage(entry)) ++r->deletes;
        }
        return 0;
    }
};

TEST_F(Load, FourDeliverersAndAReaderLoseNothingAndTheBubbleEndsDown) {
    const int perThread = MessagesPerThread();
    Deliverer deliverers[kDeliverers];
    HANDLE threads[kDeliverers + 1] = {};
    Reader reader;
    threads[kDeliverers] = CreateThread(nullptr, 0, Read, &reader, 0, nullptr);
    for (int t = 0; t < kDeliverers; ++t) {
        deliverers[t] = Deliverer{t, perThread, {}, 0};
        threads[t] = CreateThread(nullptr, 0, Deliver, &deliverers[t], 0, nullptr);
        ASSERT_NE(threads[t], nullptr);
    }
    for (int t = 0; t < kDeliverers; ++t) {
        ASSERT_EQ(WaitForSingleObject(threads[t], 600000), WAIT_OBJECT_0) << "deliverer " << t << " is stuck";
        CloseHandle(threads[t]);
    }
    reader.stop.store(true);
    ASSERT_EQ(WaitForSingleObject(threads[kDeliverers], 60000), WAIT_OBJECT_0);
    CloseHandle(threads[kDeliverers]);

    // Every message is in the Inbox or in Deleted Items, once, rewritten whole.
    std::map<host::EntryId, int> places;
    int inboxUnread = 0;
    size_t inbox = 0;
    for (host::MessageFolder folder : {host::MessageFolder::Inbox, host::MessageFolder::DeletedItems}) {
        for (const host::StoredMessage& m : host::ListMessages(folder)) {
            ++places[m.entry];
            EXPECT_NE(m.subject.find(u": call Dovanne Mirela,m (89161234567)"), std::u16string::npos)
                << std::string(m.subject.begin(), m.subject.end());
            if (folder == host::MessageFolder::Inbox) {
                ++inbox;
                if (!m.read) ++inboxUnread;
            }
        }
    }
    int delivered = 0;
    for (const Deliverer& d : deliverers) {
        EXPECT_EQ(d.failures, 0);
        for (const host::EntryId& entry : d.delivered) {
            EXPECT_EQ(places[entry], 1);
            ++delivered;
        }
    }
    EXPECT_EQ(delivered, kDeliverers * perThread);
    EXPECT_EQ(places.size(), static_cast<size_t>(delivered));
    host::FolderCounts counts;
    ASSERT_TRUE(host::GetFolderCounts(host::MessageFolder::Inbox, &counts));
    EXPECT_EQ(counts.count, static_cast<LONG>(inbox));
    EXPECT_EQ(counts.unread, inboxUnread);
    std::printf("%d messages delivered by %d threads; %d read and %d deleted meanwhile; %zu in the Inbox\n", delivered,
                kDeliverers, reader.reads, reader.deletes, inbox);

    // Everything read: the watcher takes the bubble down.
    for (const host::StoredMessage& m : host::ListMessages(host::MessageFolder::Inbox))
        if (!m.read) host::SetMessageRead(m.entry, true);
    HWND bubble = BubbleWindow();
    ASSERT_NE(bubble, nullptr);
    for (int i = 0; i < 5000 && IsWindowVisible(bubble); ++i) Sleep(2);
    host::WaitForIdle();
    EXPECT_FALSE(IsWindowVisible(bubble));
}

}  // namespace
}  // namespace rule_tests
