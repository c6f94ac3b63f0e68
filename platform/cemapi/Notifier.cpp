#include "Notifier.h"

#include <coredll_host.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <new>

namespace cemapi {

namespace {

// How often the log is read for other processes' changes.
constexpr auto kPollInterval = std::chrono::milliseconds(100);
constexpr int kBatch = 64;

std::mutex g_allLock;
std::vector<std::weak_ptr<Notifier>> g_all;

// The notification's memory, valid while the sink is called.
struct Built {
    NOTIFICATION notification{};
    std::vector<BYTE> entry, parent, oldEntry, oldParent;
    std::vector<ULONG> tagStorage;
};

void Build(const StoreUid& uid, const Change& change, Built* out) {
    const ULONG parentKind = MAPI_FOLDER;
    out->entry = MakeEntryId(uid, {change.objType, change.object});
    out->parent = MakeEntryId(uid, {parentKind, change.parent});
    OBJECT_NOTIFICATION& obj = out->notification.info.obj;
    out->notification.ulEventType = change.event;
    obj.ulObjType = change.objType;
    obj.cbEntryID = static_cast<ULONG>(out->entry.size());
    obj.lpEntryID = reinterpret_cast<LPENTRYID>(out->entry.data());
    obj.cbParentID = static_cast<ULONG>(out->parent.size());
    obj.lpParentID = reinterpret_cast<LPENTRYID>(out->parent.data());
    if (change.event == fnevObjectMoved || change.event == fnevObjectCopied) {
        out->oldEntry = MakeEntryId(uid, {change.objType, change.oldObject});
        out->oldParent = MakeEntryId(uid, {parentKind, change.oldParent});
        obj.cbOldID = static_cast<ULONG>(out->oldEntry.size());
        obj.lpOldID = reinterpret_cast<LPENTRYID>(out->oldEntry.data());
        obj.cbOldParentID = static_cast<ULONG>(out->oldParent.size());
        obj.lpOldParentID = reinterpret_cast<LPENTRYID>(out->oldParent.data());
    }
    if (change.event == fnevObjectModified) {
        // An SPropTagArray laid out in ULONGs: the count, then the tags.
        out->tagStorage.assign(1 + change.tags.size(), 0);
        out->tagStorage[0] = static_cast<ULONG>(change.tags.size());
        std::copy(change.tags.begin(), change.tags.end(), out->tagStorage.begin() + 1);
        obj.lpPropTagArray = reinterpret_cast<LPSPropTagArray>(out->tagStorage.data());
    }
}

}  // namespace

Notifier::Notifier(std::string path, const StoreUid& uid) : path_(std::move(path)), uid_(uid) {}

Notifier::~Notifier() { Stop(); }

std::vector<std::shared_ptr<Notifier>> Notifier::All() {
    std::lock_guard<std::mutex> guard(g_allLock);
    std::vector<std::shared_ptr<Notifier>> out;
    for (auto& weak : g_all)
        if (auto notifier = weak.lock()) out.push_back(notifier);
    return out;
}

bool Notifier::OnThread() const { return threadId_ != 0 && GetCurrentThreadId() == threadId_; }

// What a new thread is given: its notifier, kept alive while it runs, and
// the number of its run.
struct Notifier::Start {
    std::shared_ptr<Notifier> self;
    uint64_t run;
};

DWORD WINAPI Notifier::ThreadMain(LPVOID parameter) {
    std::unique_ptr<Start> start(static_cast<Start*>(parameter));
    start->self->Run(start->run);
    return 0;
}

HRESULT Notifier::Advise(const void* owner, ULONG eventMask, IMAPIAdviseSink* sink, int64_t fromSeq,
                         ULONG* connection) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!thread_) {
        const uint64_t run = ++run_;
        Start* start = new (std::nothrow) Start{shared_from_this(), run};
        if (!start) return MAPI_E_NOT_ENOUGH_RESOURCES;
        DWORD id = 0;
        thread_ = CreateThread(nullptr, 0, ThreadMain, start, 0, &id);
        if (!thread_) {
            delete start;
            return MAPI_E_NOT_ENOUGH_RESOURCES;
        }
        threadId_ = id;
        std::lock_guard<std::mutex> guard(g_allLock);
        std::erase_if(g_all, [](const std::weak_ptr<Notifier>& w) { return w.expired(); });
        g_all.push_back(weak_from_this());
    }
    auto reg = std::make_shared<Registration>();
    reg->connection = nextConnection_++;
    reg->owner = owner;
    reg->mask = eventMask;
    reg->sink = sink;
    reg->fromSeq = fromSeq;
    sink->AddRef();
    registrations_[reg->connection] = reg;
    *connection = reg->connection;
    changed_.notify_all();
    return S_OK;
}

bool Notifier::Remove(const RegistrationPtr& reg, std::unique_lock<std::mutex>& lock) {
    reg->removed = true;
    registrations_.erase(reg->connection);
    if (inFlight_ == reg) {
        // A sink that unadvises itself from OnNotify is released when that
        // call has returned.
        if (OnThread()) {
            reg->releaseAfterCall = true;
            return false;
        }
        changed_.wait(lock, [&] { return inFlight_ != reg; });
    }
    return true;
}

