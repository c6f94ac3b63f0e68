// Menus: a table of HMENUs, each a list of items (a command, a popup with a
// menu of its own, or a separator), built item by item or from an RT_MENU
// resource (the classic template and the extended one).
#include "resources/Resources.h"

#include <cstring>
#include <map>
#include <mutex>

namespace {

struct Item {
    UINT type = MFT_STRING;  // MFT_*
    UINT state = 0;          // MFS_*
    UINT id = 0;
    HMENU submenu = nullptr;
    std::u16string text;
    ULONG_PTR data = 0;
};

struct Menu {
    std::vector<Item> items;
};

std::recursive_mutex g_lock;
std::map<uintptr_t, Menu> g_menus;
// Apart from the kernel's and GDI's handles; never reused.
uintptr_t g_nextMenu = 0x20000000;

Menu* Find(HMENU handle) {
    auto it = g_menus.find(reinterpret_cast<uintptr_t>(handle));
    return it == g_menus.end() ? nullptr : &it->second;
}

Menu* FindOrFail(HMENU handle) {
    Menu* menu = Find(handle);
    if (!menu) SetLastError(ERROR_INVALID_MENU_HANDLE);
    return menu;
}

HMENU NewMenu() {
    uintptr_t value = g_nextMenu;
    g_nextMenu += 4;
    g_menus.emplace(value, Menu{});
    return reinterpret_cast<HMENU>(value);
}

void Destroy(HMENU handle, int depth = 0) {
    Menu* menu = Find(handle);
    if (!menu || depth > 32) return;
    std::vector<Item> items = std::move(menu->items);
    g_menus.erase(reinterpret_cast<uintptr_t>(handle));
    for (const Item& item : items)
        if (item.submenu) Destroy(item.submenu, depth + 1);
}

// The item at a position, or the one with a command id (searched in the
// submenus too, as the platform does); *owner gets the menu holding it.
Item* Locate(HMENU handle, UINT which, bool byPosition, Menu** owner = nullptr, int depth = 0) {
    Menu* menu = Find(handle);
    if (!menu || depth > 32) return nullptr;
    if (byPosition) {
        if (which >= menu->items.size()) return nullptr;
        if (owner) *owner = menu;
        return &menu->items[which];
    }
    for (Item& item : menu->items) {
        if (!item.submenu && item.type != MFT_SEPARATOR && item.id == which) {
            if (owner) *owner = menu;
            return &item;
        }
    }
    for (Item& item : menu->items) {
        if (!item.submenu) continue;
        if (Item* found = Locate(item.submenu, which, false, owner, depth + 1)) return found;
    }
    return nullptr;
}

Item FromFlags(UINT flags, UINT_PTR idOrMenu, LPCWSTR text) {
    Item item;
    if (flags & MF_SEPARATOR)
        item.type = MFT_SEPARATOR;
    else if (flags & MF_BITMAP)
        item.type = MFT_BITMAP;
    else if (flags & MF_OWNERDRAW)
        item.type = MFT_OWNERDRAW;
    else if (text)
        item.text = text;
    if (flags & (MF_GRAYED | MF_DISABLED)) item.state |= MFS_GRAYED;
    if (flags & MF_CHECKED) item.state |= MFS_CHECKED;
    if (flags & MF_DEFAULT) item.state |= MFS_DEFAULT;
    item.type |= flags & (MF_MENUBREAK | MF_MENUBARBREAK);
    if (flags & MF_POPUP) item.submenu = reinterpret_cast<HMENU>(idOrMenu);
    item.id = static_cast<UINT>(idOrMenu);
    return item;
}

// --- Reading RT_MENU ----------------------------------------------------------

class Reader {
public:
    Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}
    bool Word(WORD* value) { return Read(value, 2); }
    bool Dword(DWORD* value) { return Read(value, 4); }
    bool Text(std::u16string* text) {
        text->clear();
        for (;;) {
            WORD c;
            if (!Word(&c)) return false;
            if (!c) return true;
            *text += static_cast<WCHAR>(c);
        }
    }
    void AlignDword() { at_ = (at_ + 3) & ~size_t(3); }
    bool Skip(size_t bytes) {
        if (bytes > size_ - at_) return false;
        at_ += bytes;
        return true;
    }

private:
    bool Read(void* value, size_t bytes) {
        if (bytes > size_ - at_) return false;
        std::memcpy(value, data_ + at_, bytes);
        at_ += bytes;
        return true;
    }
    const BYTE* data_;
    size_t size_;
    size_t at_ = 0;
};

