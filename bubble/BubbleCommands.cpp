// What the user does with a shown bubble: the six commands (soft keys,
// digits 1 to 6), the help box on 0, the links and keys that come from the
// HTML view, and the Down key. Every command ends with the dismissal.
#include "BubbleWindow.h"

#include "MessageStoreOps.h"
#include "resource.h"

#include <htmlctrl.h>

namespace {

const WCHAR kHelpText[] = TEXT(
    "Keyboard shortcuts:\n1 - Save As Read\n2 - Reply\n3 - Delete\n4 - Dismiss\n5 - Call sender\n6 - View\n");
const WCHAR kHelpCaption[] = TEXT("Lumenrest Help");
const WCHAR kAccount[] = TEXT("SMS");
const WCHAR kTextClass[] = TEXT("IPM.SMStext");
const WCHAR kTelPrefix[] = TEXT("tel:");

typedef LONG(WINAPI* MakeCallProc)(LPCWSTR number, LPCWSTR application, LPCWSTR calledParty, LPCWSTR comment);

// The commands of the digits 1 to 6.
const UINT kDigitCommands[] = {IDM_SAVE_AS_READ, IDM_REPLY, IDM_DELETE, IDM_DISMISS, IDM_CALL, IDM_VIEW};

}  // namespace

bool BubbleWindow::ShortcutsAllowed() const {
    return count_ == 1 && item_ && item_->ordinaryMessage && currentMenuBar_ != menuBars_[MenuBarLocked];
}

void BubbleWindow::ShowHelp() { MessageBoxW(nullptr, kHelpText, kHelpCaption, MB_ICONINFORMATION); }

void BubbleWindow::Dial(const WString& number) {
    // An empty number would place no sensible call: none is placed.
    if (number.Length() == 0) return;
    HMODULE cellcore = LoadLibraryW(TEXT("cellcore.dll"));
    if (!cellcore) return;
    MakeCallProc makeCall = reinterpret_cast<MakeCallProc>(GetProcAddressW(cellcore, TEXT("tapiRequestMakeCallW")));
    if (makeCall) makeCall(number.Text(), nullptr, nullptr, nullptr);
    FreeLibrary(cellcore);
}

void BubbleWindow::CallSender() {
    if (!item_) return;
    WString number = item_->senderAddress;
    const int open = number.ReverseFind(TEXT('<'), -1);
    const int close = number.ReverseFind(TEXT('>'), -1);
    if (open >= 0) number = number.Mid(open + 1, close - open - 1);
    Dial(number);
}

LRESULT BubbleWindow::OnCommand(HWND, UINT, WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
        case IDM_DELETE:
            if (item_) MoveMessage(item_->store, item_->message, OpenDeletedItems(item_->store), TRUE);
            break;
        case IDM_DISMISS:
            break;
        case IDM_REPLY: {
            if (!item_) break;
            MarkMessageRead(item_->message);
            MAILCOMPOSEFIELDS fields = {};
            fields.cbSize = sizeof fields;
            fields.dwFlags = MCF_ACCOUNT_IS_NAME;
            fields.pszTo = item_->senderAddress.Text();
            fields.pszAccount = kAccount;
            fields.pszMsgClass = kTextClass;
            MailComposeMessage(&fields);
            break;
        }
        case IDM_SAVE_AS_READ:
            // A locked summary may hold no item: there is nothing to mark.
            if (item_) MarkMessageRead(item_->message);
            break;
        case IDM_VIEW:
            if (count_ == 1 && item_) {
                PropValueBuffer entry(GetMessageProp(item_->message, PR_ENTRYID));
                if (entry && entry->ulPropTag == PR_ENTRYID)
                    MailDisplayMessage(reinterpret_cast<LPENTRYID>(entry->Value.bin.lpb), entry->Value.bin.cb);
            } else {
                MailSwitchToAccount(kAccount, MCF_ACCOUNT_IS_NAME);
            }
            break;
        case IDM_CALL:
            CallSender();
            break;
        default:
            return 1;
    }
    DismissBubble();
    return 0;
}

LRESULT BubbleWindow::OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM) {
    if (ShortcutsAllowed()) {
        if (wParam == '0') {
            ShowHelp();
            return 0;
        }
        if (wParam >= '1' && wParam <= '6') {
            OnCommand(hwnd, WM_COMMAND, kDigitCommands[wParam - '1'], 0);
            return 0;
        }
    }
    if (wParam == VK_DOWN) {
        // The focus moves into the page, and the page gets one Down key.
        SetFocus(htmlView_);
        keybd_event(VK_DOWN, 0, KEYEVENTF_SILENT, 0);
        keybd_event(VK_DOWN, 0, KEYEVENTF_KEYUP | KEYEVENTF_SILENT, 0);
        return 1;
    }
    return 0;
}

LRESULT BubbleWindow::OnNotify(HWND hwnd, WPARAM, LPARAM lParam) {
    const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
    if (!header) return 1;
    if (header->code == NM_HOTSPOT) {
        const NM_HTMLVIEW* link = reinterpret_cast<const NM_HTMLVIEW*>(lParam);
        LPCWSTR target = link->szTarget;
        if (target && wcsstr(target, kTelPrefix) == target) {
            if (item_) MarkMessageRead(item_->message);
            Dial(WString::FromText(target + 4));
        }
        DismissBubble();
        return 1;
    }
    if (header->code == static_cast<UINT>(NM_KEYDOWN)) {
        const NMKEY* key = reinterpret_cast<const NMKEY*>(lParam);
        const UINT vk = key->nVKey & 0xFFFF;
        if (!ShortcutsAllowed()) return 0;
        if (vk == '0') {
            ShowHelp();
            return 1;
        }
        if (vk >= '1' && vk <= '6') {
            OnCommand(hwnd, WM_COMMAND, kDigitCommands[vk - '1'], 0);
            return 1;
        }
        return 0;
    }
    return 1;
}
