// What the bubble shows: one held item or a count, the title, the page in
// the HTML view at the zoom its sample measures, and the menu bar by state
// and lock; and the dismissal that ends it all.
#include "BubbleWindow.h"

#include "HtmlText.h"
#include "ReadStateWatcher.h"
#include "RegistryReaders.h"

#include <htmlctrl.h>

#include <new>

namespace {

const WCHAR kSingleTemplate[] = TEXT(
    "<html><body><div style='font:%dpt Tahoma; margin-top:5px;margin-left:3px;margin-right:3px; "
    "wrap-option:emergency'>%s</div></body></html>");
const WCHAR kMessageTemplate[] = TEXT(
    "<html><body><div style='wrap-option:emergency;'> <div style='font:bold %dpt Tahoma; "
    "color:menutext;'>%s</div> <div style='font:%dpt Tahoma; margin-top:3px'>%s</div> </div></body></html>");
const WCHAR kSummaryTemplate[] = TEXT(
    "<html><body><div style='font:%dpt Tahoma; margin-top:3px; wrap-option:emergency'>You have %d new text "
    "messages</div></body></html>");
const WCHAR kSample[] = TEXT("This is Display class layout test string");

const WCHAR kTitleMessage[] = TEXT("New Text Message");
const WCHAR kTitleReport[] = TEXT("New SMS Delivery Receipt");
const WCHAR kTitleSummary[] = TEXT("New Text Messages");

// One argument of a page template: a number for %d, a text for %s.
struct PageArg {
    int number;
    const WString* text;
};

int DecimalLength(int value) {
    int length = value < 0 ? 2 : 1;
    for (unsigned v = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value); v >= 10; v /= 10)
        ++length;
    return length;
}

// The template filled with its arguments in a buffer sized to fit them, so
// that a long message is shown whole and nothing is written past the page.
// An empty page when memory runs out.
WString FillTemplate(LPCWSTR pattern, const PageArg* args) {
    LONGLONG length = 0;
    int next = 0;
    for (LPCWSTR p = pattern; *p; ++p) {
        if (p[0] == TEXT('%') && (p[1] == TEXT('d') || p[1] == TEXT('s'))) {
            const PageArg& arg = args[next++];
            length += p[1] == TEXT('d') ? DecimalLength(arg.number) : arg.text->Length();
            ++p;
        } else {
            ++length;
        }
    }
    WString page;
    if (length > 0x3FFFFFFF) return page;
    LPWSTR out = page.GetBuffer(static_cast<int>(length));
    if (!out) return WString();
    next = 0;
    for (LPCWSTR p = pattern; *p; ++p) {
        if (p[0] == TEXT('%') && (p[1] == TEXT('d') || p[1] == TEXT('s'))) {
            const PageArg& arg = args[next++];
            if (p[1] == TEXT('d')) {
                out += wsprintfW(out, TEXT("%d"), arg.number);
            } else {
                LPCWSTR text = arg.text->Text();
                for (int i = 0; text && i < arg.text->Length(); ++i) *out++ = text[i];
            }
            ++p;
        } else {
            *out++ = *p;
        }
    }
    *out = 0;
    page.SyncLength();
    return page;
}

bool DeviceLocked() { return ReadRegDwordAt(HKEY_LOCAL_MACHINE, TEXT("System\\State"), TEXT("Lock")) != 0; }

}  // namespace

void BubbleWindow::AcceptNotification(WPARAM wParam, LPARAM lParam) {
    const LONG count = static_cast<LONG>(lParam);
    IMsgStore* store;
    if (count == 1) {
        DeleteNotificationItem(item_);
        item_ = reinterpret_cast<NotificationItem*>(wParam);
        store = item_ ? item_->store : nullptr;
    } else {
        store = reinterpret_cast<IMsgStore*>(wParam);
    }
    if (!watchedStore_ && store) StartWatching(store);
    count_ = count;
    RefreshBubble();
}

void BubbleWindow::RefreshBubble() {
    if (count_ == 0 && shown_) {
        DismissBubble();
        return;
    }
    if (count_ == 1 && item_ && item_->ordinaryMessage) {
        title_ = WString::FromText(kTitleMessage);
        SetBubbleContent(item_->text, item_->senderName, FALSE);
    } else if (count_ == 1 && item_) {
        title_ = WString::FromText(kTitleReport);
        SetBubbleContent(item_->text, WString(), TRUE);
    } else {
        title_ = WString::FromText(kTitleSummary);
        SetBubbleContent(WString(), WString(), FALSE);
    }
    if (!shown_) {
        ShowBubble();
        SetFocus(hwnd_);
    }
}

