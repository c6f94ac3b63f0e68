// MAPI memory: buffers whose linked blocks (MAPIAllocateMore) go with them
// when the buffer is freed.
#include <coredll_host.h>
#include <mapiutil.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr uint32_t kParentMagic = 0x4D415049;  // "MAPI"
constexpr uint32_t kChildMagic = 0x6D617069;   // "mapi"

struct alignas(16) Block {
    uint32_t magic;
    ULONG size;
    Block* parent;                   // the buffer a linked block belongs to
    Block* nextSibling;              // the next linked block of the same buffer
    std::atomic<Block*> firstChild;  // the buffer's linked blocks, newest first
};

Block* HeaderOf(void* buffer) { return static_cast<Block*>(buffer) - 1; }

Block* NewBlock(ULONG size, uint32_t magic) {
    void* memory = std::malloc(sizeof(Block) + size);
    if (!memory) return nullptr;
    return new (memory) Block{magic, size, nullptr, nullptr, {nullptr}};
}

void FreeBlock(Block* block) {
    block->magic = 0;
    block->~Block();
    std::free(block);
}

bool Injected(const char* name, SCODE* result) {
    long value = MAPI_E_NOT_ENOUGH_MEMORY;
    if (!host::ShouldFail(name, &value)) return false;
    *result = static_cast<SCODE>(value);
    return true;
}

}  // namespace

extern "C" SCODE WINAPI MAPIAllocateBuffer(ULONG cbSize, LPVOID* lppBuffer) {
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    SCODE injected;
    if (Injected("MAPIAllocateBuffer", &injected)) return injected;
    Block* block = NewBlock(cbSize, kParentMagic);
    if (!block) return MAPI_E_NOT_ENOUGH_MEMORY;
    *lppBuffer = block + 1;
    return S_OK;
}

extern "C" SCODE WINAPI MAPIAllocateMore(ULONG cbSize, LPVOID lpObject, LPVOID* lppBuffer) {
    if (!lppBuffer) return MAPI_E_INVALID_PARAMETER;
    *lppBuffer = nullptr;
    if (!lpObject) return MAPI_E_INVALID_PARAMETER;
    Block* parent = HeaderOf(lpObject);
    // A block linked to a linked block belongs to the same buffer.
    if (parent->magic == kChildMagic) parent = parent->parent;
    if (parent->magic != kParentMagic) return MAPI_E_INVALID_PARAMETER;
    SCODE injected;
    if (Injected("MAPIAllocateMore", &injected)) return injected;
    Block* block = NewBlock(cbSize, kChildMagic);
    if (!block) return MAPI_E_NOT_ENOUGH_MEMORY;
    block->parent = parent;
    Block* head = parent->firstChild.load(std::memory_order_relaxed);
    do {
        block->nextSibling = head;
    } while (
        !parent->firstChild.compare_exchange_weak(head, block, std::memory_order_release, std::memory_order_relaxed));
    *lppBuffer = block + 1;
    return S_OK;
}

extern "C" ULONG WINAPI MAPIFreeBuffer(LPVOID lpBuffer) {
    if (!lpBuffer) return S_OK;
    Block* block = HeaderOf(lpBuffer);
    // A linked block is freed with its buffer, never on its own.
    if (block->magic != kParentMagic) return S_OK;
    Block* child = block->firstChild.load(std::memory_order_acquire);
    while (child) {
        Block* next = child->nextSibling;
        FreeBlock(child);
        child = next;
    }
    FreeBlock(block);
    return S_OK;
}

extern "C" void WINAPI FreeProws(LPSRowSet lpRows) {
    if (!lpRows) return;
    SRow* rows = lpRows->aRow;
    for (ULONG i = 0; i < lpRows->cRows; ++i) MAPIFreeBuffer(rows[i].lpProps);
    MAPIFreeBuffer(lpRows);
}
