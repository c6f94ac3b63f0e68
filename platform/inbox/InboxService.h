// The service object: its thread, its rule clients, its queue of arrivals.
#pragma once

#include <cemapi.h>
#include <inbox_host.h>

#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace inbox {

class InboxService {
public:
    bool Start(std::string* error);
    void Stop();
    // Runs job on the service's thread and waits for it.
    bool RunOnServiceThread(const std::function<void()>& job);

    void Deliver(const host::ArrivingMessage& message, std::string* error);
    host::RuleResult LastResult();

private:
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Run();
    void LoadRuleClients();
    void ReleaseRuleClients();

    struct Job {
        std::function<void()> work;
        HANDLE done;
    };

    HANDLE thread_ = nullptr;
    HANDLE wake_ = nullptr;
    HANDLE started_ = nullptr;
    std::mutex lock_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    bool startOk_ = false;
    std::string startError_;

    // Service-thread state.
    IMsgStore* store_ = nullptr;
    std::vector<IMailRuleClient*> clients_;

    // Read from other threads under lock_.
    host::RuleResult last_;
};

}  // namespace inbox
