// The buddy of an up-down: while attached, its procedure is wrapped so that
// the keys of the up-down reach it first. With UDS_ARROWKEYS, Left and Right
// (Up and Down for a vertical one) step; with UDS_EXPANDABLE, Action opens the
// buddy full screen. The dialog manager learns of these keys through the
// buddy's WM_GETDLGCODE.
#include "UpDown.h"

#include <map>
#include <mutex>

namespace updown {

namespace {

struct Attachment {
    HWND updown = nullptr;
    WNDPROC previous = nullptr;
};

std::mutex g_lock;
std::map<HWND, Attachment> g_buddies;

bool Find(HWND buddy, Attachment* out) {
    std::lock_guard<std::mutex> lock(g_lock);
    auto it = g_buddies.find(buddy);
    if (it == g_buddies.end()) return false;
    *out = it->second;
    return true;
}

bool ClassIs(HWND hwnd, LPCWSTR name) {
    WCHAR cls[32];
    return GetClassNameW(hwnd, cls, 32) > 0 && _wcsicmp(cls, name) == 0;
}

// Which of the buddy's keys belong to the up-down.
bool TakesKey(HWND updown, WPARAM vk) {
    DWORD style = StyleOf(updown);
    if (vk == VK_RETURN) return (style & UDS_EXPANDABLE) != 0;
    if (!(style & UDS_ARROWKEYS) || (style & UDS_NOSCROLL)) return false;
    if (style & UDS_HORZ) return vk == VK_LEFT || vk == VK_RIGHT;
    return vk == VK_UP || vk == VK_DOWN;
}

LRESULT CALLBACK BuddyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Attachment a;
    if (!Find(hwnd, &a)) return DefWindowProcW(hwnd, msg, wParam, lParam);
    switch (msg) {
        case WM_GETDLGCODE: {
            LRESULT code = CallWindowProcW(a.previous, hwnd, msg, wParam, lParam);
            const MSG* key = reinterpret_cast<const MSG*>(lParam);
            if (key && key->message == WM_KEYDOWN) {
                if (TakesKey(a.updown, key->wParam)) code |= DLGC_WANTMESSAGE;
                // A spin box leaves Up and Down to the dialog.
                else if (IsListBox(hwnd) && (StyleOf(a.updown) & UDS_HORZ))
                    code &= ~static_cast<LRESULT>(DLGC_WANTARROWS | DLGC_WANTMESSAGE);
            } else if (IsListBox(hwnd) && (StyleOf(a.updown) & UDS_HORZ)) {
                code &= ~static_cast<LRESULT>(DLGC_WANTARROWS);
            }
            return code;
        }
        case WM_KEYDOWN:
            if (TakesKey(a.updown, wParam)) {
                if (wParam == VK_RETURN)
                    Expand(a.updown);
                else
                    Step(a.updown, (wParam == VK_RIGHT || wParam == VK_UP) ? 1 : -1);
                return 0;
            }
            // The spin box's Up and Down are not the list's own.
            if (IsListBox(hwnd) && (StyleOf(a.updown) & UDS_HORZ) && (wParam == VK_UP || wParam == VK_DOWN)) {
                return DefWindowProcW(hwnd, msg, wParam, lParam);
            }
            break;
        case WM_NCDESTROY: {
            DetachBuddy(hwnd);
            return CallWindowProcW(a.previous, hwnd, msg, wParam, lParam);
        }
        default:
            break;
    }
    return CallWindowProcW(a.previous, hwnd, msg, wParam, lParam);
}

}  // namespace

bool IsListBox(HWND hwnd) { return ClassIs(hwnd, u"ListBox"); }
bool IsEdit(HWND hwnd) { return ClassIs(hwnd, u"Edit"); }

// The table is a leaf lock: the window calls come after it is let go.
void AttachBuddy(HWND updown, HWND buddy) {
    WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(buddy, GWL_WNDPROC));
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = g_buddies.find(buddy);
        if (it != g_buddies.end()) {
            it->second.updown = updown;
            return;
        }
        g_buddies[buddy] = Attachment{updown, previous};
    }
    SetWindowLongPtrW(buddy, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(BuddyProc));
}

void DetachBuddy(HWND buddy) {
    Attachment a;
    {
        std::lock_guard<std::mutex> lock(g_lock);
        auto it = g_buddies.find(buddy);
        if (it == g_buddies.end()) return;
        a = it->second;
        g_buddies.erase(it);
    }
    // Only our own wrapper is taken away; a later subclass stays in charge.
    if (IsWindow(buddy) && reinterpret_cast<WNDPROC>(GetWindowLongPtrW(buddy, GWL_WNDPROC)) == BuddyProc)
        SetWindowLongPtrW(buddy, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(a.previous));
}

void Step(HWND updown, int delta) {
    HWND buddy = reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0));
    if (!buddy || !IsWindowEnabled(buddy)) return;
    if (IsListBox(buddy)) {
        int count = static_cast<int>(SendMessageW(buddy, LB_GETCOUNT, 0, 0));
        if (count <= 0) return;
        int current = static_cast<int>(SendMessageW(buddy, LB_GETCURSEL, 0, 0));
        int next = current < 0 ? 0 : current + delta;
        if (next < 0 || next >= count) {
            if (!(StyleOf(updown) & UDS_WRAP)) return;
            next = next < 0 ? count - 1 : 0;
        }
        if (next == current) return;
        SendMessageW(buddy, LB_SETCURSEL, static_cast<WPARAM>(next), 0);
        if (GetWindowLongW(buddy, GWL_STYLE) & LBS_NOTIFY) {
            SendMessageW(GetParent(buddy), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(buddy), LBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(buddy));
        }
        return;
    }
    int pos = AdvancePos(updown, delta);
    if (StyleOf(updown) & UDS_SETBUDDYINT) {
        WCHAR text[16];
        wsprintfW(text, u"%d", pos);
        SetWindowTextW(buddy, text);
    }
}

void Expand(HWND updown) {
    HWND buddy = reinterpret_cast<HWND>(SendMessageW(updown, UDM_GETBUDDY, 0, 0));
    if (!buddy || !IsWindowEnabled(buddy)) return;
    if (IsListBox(buddy))
        OpenExpandedList(buddy);
    else if (IsEdit(buddy))
        OpenTextEntry(buddy);
}

}  // namespace updown
