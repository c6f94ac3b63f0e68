// The soft-key menu bar: a window of class "MS_SOFTKEY_CE_1.0" owned by the
// window it serves, showing the first two items of its menu over the two
// soft keys. Internal to aygshell.
#pragma once

#include <windows.h>

#include <HandedState.h>

#include <string>
#include <vector>

namespace menubar {

extern const WCHAR kBarClass[];
extern const WCHAR kPopupClass[];

// A soft key pressed while this bar holds the keys (wParam: the key).
const UINT WM_SOFTKEY = WM_USER + 0x300;
// Fills the host::MenuBarView that lParam points at, on the bar's thread.
const UINT WM_DESCRIBEBAR = WM_USER + 0x301;

// One soft key: a command, or a popup menu of items.
struct SoftKey {
    std::u16string label;  // "&" markers removed
    UINT id = 0;
    HMENU popup = nullptr;
    bool grayed = false;
    bool present = false;
};

struct MenuBar {
    HWND bar = nullptr;
    HWND owner = nullptr;
    HMENU menu = nullptr;  // owned; destroyed with the bar
    SoftKey keys[2];
    HFONT font = nullptr;
    // SHCMBM_OVERRIDEKEY flags of VK_TSOFT1, VK_TSOFT2 and VK_TBACK.
    UINT overrides[3] = {0, 0, 0};
    // The open popup menu: its window and the menus walked into, innermost last.
    HWND popup = nullptr;
    std::vector<HMENU> levels;
    int selected = 0;
    int openKey = -1;
    // Set once SHCreateMenuBar has the window; until then a failed creation
    // leaves the state to it.
    bool adopted = false;
};

LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PopupProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

MenuBar* BarOf(HWND bar);
// The states SHCreateMenuBar hands to the bars it makes.
platform::HandedState<MenuBar>& HandedBars();
bool RegisterClasses();
int Scale(int value);
int BarHeight();
RECT BarRect();

// The keys the bars share: the soft keys and Back go to one bar at a time,
// the one whose owner is in front.
void TakeKeys(HWND bar);
void ReleaseKeys(HWND bar);
HWND ActiveBar();
void PopupKeys(HWND bar, bool take);
bool IsBar(HWND hwnd);

// What a key does on the bar it reached.
void HandleSoftKey(MenuBar& bar, UINT vk);
void HandlePopupKey(MenuBar& bar, UINT vk);

// The popup menu over a soft key.
void OpenPopup(MenuBar& bar, int key);
void ClosePopup(MenuBar& bar);
void LayoutPopup(MenuBar& bar);
// The items of the open level that can be counted and chosen (not
// separators), as positions in that menu.
std::vector<int> ChoosableItems(HMENU menu);

// The text of a menu item, "&" markers removed.
std::u16string ItemLabel(HMENU menu, int position);

}  // namespace menubar
