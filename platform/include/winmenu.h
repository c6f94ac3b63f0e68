// Menus: built from RT_MENU resources or item by item, and read back.
#pragma once

#include <windef.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MF_INSERT       0x00000000
#define MF_ENABLED      0x00000000
#define MF_UNCHECKED    0x00000000
#define MF_STRING       0x00000000
#define MF_BYCOMMAND    0x00000000
#define MF_GRAYED       0x00000001
#define MF_DISABLED     0x00000002
#define MF_BITMAP       0x00000004
#define MF_CHECKED      0x00000008
#define MF_POPUP        0x00000010
#define MF_MENUBARBREAK 0x00000020
#define MF_MENUBREAK    0x00000040
#define MF_HILITE       0x00000080
#define MF_OWNERDRAW    0x00000100
#define MF_BYPOSITION   0x00000400
#define MF_SEPARATOR    0x00000800
#define MF_DEFAULT      0x00001000
#define MF_END          0x00000080

#define MFT_STRING      MF_STRING
#define MFT_BITMAP      MF_BITMAP
#define MFT_MENUBARBREAK MF_MENUBARBREAK
#define MFT_MENUBREAK   MF_MENUBREAK
#define MFT_OWNERDRAW   MF_OWNERDRAW
#define MFT_RADIOCHECK  0x00000200
#define MFT_SEPARATOR   MF_SEPARATOR
#define MFS_GRAYED      0x00000003
#define MFS_DISABLED    MFS_GRAYED
#define MFS_CHECKED     MF_CHECKED
#define MFS_HILITE      MF_HILITE
#define MFS_ENABLED     MF_ENABLED
#define MFS_UNCHECKED   MF_UNCHECKED
#define MFS_DEFAULT     MF_DEFAULT

#define MIIM_STATE      0x00000001
#define MIIM_ID         0x00000002
#define MIIM_SUBMENU    0x00000004
#define MIIM_CHECKMARKS 0x00000008
#define MIIM_TYPE       0x00000010
#define MIIM_DATA       0x00000020
#define MIIM_STRING     0x00000040

typedef struct tagMENUITEMINFOW {
    UINT cbSize;
    UINT fMask;
    UINT fType;
    UINT fState;
    UINT wID;
    HMENU hSubMenu;
    HBITMAP hbmpChecked;
    HBITMAP hbmpUnchecked;
    ULONG_PTR dwItemData;
    LPWSTR dwTypeData;
    UINT cch;
} MENUITEMINFOW, *LPMENUITEMINFOW;
typedef const MENUITEMINFOW* LPCMENUITEMINFOW;
typedef MENUITEMINFOW MENUITEMINFO;

HMENU WINAPI LoadMenuW(HINSTANCE hInstance, LPCWSTR lpMenuName);
HMENU WINAPI CreateMenu(void);
HMENU WINAPI CreatePopupMenu(void);
BOOL WINAPI DestroyMenu(HMENU hMenu);
BOOL WINAPI AppendMenuW(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL WINAPI InsertMenuW(HMENU hMenu, UINT uPosition, UINT uFlags, UINT_PTR uIDNewItem, LPCWSTR lpNewItem);
BOOL WINAPI RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL WINAPI DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
int WINAPI GetMenuItemCount(HMENU hMenu);
UINT WINAPI GetMenuItemID(HMENU hMenu, int nPos);
HMENU WINAPI GetSubMenu(HMENU hMenu, int nPos);
BOOL WINAPI GetMenuItemInfoW(HMENU hMenu, UINT uItem, BOOL fByPosition, LPMENUITEMINFOW lpmii);
BOOL WINAPI SetMenuItemInfoW(HMENU hMenu, UINT uItem, BOOL fByPosition, LPCMENUITEMINFOW lpmii);
UINT WINAPI EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
DWORD WINAPI CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);

#define LoadMenu LoadMenuW
#define AppendMenu AppendMenuW
#define InsertMenu InsertMenuW
#define GetMenuItemInfo GetMenuItemInfoW
#define SetMenuItemInfo SetMenuItemInfoW

#ifdef __cplusplus
}
#endif
