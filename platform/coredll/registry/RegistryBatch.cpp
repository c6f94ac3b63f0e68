// Registry batches: the Reg* calls of one thread between Begin and Commit
// form one transaction of the registry database.
#include "registry/RegistryStore.h"

#include <coredll_host.h>
#include <device_store.h>

namespace host {

using RegistryBatches = ThreadBatches<registry::Store>;

bool BeginRegistryBatch() {
    LONG error = ERROR_SUCCESS;
    return RegistryBatches::Begin(registry::CurrentStore(&error));
}

bool CommitRegistryBatch() { return RegistryBatches::Commit(); }

void RollbackRegistryBatch() { RegistryBatches::Rollback(); }

}  // namespace host
