// The home screen's unread count, kept as a today-screen item keeps it: the
// Inbox's PR_CONTENT_UNREAD, read again whenever the store says a folder
// changed, so that a message read, deleted or arriving through any program
// or process shows at once.
#include "ShellWindows.h"

#include <cemapi.h>
#include <cemapi_host.h>
#include <shell_host.h>

#include <atomic>
#include <new>

namespace shell {

namespace {

// Tells the home screen that a folder changed; OnNotify runs on the store's
// notification thread, so it only posts.
class FolderSink final : public IMAPIAdviseSink {
public:
    explicit FolderSink(HWND home) : home_(home) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv) return E_INVALIDARG;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IMAPIAdviseSink) return E_NOINTERFACE;
        *ppv = static_cast<IMAPIAdviseSink*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
    STDMETHODIMP_(ULONG) Release() override {
        LONG refs = InterlockedDecrement(&refs_);
        if (refs == 0) delete this;
        return static_cast<ULONG>(refs);
    }
    STDMETHODIMP_(ULONG) OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override {
        for (ULONG i = 0; i < cNotif; ++i)
            if (lpNotifications[i].info.obj.ulObjType == MAPI_FOLDER) {
                PostMessageW(home_, WM_HOME_UNREAD, 0, 0);
                break;
            }
        return 0;
    }

private:
    ~FolderSink() = default;

    const HWND home_;
    LONG refs_ = 1;
};

// Touched on the shell's thread only.
IMsgStore* g_store = nullptr;
ULONG g_connection = 0;
// Any thread: whether the home screen hears of the store's changes, and an
// event set each time it has read the count again.
std::atomic<bool> g_watching{false};
HANDLE Reread() {
    static HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

}  // namespace

void WatchUnread(HWND home) {
    g_store = host::OpenMessageStore();
    if (!g_store) return;  // a device without a store has nothing unread
    FolderSink* sink = new (std::nothrow) FolderSink(home);
    if (!sink) return;
    if (FAILED(g_store->Advise(0, nullptr, fnevObjectModified, sink, &g_connection))) g_connection = 0;
    sink->Release();
    g_watching = g_connection != 0;
}

void StopWatchingUnread() {
    g_watching = false;
    if (!g_store) return;
    if (g_connection) g_store->Unadvise(g_connection);
    g_connection = 0;
    g_store->Release();
    g_store = nullptr;
}

int ReadUnread() {
    if (!g_store) return 0;
    ULONG size = 0;
    LPENTRYID inboxId = nullptr;
    if (FAILED(g_store->GetReceiveFolder(nullptr, 0, &size, &inboxId, nullptr))) return 0;
    IMAPIFolder* inbox = nullptr;
    HRESULT hr = g_store->OpenEntry(size, inboxId, nullptr, 0, nullptr, reinterpret_cast<LPUNKNOWN*>(&inbox));
    MAPIFreeBuffer(inboxId);
    if (FAILED(hr)) return 0;
    SizedSPropTagArray(1, tags) = {1, {PR_CONTENT_UNREAD}};
    ULONG count = 0;
    LPSPropValue values = nullptr;
    int unread = 0;
    if (SUCCEEDED(inbox->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, &values)) && count == 1 &&
        values[0].ulPropTag == PR_CONTENT_UNREAD)
        unread = values[0].Value.l;
    MAPIFreeBuffer(values);
    inbox->Release();
    return unread;
}

void UnreadShown() { SetEvent(Reread()); }

}  // namespace shell

namespace host {

bool WaitForHomeScreen(unsigned timeoutMs) {
    if (!shell::g_watching) return true;
    const DWORD start = GetTickCount();
    for (;;) {
        FolderCounts inbox;
        if (!GetFolderCounts(MessageFolder::Inbox, &inbox)) return false;
        if (shell::Unread().load() == inbox.unread) return true;
        const DWORD waited = GetTickCount() - start;
        if (waited >= timeoutMs) return false;
        // The event may be left set by an earlier read: then one more look.
        WaitForSingleObject(shell::Reread(), timeoutMs - waited);
    }
}

}  // namespace host
