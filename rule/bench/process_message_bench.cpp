// ProcessMessage end to end on a device that holds 10,000 messages (or as
// many as LUMENREST_BENCH_MESSAGES says) and 10,000 contacts: the rule client as the inbox service calls it, with the
// bubble (hand-off, content, the window painted) and without it (the rule
// alone: settings, classification, the contact lookup, the write-back).
#include <TempDevice.h>
#include <benchmark/benchmark.h>
#include <cemapi.h>
#include <cemapi_host.h>
#include <coredll_host.h>
#include <objbase.h>
#include <pimstore_host.h>
#include <screen_host.h>
#include <shell_host.h>
#include <MessageStoreOps.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

DEFINE_GUID(CLSID_Rule, 0x79FEEFFE, 0x10DE, 0x4B52, 0xB1, 0x7C, 0x2E, 0x5E, 0x1C, 0xA6, 0x6B, 0x0D);

const int kContacts = 10000;

// The inbox's size: 10,000, or LUMENREST_BENCH_MESSAGES, so that runs at
// 1,000 and 100,000 show what the size costs.
int InboxMessages() {
    const char* given = std::getenv("LUMENREST_BENCH_MESSAGES");
    const int n = given ? std::atoi(given) : 0;
    return n > 0 ? n : 10000;
}

std::u16string Digits(int value, int count) {
    std::u16string out(count, u'0');
    for (int i = count - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char16_t>(u'0' + value % 10);
    return out;
}

// The number of contact i as an address book writes it, and as a network
// delivers it in a text.
std::u16string Written(int i) { return u"+7 916 " + Digits(i, 7); }
std::u16string Delivered(int i) { return u"8916" + Digits(i, 7); }

void SetDword(const WCHAR* name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, TEXT("Software\\Orvane\\Lumenrest"), 0, nullptr, 0, 0, nullptr, &key, nullptr);
    RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
}

// One device for the whole run, filled once.
struct Device {
    testing_support::TempFolder folder;
    IMsgStore* store = nullptr;
    IMailRuleClient* client = nullptr;
    int next = 0;

    Device() {
        host::OpenDevice(folder.path());
        host::SetScreenProfile(host::ScreenProfile{240, 320, 131});
        std::string error;
        host::CreateMessageStore(&error);
        host::RegisterContactStore();
        host::BeginContactBatch();
        for (int i = 0; i < kContacts; ++i) {
            host::ContactRecord c;
            c.firstName = u"First" + Digits(i, 5);
            c.lastName = u"Last" + Digits(i, 5);
            c.phones[0] = Written(i);
            host::AddContact(c);
        }
        host::CommitContactBatch();
        // What the inbox already holds has been read long ago.
        const int messages = InboxMessages();
        for (int i = 0; i < messages; ++i) {
            host::StoredMessage m;
            m.messageClass = u"IPM.SMS";
            m.subject = u"An older message from " + Delivered(i % kContacts);
            m.senderAddress = u"+7916" + Digits(i % kContacts, 7);
            m.read = true;
            host::StoreMessage(host::MessageFolder::Inbox, m);
        }
        host::StartShell();
        HMODULE module = LoadLibraryW(TEXT("Lumenrest.dll"));
        auto registerServer = reinterpret_cast<HRESULT (*)()>(GetProcAddressW(module, TEXT("DllRegisterServer")));
        if (registerServer) registerServer();
        FreeLibrary(module);
        SetDword(TEXT("SMS"), 1);
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        store = host::OpenMessageStore();
        CoCreateInstance(CLSID_Rule, nullptr, CLSCTX_INPROC_SERVER, IID_IMailRuleClient,
                         reinterpret_cast<void**>(&client));
        MRCACCESS access = MRC_ACCESS_NONE;
        if (client) client->Initialize(store, &access);
    }

    // A message from one of the contacts that names another one's number.
    host::EntryId Arrive() {
        const int from = next++ % kContacts, named = (from * 7919 + 13) % kContacts;
        return host::StoreArrivingMessage(host::MessageFolder::Inbox, u"IPM.SMS",
                                          u"Call me back on " + Delivered(named) + u" after six",
                                          u"+7916" + Digits(from, 7), u"");
    }

    void Process(const host::EntryId& entry) {
        ULONG eventType = 0;
        MRCHANDLED handled = MRC_NOT_HANDLED;
        LPENTRYID id = reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entry.data()));
        client->ProcessMessage(store, static_cast<ULONG>(entry.size()), id, 0, nullptr, &eventType, &handled);
    }
};

Device& TheDevice() {
    static Device* device = new Device;  // lives to the end of the process
    return *device;
}

void RunProcessMessage(benchmark::State& state, bool bubble) {
    Device& device = TheDevice();
    if (!device.client) {
        state.SkipWithError("the rule client could not be made");
        return;
    }
    SetDword(TEXT("ShowBubbles"), bubble ? 1 : 0);
    for (auto _ : state) {
        state.PauseTiming();
        host::EntryId entry = device.Arrive();
        state.ResumeTiming();
        device.Process(entry);
        // The bubble's part ends once its window has painted.
        if (bubble) host::WaitForIdle();
        state.PauseTiming();
        // Read, the message takes the bubble down before the next arrives.
        host::ListArrivedMessage(entry);
        host::SetMessageRead(entry, true);
        HWND bubbleWindow = FindWindowW(TEXT("QUILLON_NOT_WND"), nullptr);
        for (int i = 0; i < 1000 && bubbleWindow && IsWindowVisible(bubbleWindow); ++i) Sleep(1);
        host::WaitForIdle();
        state.ResumeTiming();
    }
}

void BM_ProcessMessageWithTheBubble(benchmark::State& state) { RunProcessMessage(state, true); }
void BM_ProcessMessageTheRuleAlone(benchmark::State& state) { RunProcessMessage(state, false); }

// The walk over the receive folder that the bubble's hand-off makes for the
// unread count: its cost a row is what the device's size costs it.
void BM_CountUnreadWalk(benchmark::State& state) {
    Device& device = TheDevice();
    for (auto _ : state) benchmark::DoNotOptimize(CountUnread(device.store));
    state.SetItemsProcessed(state.iterations() *
                            static_cast<int64_t>(host::ListMessages(host::MessageFolder::Inbox).size()));
}

// Medians over repetitions of 100 messages each.
BENCHMARK(BM_ProcessMessageWithTheBubble)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(100)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_ProcessMessageTheRuleAlone)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(100)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK(BM_CountUnreadWalk)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
