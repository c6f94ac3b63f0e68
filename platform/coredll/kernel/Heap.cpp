// The local heap. Blocks carry their size in front, for LocalSize and
// LocalReAlloc.
#include <coredll_host.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

namespace {

struct alignas(16) BlockHeader {
    size_t size;
};

BlockHeader* HeaderOf(HLOCAL mem) { return static_cast<BlockHeader*>(mem) - 1; }

bool AllocationFails() {
    long error = ERROR_NOT_ENOUGH_MEMORY;
    if (!host::ShouldFail("LocalAlloc", &error)) return false;
    SetLastError(static_cast<DWORD>(error));
    return true;
}

}  // namespace

extern "C" HLOCAL WINAPI LocalAlloc(UINT uFlags, UINT uBytes) {
    if (AllocationFails()) return nullptr;
    auto* block = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + uBytes));
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->size = uBytes;
    if (uFlags & LMEM_ZEROINIT) std::memset(block + 1, 0, uBytes);
    return block + 1;
}

extern "C" HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, UINT uBytes, UINT uFlags) {
    if (!hMem) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (AllocationFails()) return nullptr;
    BlockHeader* old = HeaderOf(hMem);
    size_t oldSize = old->size;
    auto* block = static_cast<BlockHeader*>(std::realloc(old, sizeof(BlockHeader) + uBytes));
    if (!block) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    block->size = uBytes;
    if ((uFlags & LMEM_ZEROINIT) && uBytes > oldSize)
        std::memset(reinterpret_cast<char*>(block + 1) + oldSize, 0, uBytes - oldSize);
    return block + 1;
}

extern "C" HLOCAL WINAPI LocalFree(HLOCAL hMem) {
    if (hMem) std::free(HeaderOf(hMem));
    return nullptr;
}

extern "C" UINT WINAPI LocalSize(HLOCAL hMem) { return hMem ? static_cast<UINT>(HeaderOf(hMem)->size) : 0; }

extern "C" LPVOID CoTaskMemAlloc(SIZE_T cb) { return LocalAlloc(LMEM_FIXED, static_cast<UINT>(cb)); }

extern "C" void CoTaskMemFree(LPVOID pv) { LocalFree(pv); }