const int kMaxDepth = 16;

// Items of the classic template until the one marked MF_END.
bool ReadItems(Reader& in, HMENU menu, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        WORD flags;
        if (!in.Word(&flags)) return false;
        Item item;
        if (flags & MF_POPUP) {
            if (!in.Text(&item.text)) return false;
            item.submenu = NewMenu();
            Find(menu)->items.push_back(item);  // owned from here on, freed with the menu
            if (!ReadItems(in, item.submenu, depth + 1)) return false;
        } else {
            WORD id;
            if (!in.Word(&id) || !in.Text(&item.text)) return false;
            item.id = id;
            // MENUITEM SEPARATOR is written as an item with no flags, id or text.
            if ((flags & MF_SEPARATOR) || (flags == 0 && id == 0 && item.text.empty())) {
                item.type = MFT_SEPARATOR;
                item.text.clear();
            }
            Find(menu)->items.push_back(item);
        }
        Item& added = Find(menu)->items.back();
        if (flags & (MF_GRAYED | MF_DISABLED)) added.state |= MFS_GRAYED;
        if (flags & MF_CHECKED) added.state |= MFS_CHECKED;
        added.type |= flags & (MF_MENUBREAK | MF_MENUBARBREAK);
        if (flags & MF_END) return true;
    }
}

// Items of the extended template until the one marked last (0x80).
bool ReadItemsEx(Reader& in, HMENU menu, int depth) {
    if (depth > kMaxDepth) return false;
    for (;;) {
        DWORD type, state, id;
        WORD info;
        Item item;
        if (!in.Dword(&type) || !in.Dword(&state) || !in.Dword(&id) || !in.Word(&info) || !in.Text(&item.text))
            return false;
        in.AlignDword();
        item.type = type;
        item.state = state;
        item.id = id;
        if (type & MFT_SEPARATOR) item.text.clear();
        if (info & 0x01) {
            DWORD helpId;
            if (!in.Dword(&helpId)) return false;
            item.submenu = NewMenu();
            Find(menu)->items.push_back(item);
            if (!ReadItemsEx(in, item.submenu, depth + 1)) return false;
        } else {
            Find(menu)->items.push_back(item);
        }
        if (info & 0x80) return true;
    }
}

}  // namespace

extern "C" HMENU WINAPI CreateMenu(void) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    return NewMenu();
}

extern "C" HMENU WINAPI CreatePopupMenu(void) { return CreateMenu(); }

extern "C" HMENU WINAPI LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName) {
    const resources::Entry* entry = resources::FindIn(hInstance, RT_MENU, lpMenuName);
    if (!entry) return nullptr;
    Reader in(entry->data, entry->size);
    WORD version, offset;
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    HMENU menu = NewMenu();
    bool ok = in.Word(&version) && in.Word(&offset);
    if (ok && version == 0)
        ok = in.Skip(offset) && ReadItems(in, menu, 0);
    else if (ok && version == 1)
        ok = offset >= 4 && in.Skip(offset) && ReadItemsEx(in, menu, 0);
    else
        ok = false;
    if (!ok) {
        Destroy(menu);
        SetLastError(ERROR_INVALID_DATA);
        return nullptr;
    }
    return menu;
}

extern "C" BOOL WINAPI DestroyMenu(HMENU hMenu) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    if (!FindOrFail(hMenu)) return FALSE;
    Destroy(hMenu);
    return TRUE;
}

extern "C" BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    Menu* menu = FindOrFail(hMenu);
    if (!menu) return FALSE;
    if ((uFlags & MF_POPUP) && !Find(reinterpret_cast<HMENU>(uIDNewItem))) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    Item item = FromFlags(uFlags, uIDNewItem, lpNewItem);
    size_t at = menu->items.size();
    if (uFlags & MF_BYPOSITION) {
        if (uPosition < at) at = uPosition;
    } else if (uPosition != 0xFFFFFFFF) {
        Menu* owner = nullptr;
        Item* before = Locate(hMenu, uPosition, false, &owner);
        if (!before) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
        owner->items.insert(owner->items.begin() + (before - owner->items.data()), item);
        return TRUE;
    }
    menu->items.insert(menu->items.begin() + static_cast<std::ptrdiff_t>(at), item);
    return TRUE;
}

