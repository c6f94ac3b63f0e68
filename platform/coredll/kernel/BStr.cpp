// BSTRs: a 32-bit byte length in front of the characters, NUL-terminated.
#include <oleauto.h>
#include <windows.h>

#include <cstring>

extern "C" BSTR WINAPI SysAllocStringLen(const OLECHAR* pch, UINT cch) {
    if (cch > 0x3FFFFFF0u) return nullptr;
    auto* block = static_cast<uint8_t*>(LocalAlloc(LMEM_FIXED, sizeof(uint32_t) + (cch + 1) * sizeof(OLECHAR)));
    if (!block) return nullptr;
    uint32_t bytes = cch * sizeof(OLECHAR);
    std::memcpy(block, &bytes, sizeof bytes);
    BSTR text = reinterpret_cast<BSTR>(block + sizeof(uint32_t));
    if (pch)
        std::memcpy(text, pch, bytes);
    else
        std::memset(text, 0, bytes);
    text[cch] = 0;
    return text;
}

extern "C" BSTR WINAPI SysAllocString(const OLECHAR* psz) {
    if (!psz) return nullptr;
    return SysAllocStringLen(psz, static_cast<UINT>(wcslen(psz)));
}

extern "C" void WINAPI SysFreeString(BSTR bstr) {
    if (bstr) LocalFree(reinterpret_cast<uint8_t*>(bstr) - sizeof(uint32_t));
}

extern "C" UINT WINAPI SysStringLen(BSTR bstr) {
    if (!bstr) return 0;
    uint32_t bytes;
    std::memcpy(&bytes, reinterpret_cast<uint8_t*>(bstr) - sizeof(uint32_t), sizeof bytes);
    return bytes / sizeof(OLECHAR);
}
