#include "TemplateResource.h"

#include "FuzzCheck.h"

#include <sanitizer/asan_interface.h>

#include <cstdint>

namespace fuzz {

namespace {

constexpr size_t kHeader = 32;
constexpr size_t kGuard = 32;

// A .res file as the resource compiler writes it: the empty entry that
// opens every file, one dialog's header and its data, and behind them a
// guard that reads as no entry (a header size of 0 ends the index). The
// array is left uninstrumented so that the sanitizer's own padding does not
// lengthen the section; the guard is poisoned by hand instead.
struct ResFile {
    DWORD emptySizes[2];
    WORD emptyIds[4];
    DWORD emptyRest[4];
    DWORD sizes[2];
    WORD ids[4];
    DWORD rest[4];
    BYTE data[kTemplateSize];
    BYTE guard[kGuard];
};
static_assert(sizeof(ResFile) == 2 * kHeader + kTemplateSize + kGuard);

// clang's sanitizer would pad the variable; gcc's has no such attribute
// for variables and leaves the section as it is.
#if defined(__clang__)
#define RES_NO_PADDING no_sanitize("address")
#else
#define RES_NO_PADDING
#endif
__attribute__((section(".rsrc"), used, aligned(8), RES_NO_PADDING)) ResFile g_res = {
    {0, kHeader},
    {0xFFFF, 0, 0xFFFF, 0},
    {0, 0, 0, 0},
    {kTemplateSize, kHeader},
    {0xFFFF, 5 /* RT_DIALOG */, 0xFFFF, kTemplateId},
    {0, 0x1030 /* memory flags, language 0 */, 0, 0},
    {},
    {},
};

}  // namespace

BYTE* OpenTemplateResource() {
    HMODULE program = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(program, MAKEINTRESOURCE(kTemplateId), RT_DIALOG);
    FUZZ_CHECK(found != nullptr);
    FUZZ_CHECK(SizeofResource(program, found) == kTemplateSize);
    FUZZ_CHECK(LockResource(LoadResource(program, found)) == g_res.data);
    ASAN_POISON_MEMORY_REGION(g_res.guard, kGuard);
    return g_res.data;
}

}  // namespace fuzz