extern "C" BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem) {
    return InsertMenuW(hMenu, 0xFFFFFFFF, uFlags | MF_BYPOSITION, uIDNewItem, lpNewItem);
}

namespace {

BOOL Take(HMENU hMenu, UINT uPosition, UINT uFlags, bool destroy) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    if (!FindOrFail(hMenu)) return FALSE;
    Menu* owner = nullptr;
    Item* item = Locate(hMenu, uPosition, (uFlags & MF_BYPOSITION) != 0, &owner);
    if (!item) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMENU submenu = item->submenu;
    owner->items.erase(owner->items.begin() + (item - owner->items.data()));
    if (destroy && submenu) Destroy(submenu);
    return TRUE;
}

}  // namespace

extern "C" BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    return Take(hMenu, uPosition, uFlags, false);
}

extern "C" BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags) {
    return Take(hMenu, uPosition, uFlags, true);
}

extern "C" int WINAPI GetMenuItemCount(HMENU hMenu) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    Menu* menu = FindOrFail(hMenu);
    return menu ? static_cast<int>(menu->items.size()) : -1;
}

extern "C" UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    Item* item = nPos < 0 ? nullptr : Locate(hMenu, static_cast<UINT>(nPos), true);
    if (!item || item->submenu) return 0xFFFFFFFF;
    return item->type == MFT_SEPARATOR ? 0 : item->id;
}

extern "C" HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    Item* item = nPos < 0 ? nullptr : Locate(hMenu, static_cast<UINT>(nPos), true);
    return item ? item->submenu : nullptr;
}

extern "C" BOOL WINAPI GetMenuItemInfoW(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOW lpmii) {
    if (!lpmii || lpmii->cbSize < sizeof(MENUITEMINFOW)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    if (!FindOrFail(hMenu)) return FALSE;
    Item* item = Locate(hMenu, uItem, fByPosition != FALSE);
    if (!item) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    UINT mask = lpmii->fMask;
    if (mask & MIIM_ID) lpmii->wID = item->id;
    if (mask & MIIM_SUBMENU) lpmii->hSubMenu = item->submenu;
    if (mask & MIIM_STATE) lpmii->fState = item->state;
    if (mask & MIIM_DATA) lpmii->dwItemData = item->data;
    if (mask & MIIM_CHECKMARKS) lpmii->hbmpChecked = lpmii->hbmpUnchecked = nullptr;
    if (mask & MIIM_TYPE) lpmii->fType = item->type;
    if (mask & (MIIM_TYPE | MIIM_STRING)) {
        bool text = (item->type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) == 0;
        UINT length = text ? static_cast<UINT>(item->text.size()) : 0;
        if (lpmii->dwTypeData && lpmii->cch > 0 && text) {
            UINT copied = length < lpmii->cch ? length : lpmii->cch - 1;
            std::memcpy(lpmii->dwTypeData, item->text.data(), copied * sizeof(WCHAR));
            lpmii->dwTypeData[copied] = 0;
            lpmii->cch = copied;
        } else {
            lpmii->cch = length;
        }
    }
    return TRUE;
}

extern "C" UINT WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    Item* item = Locate(hMenu, uIDEnableItem, (uEnable & MF_BYPOSITION) != 0);
    if (!item) return 0xFFFFFFFF;
    UINT previous = item->state & MFS_GRAYED;
    item->state = (item->state & ~MFS_GRAYED) | (uEnable & (MF_GRAYED | MF_DISABLED));
    return previous;
}

extern "C" DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck) {
    std::lock_guard<std::recursive_mutex> lock(g_lock);
    Item* item = Locate(hMenu, uIDCheckItem, (uCheck & MF_BYPOSITION) != 0);
    if (!item) return 0xFFFFFFFF;
    DWORD previous = item->state & MFS_CHECKED;
    item->state = (item->state & ~MFS_CHECKED) | (uCheck & MF_CHECKED);
    return previous;
}
