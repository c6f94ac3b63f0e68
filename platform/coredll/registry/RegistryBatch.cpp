// Registry batches: the Reg* calls of one thread between Begin and Commit
// form one transaction of the registry database.
#include "registry/RegistryStore.h"

#include <coredll_host.h>

namespace {
// The stores this thread's open batches belong to, innermost last; kept so
// that a batch ends on the database it began on even if the device changes.
thread_local std::vector<std::shared_ptr<registry::Store>> t_batches;
}  // namespace

namespace host {

bool BeginRegistryBatch() {
    LONG error = ERROR_SUCCESS;
    std::shared_ptr<registry::Store> store = registry::CurrentStore(&error);
    if (!store || !store->db().Begin()) return false;
    t_batches.push_back(std::move(store));
    return true;
}

bool CommitRegistryBatch() {
    if (t_batches.empty()) return false;
    std::shared_ptr<registry::Store> store = std::move(t_batches.back());
    t_batches.pop_back();
    return store->db().Commit();
}

void RollbackRegistryBatch() {
    if (t_batches.empty()) return;
    std::shared_ptr<registry::Store> store = std::move(t_batches.back());
    t_batches.pop_back();
    store->db().Rollback();
}

}  // namespace host