HRESULT Notifier::Unadvise(const void* owner, ULONG connection) {
    std::unique_lock<std::mutex> lock(mutex_);
    auto it = registrations_.find(connection);
    if (it == registrations_.end() || it->second->owner != owner) return MAPI_E_NOT_FOUND;
    RegistrationPtr reg = it->second;
    bool release = Remove(reg, lock);
    lock.unlock();
    if (release) reg->sink->Release();
    return S_OK;
}

void Notifier::UnadviseAll(const void* owner) {
    std::unique_lock<std::mutex> lock(mutex_);
    std::vector<RegistrationPtr> owned;
    for (auto& [connection, reg] : registrations_)
        if (reg->owner == owner) owned.push_back(reg);
    std::vector<RegistrationPtr> toRelease;
    for (auto& reg : owned)
        if (Remove(reg, lock)) toRelease.push_back(reg);
    lock.unlock();
    for (auto& reg : toRelease) reg->sink->Release();
}

void Notifier::Wake() {
    std::lock_guard<std::mutex> lock(mutex_);
    woken_ = true;
    changed_.notify_all();
}

void Notifier::Stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (thread_) {
        ++run_;
        changed_.notify_all();
        const bool self = OnThread();
        HANDLE thread = thread_;
        thread_ = nullptr;
        threadId_ = 0;
        lock.unlock();
        // The thread may be the one stopping it (a sink dropping the last
        // reference to the store): it ends by itself once back in its loop.
        if (!self) WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
        lock.lock();
    }
    std::vector<RegistrationPtr> toRelease;
    for (auto& [connection, reg] : registrations_) {
        reg->removed = true;
        if (inFlight_ == reg)
            reg->releaseAfterCall = true;
        else
            toRelease.push_back(reg);
    }
    registrations_.clear();
    lock.unlock();
    for (auto& reg : toRelease) reg->sink->Release();
}

std::vector<Change> Notifier::ReadChanges(std::unique_ptr<host::Database>& db, int64_t after, int limit) {
    std::vector<Change> changes;
    if (!db) {
        db = host::Database::Open(path_, "", nullptr);
        if (!db) return changes;
    }
    host::Statement st = db->Prepare(
        "SELECT seq, event, type, object, parent, old_object, old_parent, tags FROM changes "
        "WHERE seq > ? ORDER BY seq LIMIT ?");
    st.Bind(1, after).Bind(2, static_cast<int64_t>(limit));
    while (st.Step()) {
        Change c;
        c.seq = st.Int(0);
        c.event = static_cast<ULONG>(st.Int(1));
        c.objType = static_cast<ULONG>(st.Int(2));
        c.object = st.Int(3);
        c.parent = st.Int(4);
        c.oldObject = st.Int(5);
        c.oldParent = st.Int(6);
        std::vector<uint8_t> tags = st.Blob(7);
        c.tags.resize(tags.size() / sizeof(ULONG));
        if (!c.tags.empty()) std::memcpy(c.tags.data(), tags.data(), c.tags.size() * sizeof(ULONG));
        changes.push_back(std::move(c));
    }
    return changes;
}

void Notifier::Deliver(uint64_t run, const Change& change, std::unique_lock<std::mutex>& lock) {
    std::vector<RegistrationPtr> targets;
    for (auto& [connection, reg] : registrations_)
        if ((reg->mask & change.event) && change.seq > reg->fromSeq) targets.push_back(reg);
    if (targets.empty()) return;
    Built built;
    Build(uid_, change, &built);
    for (auto& reg : targets) {
        if (reg->removed || run != run_) continue;
        inFlight_ = reg;
        lock.unlock();
        // Each notification goes in a call of its own.
        reg->sink->OnNotify(1, &built.notification);
        lock.lock();
        inFlight_.reset();
        changed_.notify_all();
        if (reg->releaseAfterCall) {
            lock.unlock();
            reg->sink->Release();
            lock.lock();
        }
    }
}

void Notifier::Run(uint64_t run) {
    std::unique_ptr<host::Database> db;  // a connection of the thread's own
    int64_t cursor = -1;
    std::unique_lock<std::mutex> lock(mutex_);
    while (run == run_) {
        if (registrations_.empty()) {
            auto wakes = [&] { return run != run_ || !registrations_.empty(); };
            host::OutsideWait waiting(mutex_, wakes);
            changed_.wait(lock, wakes);
            continue;
        }
        {
            auto wakes = [&] { return run != run_ || woken_; };
            host::OutsideWait waiting(mutex_, wakes);
            changed_.wait_for(lock, kPollInterval, wakes);
        }
        woken_ = false;
        if (run != run_ || registrations_.empty()) continue;
        int64_t lowest = INT64_MAX;
        for (auto& [connection, reg] : registrations_) lowest = std::min(lowest, reg->fromSeq);
        cursor = std::max(cursor, lowest);
        lock.unlock();
        std::vector<Change> changes = ReadChanges(db, cursor, kBatch);
        lock.lock();
        for (const Change& change : changes) {
            if (run != run_) break;
            cursor = change.seq;
            Deliver(run, change, lock);
        }
        if (changes.size() == static_cast<size_t>(kBatch)) woken_ = true;
    }
}

}  // namespace cemapi
