// Resources of a module: the compiled .res data that the build puts into
// the module's ".rsrc" section, found through the section headers of the
// module's file and read where the loader mapped it.
#include "resources/Resources.h"

#include "kernel/Kernel.h"

#include <elf.h>
#include <link.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <set>
#include <vector>

namespace resources {

namespace {

struct Section {
    uintptr_t address = 0;  // where the loader mapped it, relative to the load base
    size_t size = 0;
};

// The ".rsrc" section in the ELF file, if the file has one.
bool FindSection(const std::string& path, Section* section) {
    std::ifstream file(path, std::ios::binary);
    Elf64_Ehdr header{};
    if (!file.read(reinterpret_cast<char*>(&header), sizeof header)) return false;
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64) return false;
    if (header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shstrndx >= header.e_shnum) return false;
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    file.seekg(static_cast<std::streamoff>(header.e_shoff));
    if (!file.read(reinterpret_cast<char*>(sections.data()), sections.size() * sizeof(Elf64_Shdr))) return false;
    const Elf64_Shdr& names = sections[header.e_shstrndx];
    if (names.sh_size > (1u << 24)) return false;
    std::string table(names.sh_size, '\0');
    file.seekg(static_cast<std::streamoff>(names.sh_offset));
    if (!file.read(table.data(), static_cast<std::streamsize>(table.size()))) return false;
    for (const Elf64_Shdr& s : sections) {
        if (s.sh_name >= table.size() || std::strcmp(table.c_str() + s.sh_name, ".rsrc") != 0) continue;
        if (!(s.sh_flags & SHF_ALLOC) || s.sh_type == SHT_NOBITS) return false;
        section->address = s.sh_addr;
        section->size = s.sh_size;
        return true;
    }
    return false;
}

// The load base of the object mapped from path ("" is the program).
uintptr_t LoadBase(const std::string& path, bool program) {
    struct Query {
        std::string wanted;
        bool program;
        bool first = true;
        uintptr_t base = 0;
        bool found = false;
    } query{program ? std::string() : path, program};
    char resolved[PATH_MAX];
    if (!program && realpath(path.c_str(), resolved)) query.wanted = resolved;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) -> int {
            auto* q = static_cast<Query*>(data);
            bool first = q->first;
            q->first = false;
            if (q->program) {
                if (!first) return 0;
            } else {
                char name[PATH_MAX];
                if (!info->dlpi_name || !*info->dlpi_name || !realpath(info->dlpi_name, name) || q->wanted != name)
                    return 0;
            }
            q->base = info->dlpi_addr;
            q->found = true;
            return 1;
        },
        &query);
    return query.found ? query.base : UINTPTR_MAX;
}

// Reads the entries of one or more .res files laid end to end. Bad data
// ends the walk: what was read before it stays usable.
void ParseRes(HMODULE module, const BYTE* data, size_t size, std::vector<std::unique_ptr<Entry>>* entries) {
    size_t at = 0;
    auto dword = [&](size_t offset) {
        DWORD v;
        std::memcpy(&v, data + offset, 4);
        return v;
    };
    auto word = [&](size_t offset) {
        WORD v;
        std::memcpy(&v, data + offset, 2);
        return v;
    };
    // An ordinal (0xFFFF, id) or a NUL-terminated name; false when it runs past end.
    auto readId = [&](size_t* offset, size_t end, Id* id) {
        if (*offset + 2 > end) return false;
        if (word(*offset) == 0xFFFF) {
            if (*offset + 4 > end) return false;
            id->ordinal = word(*offset + 2);
            id->name.clear();
            *offset += 4;
            return true;
        }
        id->ordinal = 0;
        id->name.clear();
        while (*offset + 2 <= end) {
            WCHAR c = word(*offset);
            *offset += 2;
            if (!c) return true;
            id->name += c;
        }
        return false;
    };
    while (at + 32 <= size) {
        DWORD dataSize = dword(at), headerSize = dword(at + 4);
        if (headerSize < 32 || headerSize > size - at || dataSize > size - at - headerSize) return;
        size_t end = at + headerSize;
        size_t cursor = at + 8;
        auto entry = std::make_unique<Entry>();
        entry->module = module;
        if (!readId(&cursor, end, &entry->type) || !readId(&cursor, end, &entry->name)) return;
        cursor = (cursor + 3) & ~size_t(3);
        if (cursor + 16 > end) return;
        entry->language = word(cursor + 6);
        entry->data = data + end;
        entry->size = dataSize;
        // The empty entry that opens every .res file names nothing.
        if (!(entry->type.ordinal == 0 && entry->type.name.empty())) entries->push_back(std::move(entry));
        at = (end + dataSize + 3) & ~size_t(3);
    }
}

std::mutex g_lock;
// By module handle: handles are never reused, so a cached index cannot
// belong to another module. A module whose data are gone (freed) is read
// again should the handle be passed once more, which the loader refuses.
std::map<uintptr_t, std::shared_ptr<ModuleResources>> g_modules;
std::set<const Entry*> g_entries;

}  // namespace

