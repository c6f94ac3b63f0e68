// What every store of the device needs from the host: the one store of the
// open device, and the write batches a thread nests over it. Each platform
// library that keeps a database in the device folder uses these for its own
// store type (the registry, the message store, the contact store, the log
// of outside effects).
#pragma once

#include <coredll_host.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace host {

// The store of the open device, opened on first use and opened again when
// another device is opened (host::DeviceGeneration changed). The previous
// device's store goes once its last user lets it go.
template <class Store>
class DeviceStore {
public:
    // open(generation) opens the store of the open device, or gives null
    // (then the next call tries again).
    template <class Open>
    std::shared_ptr<Store> Get(Open&& open) {
        std::lock_guard<std::mutex> guard(lock_);
        const unsigned generation = DeviceGeneration();
        if (current_ && generation_ == generation) return current_;
        current_.reset();
        current_ = open(generation);
        generation_ = generation;
        return current_;
    }

private:
    std::mutex lock_;
    std::shared_ptr<Store> current_;
    unsigned generation_ = 0;
};

// The batches the calling thread has open on stores of this type, innermost
// last. Each keeps its store, so that a batch ends on the database it began
// on even if another device was opened meanwhile. Store::db() is the
// store's host::Database.
template <class Store>
class ThreadBatches {
public:
    static bool Begin(std::shared_ptr<Store> store) {
        if (!store || !store->db().Begin()) return false;
        Stack().push_back(std::move(store));
        return true;
    }
    static bool Commit() {
        std::shared_ptr<Store> store = Pop();
        return store && store->db().Commit();
    }
    static void Rollback() {
        if (std::shared_ptr<Store> store = Pop()) store->db().Rollback();
    }
    // The store of the innermost open batch, or null.
    static std::shared_ptr<Store> Innermost() { return Stack().empty() ? nullptr : Stack().back(); }

private:
    static std::vector<std::shared_ptr<Store>>& Stack() {
        thread_local std::vector<std::shared_ptr<Store>> stack;
        return stack;
    }
    static std::shared_ptr<Store> Pop() {
        if (Stack().empty()) return nullptr;
        std::shared_ptr<Store> store = std::move(Stack().back());
        Stack().pop_back();
        return store;
    }
};

}  // namespace host
