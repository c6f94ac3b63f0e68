#include "InboxService.h"

#include "SenderName.h"

#include <cemapi_host.h>
#include <effect_log.h>
#include <objbase.h>

namespace inbox {

namespace {

const WCHAR kRulesKey[] = TEXT("\\Software\\Microsoft\\Inbox\\Svc\\SMS\\Rules");

// The event type starts at 0, as clients OR their bits into it; a client
// that reports no event leaves it there. The handled answer starts at a
// value no client writes.
const ULONG kNoEvent = 0;
const MRCHANDLED kUnwrittenHandled = static_cast<MRCHANDLED>(-1);

}  // namespace

bool InboxService::Start(std::string* error) {
    wake_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    started_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (!thread_) {
        if (error) *error = "cannot start the inbox service's thread";
        return false;
    }
    WaitForSingleObject(started_, INFINITE);
    if (!startOk_ && error) *error = startError_;
    return startOk_;
}

void InboxService::Stop() {
    if (!thread_) return;
    {
        std::lock_guard<std::mutex> lock(lock_);
        stopping_ = true;
    }
    SetEvent(wake_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(wake_);
    CloseHandle(started_);
    thread_ = wake_ = started_ = nullptr;
}

DWORD WINAPI InboxService::ThreadMain(LPVOID self) {
    static_cast<InboxService*>(self)->Run();
    return 0;
}

void InboxService::Run() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    store_ = host::OpenMessageStore();
    if (!store_) {
        startError_ = "cannot open the message store of the device";
    } else {
        // Messages a service ended during their rule clients left held back
        // are listed as they are.
        host::ListHeldBackMessages();
        LoadRuleClients();
        startOk_ = true;
    }
    SetEvent(started_);

    for (;;) {
        Job job;
        {
            std::lock_guard<std::mutex> lock(lock_);
            if (!jobs_.empty()) {
                job = jobs_.front();
                jobs_.pop_front();
            } else if (stopping_) {
                break;
            }
        }
        if (job.work) {
            job.work();
            SetEvent(job.done);
            continue;
        }
        WaitForSingleObject(wake_, INFINITE);
    }

    ReleaseRuleClients();
    if (store_) store_->Release();
    store_ = nullptr;
    CoFreeUnusedLibraries();
    CoUninitialize();
}

bool InboxService::RunOnServiceThread(const std::function<void()>& work) {
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        std::lock_guard<std::mutex> lock(lock_);
        if (!thread_ || stopping_) {
            CloseHandle(done);
            return false;
        }
        jobs_.push_back(Job{work, done});
    }
    SetEvent(wake_);
    WaitForSingleObject(done, INFINITE);
    CloseHandle(done);
    return true;
}

void InboxService::LoadRuleClients() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kRulesKey, 0, 0, &key) != ERROR_SUCCESS) return;
    for (DWORD index = 0;; ++index) {
        WCHAR name[64];
        DWORD nameLength = ARRAYSIZE(name);
        DWORD type = 0, value = 0, size = sizeof(value);
        LONG rc = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        if (rc != ERROR_SUCCESS || type != REG_DWORD || value != 1) continue;
        CLSID clsid;
        if (FAILED(CLSIDFromString(name, &clsid))) continue;
        IMailRuleClient* client = nullptr;
        if (FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IMailRuleClient,
                                    reinterpret_cast<void**>(&client))))
            continue;
        MRCACCESS access = MRC_ACCESS_NONE;
        if (FAILED(client->Initialize(store_, &access))) {
            client->Release();
            continue;
        }
        clients_.push_back(client);
    }
    RegCloseKey(key);
}

void InboxService::ReleaseRuleClients() {
    for (IMailRuleClient* client : clients_) client->Release();
    clients_.clear();
}

void InboxService::Deliver(const host::ArrivingMessage& message, std::string* error) {
    bool ok = RunOnServiceThread([&] {
        std::u16string name = message.senderName.empty() ? SenderNameFor(message.senderAddress) : message.senderName;
        // Listed in the Inbox only once the last rule client has answered.
        host::EntryId entry = host::StoreArrivingMessage(host::MessageFolder::Inbox, message.messageClass, message.text,
                                                         message.senderAddress, name);
        if (entry.empty()) {
            if (error) *error = "cannot store the message in the Inbox";
            return;
        }
        // The destination the service names is the folder the message is in.
        ULONG inboxSize = 0;
        LPENTRYID inbox = nullptr;
        store_->GetReceiveFolder(nullptr, 0, &inboxSize, &inbox, nullptr);

        bool shownByClient = false;
        for (IMailRuleClient* client : clients_) {
            ULONG eventType = kNoEvent;
            MRCHANDLED handled = kUnwrittenHandled;
            client->ProcessMessage(store_, static_cast<ULONG>(entry.size()), reinterpret_cast<LPENTRYID>(entry.data()),
                                   inboxSize, inbox, &eventType, &handled);
            host::RuleResult result;
            result.called = true;
            if (eventType != kNoEvent) result.eventType = eventType;
            if (handled != kUnwrittenHandled) result.handled = static_cast<int>(handled);
            {
                std::lock_guard<std::mutex> lock(lock_);
                last_ = result;
            }
            if (handled == MRC_HANDLED_DONTCONTINUE) {
                shownByClient = true;
                break;
            }
        }
        if (inbox) MAPIFreeBuffer(inbox);
        // A message a rule client deleted is not there to list.
        host::ListArrivedMessage(entry);
        if (!shownByClient)
            host::AppendEffect(host::effect::kStandardNotification,
                               {host::EffectField::Text("class", message.messageClass),
                                host::EffectField::Text("sender", message.senderAddress)});
    });
    if (!ok && error) *error = "the inbox service is not running";
}

host::RuleResult InboxService::LastResult() {
    std::lock_guard<std::mutex> lock(lock_);
    return last_;
}

}  // namespace inbox
