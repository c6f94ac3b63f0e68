// The notifications of one device's store: the advise sinks registered
// with IMsgStore::Advise, and the thread that calls them. The thread reads
// the store's change log through a connection of its own, so that changes
// made by other processes on the device are announced like this process's
// own; a write of this process wakes it at once, others are seen within a
// poll interval.
#pragma once

#include "EntryId.h"

#include <sqlite_db.h>
#include <windows.h>

#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace cemapi {

// One entry of the change log.
struct Change {
    int64_t seq = 0;
    ULONG event = 0;
    ULONG objType = 0;
    RowId object = 0;
    RowId parent = 0;
    RowId oldObject = 0;
    RowId oldParent = 0;
    std::vector<ULONG> tags;
};

class Notifier : public std::enable_shared_from_this<Notifier> {
public:
    Notifier(std::string path, const StoreUid& uid);
    ~Notifier();
    Notifier(const Notifier&) = delete;
    Notifier& operator=(const Notifier&) = delete;

    // Registers a sink for changes logged after fromSeq; the sink is held
    // (AddRef) until it is unadvised. owner is the store object advised.
    HRESULT Advise(const void* owner, ULONG eventMask, IMAPIAdviseSink* sink, int64_t fromSeq, ULONG* connection);
    // Drops the registration and releases the sink once no call of it is in
    // progress: after this returns the sink is never called again.
    HRESULT Unadvise(const void* owner, ULONG connection);
    void UnadviseAll(const void* owner);

    // A change was logged by this process.
    void Wake();
    // Ends the thread and drops every registration, releasing the sinks. A
    // later Advise starts a new thread.
    void Stop();

    // Every live notifier of the process, for the host's stop call.
    static std::vector<std::shared_ptr<Notifier>> All();

private:
    struct Registration {
        ULONG connection = 0;
        const void* owner = nullptr;
        ULONG mask = 0;
        IMAPIAdviseSink* sink = nullptr;
        int64_t fromSeq = 0;
        bool removed = false;
        bool releaseAfterCall = false;
    };
    using RegistrationPtr = std::shared_ptr<Registration>;

    struct Start;
    static DWORD WINAPI ThreadMain(LPVOID parameter);
    void Run(uint64_t run);
    std::vector<Change> ReadChanges(std::unique_ptr<host::Database>& db, int64_t after, int limit);
    void Deliver(uint64_t run, const Change& change, std::unique_lock<std::mutex>& lock);
    bool OnThread() const;
    // Takes the registration out; the caller releases the sink unless it
    // is being called on this thread (then the thread releases it after).
    bool Remove(const RegistrationPtr& reg, std::unique_lock<std::mutex>& lock);

    const std::string path_;
    const StoreUid uid_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<ULONG, RegistrationPtr> registrations_;
    RegistrationPtr inFlight_;
    HANDLE thread_ = nullptr;  // a platform thread, so that the process's thread rules cover it
    DWORD threadId_ = 0;
    uint64_t run_ = 0;  // a thread runs while its number is the current one
    bool woken_ = false;
    ULONG nextConnection_ = 1;
};

}  // namespace cemapi