std::shared_ptr<ModuleResources> ResourcesOf(HMODULE module, DWORD* error) {
    if (!module) module = GetModuleHandleW(nullptr);
    std::string path;
    if (!kernel::ModuleFile(module, &path)) {
        *error = ERROR_INVALID_HANDLE;
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = g_modules.find(reinterpret_cast<uintptr_t>(module));
    if (it != g_modules.end()) return it->second;
    auto found = std::make_shared<ModuleResources>();
    Section section;
    if (FindSection(path, &section)) {
        uintptr_t base = LoadBase(path, module == GetModuleHandleW(nullptr));
        if (base != UINTPTR_MAX) {
            ParseRes(module, reinterpret_cast<const BYTE*>(base + section.address), section.size, &found->entries);
            for (const auto& entry : found->entries) g_entries.insert(entry.get());
        }
    }
    g_modules.emplace(reinterpret_cast<uintptr_t>(module), found);
    return found;
}

// An entry of a module that is still loaded (its data still mapped).
const Entry* LiveEntry(const void* candidate) {
    const Entry* entry = static_cast<const Entry*>(candidate);
    {
        std::lock_guard<std::mutex> lock(g_lock);
        if (!g_entries.count(entry)) return nullptr;
    }
    std::string path;
    return kernel::ModuleFile(entry->module, &path) ? entry : nullptr;
}

size_t BytesAfter(const void* p) {
    const BYTE* at = static_cast<const BYTE*>(p);
    std::lock_guard<std::mutex> lock(g_lock);
    for (const Entry* entry : g_entries)
        if (at >= entry->data && at < entry->data + entry->size)
            return static_cast<size_t>(entry->data + entry->size - at);
    return SIZE_MAX;
}

bool Id::Matches(LPCWSTR wanted) const {
    if (IS_INTRESOURCE(wanted)) return name.empty() && ordinal == LOWORD(reinterpret_cast<ULONG_PTR>(wanted));
    // "#123" names ordinal 123.
    if (wanted[0] == u'#') {
        unsigned value = 0;
        const WCHAR* p = wanted + 1;
        if (!*p) return false;
        for (; *p; ++p) {
            if (*p < u'0' || *p > u'9' || value > 0xFFFF) return false;
            value = value * 10 + (*p - u'0');
        }
        return name.empty() && ordinal == value;
    }
    if (name.empty()) return false;
    size_t i = 0;
    for (; wanted[i]; ++i)
        if (i >= name.size() || towupper(wanted[i]) != towupper(name[i])) return false;
    return i == name.size();
}

const Entry* Find(const ModuleResources& module, LPCWSTR type, LPCWSTR name, int language, DWORD* error) {
    bool typeSeen = false, nameSeen = false;
    for (const auto& entry : module.entries) {
        if (!entry->type.Matches(type)) continue;
        typeSeen = true;
        if (!entry->name.Matches(name)) continue;
        nameSeen = true;
        if (language < 0 || entry->language == language) return entry.get();
    }
    *error = !typeSeen   ? ERROR_RESOURCE_TYPE_NOT_FOUND
             : !nameSeen ? ERROR_RESOURCE_NAME_NOT_FOUND
                         : ERROR_RESOURCE_LANG_NOT_FOUND;
    return nullptr;
}

const Entry* FindIn(HMODULE module, LPCWSTR type, LPCWSTR name) {
    DWORD error = 0;
    auto resources = ResourcesOf(module, &error);
    const Entry* entry = resources && type && name ? Find(*resources, type, name, -1, &error) : nullptr;
    if (!entry) SetLastError(error ? error : ERROR_INVALID_PARAMETER);
    return entry;
}

}  // namespace resources

using namespace resources;

extern "C" HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
    if (!lpType || !lpName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    DWORD error = 0;
    auto resources = ResourcesOf(hModule, &error);
    if (!resources) {
        SetLastError(error);
        return nullptr;
    }
    // The neutral language takes whichever the module holds first.
    const Entry* entry = Find(*resources, lpType, lpName, wLanguage == LANG_NEUTRAL ? -1 : wLanguage, &error);
    if (!entry) SetLastError(error);
    return reinterpret_cast<HRSRC>(const_cast<Entry*>(entry));
}

extern "C" HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
    return FindResourceExW(hModule, lpType, lpName, LANG_NEUTRAL);
}

extern "C" HGLOBAL WINAPI LoadResource(HMODULE /*hModule*/, HRSRC hResInfo) {
    const Entry* entry = LiveEntry(hResInfo);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return const_cast<BYTE*>(entry->data);
}

extern "C" LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

extern "C" DWORD WINAPI SizeofResource(HMODULE /*hModule*/, HRSRC hResInfo) {
    const Entry* entry = LiveEntry(hResInfo);
    if (!entry) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return entry->size;
}