void BubbleWindow::SetBubbleContent(const WString& text, const WString& heading, BOOL report) {
    WString page;
    int menu;
    if (count_ > 1) {
        const PageArg args[] = {{10, nullptr}, {static_cast<int>(count_), nullptr}};
        page = FillTemplate(kSummaryTemplate, args);
        menu = MenuBarSummary;
    } else if (report) {
        const PageArg args[] = {{10, nullptr}, {0, &text}};
        page = FillTemplate(kSingleTemplate, args);
        menu = MenuBarReport;
    } else {
        // The text arrives escaped, with the system's own links; the sender's
        // name is a stranger's text and is escaped here.
        const WString name = EscapeHtml(heading.Text());
        const PageArg args[] = {{12, nullptr}, {0, &name}, {10, nullptr}, {0, &text}};
        page = FillTemplate(kMessageTemplate, args);
        menu = MenuBarMessage;
    }
    SendMessageW(htmlView_, DTM_CLEAR, 0, 0);
    LoadHtml(page);

    // The title is also the window's text, which no caption shows, so that
    // the device's tools can read what the bubble announces.
    SetWindowTextW(hwnd_, title_.Text() ? title_.Text() : TEXT(""));
    InvalidateRect(hwnd_, &titleRect_, FALSE);
    UpdateWindow(hwnd_);

    if (DeviceLocked()) menu = MenuBarLocked;
    SelectMenuBar(menu);
}

void BubbleWindow::LoadHtml(const WString& html) {
    SendMessageW(htmlView_, DTM_ZOOMLEVEL, 0, 2);
    // The measurement sample: the single template holding a fixed text.
    const WString sampleText = WString::FromText(kSample);
    const PageArg sampleArgs[] = {{10, nullptr}, {0, &sampleText}};
    const WString sample = FillTemplate(kSingleTemplate, sampleArgs);
    SendMessageW(htmlView_, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(sample.Text() ? sample.Text() : TEXT("")));
    SendMessageW(htmlView_, DTM_ENDOFSOURCE, 0, 0);
    const LRESULT sampleHeight = SendMessageW(htmlView_, DTM_LAYOUTHEIGHT, 0, 0);
    const int zoom = sampleHeight > 25 ? 0 : 2;
    SendMessageW(htmlView_, DTM_CLEAR, 0, 0);
    SendMessageW(htmlView_, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(html.Text() ? html.Text() : TEXT("")));
    SendMessageW(htmlView_, DTM_ENDOFSOURCE, 0, 0);
    SendMessageW(htmlView_, DTM_ZOOMLEVEL, 0, zoom);
    // The view takes its first step down into the page.
    SendMessageW(htmlView_, WM_KEYDOWN, VK_DOWN, 1);
}

void BubbleWindow::SelectMenuBar(int index) {
    if (currentMenuBar_) ShowWindow(currentMenuBar_, SW_HIDE);
    currentMenuBar_ = menuBars_[index];
    ShowWindow(currentMenuBar_, SW_SHOW);
}

void BubbleWindow::HideBubble() {
    ShowWindow(hwnd_, SW_HIDE);
    if (currentMenuBar_) ShowWindow(currentMenuBar_, SW_HIDE);
    currentMenuBar_ = nullptr;
}

void BubbleWindow::DismissBubble() {
    EnterCriticalSection(&lock_);
    StopWatching();
    if (shown_) {
        shown_ = 0;
        // A helper still about to show the bubble would show it again after
        // this: it is hidden once that helper has done (OnShown).
        if (showsPending_ == 0) HideBubble();
        ReleaseKeys();
        DeleteNotificationItem(item_);
        item_ = nullptr;
        count_ = 0;
    }
    LeaveCriticalSection(&lock_);
}

void BubbleWindow::OnDismissNotice(WPARAM watch) {
    if (watch != 0 && (!watcher_ || watch != watch_)) return;
    DismissBubble();
}

void BubbleWindow::StartWatching(IMsgStore* store) {
    if (++watch_ == 0) ++watch_;
    ReadStateWatcher* watcher = new (std::nothrow) ReadStateWatcher(this, store, watch_);
    // Without a watcher the bubble is dismissed only by its own means.
    if (!watcher) return;
    watchedStore_ = store;
    store->AddRef();
    // The store's registration keeps the watcher alive; the window keeps a
    // reference of its own until it stops watching.
    store->Advise(0, nullptr, kWatchedEvents, watcher, &watchConnection_);
    watcher_ = watcher;
}

void BubbleWindow::StopWatching() {
    if (!watchedStore_) return;
    if (FAILED(watchedStore_->Unadvise(watchConnection_))) {
        // The store keeps calling the watcher: it must never act again, and
        // its code must stay loaded for as long as the store holds it.
        watcher_->Detach();
        WCHAR module[MAX_PATH];
        if (GetModuleFileNameW(instance_, module, MAX_PATH)) LoadLibraryW(module);
    }
    watchConnection_ = 0;
    watcher_->Release();
    watcher_ = nullptr;
    watchedStore_->Release();
    watchedStore_ = nullptr;
}
