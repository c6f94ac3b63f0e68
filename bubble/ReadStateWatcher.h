// The advise sink that dismisses the bubble once a message of the watched
// store was read, deleted, moved or copied. It runs on the store's
// notification thread and touches no window state: it reads the message
// through its own store reference and posts WM_BUBBLE_DISMISS.
#pragma once

#include <cemapi.h>

class BubbleWindow;

// fnevObjectDeleted | fnevObjectModified | fnevObjectMoved | fnevObjectCopied
const ULONG kWatchedEvents = 0x78;

class ReadStateWatcher : public IMAPIAdviseSink {
public:
    // Holds a reference on store; the window is not owned. The dismissals
    // carry the watch's number (wParam), so that the window can tell those of
    // an earlier watch, still queued, from the current one's; 0 dismisses
    // whatever is shown.
    ReadStateWatcher(BubbleWindow* window, IMsgStore* store, WPARAM watch = 0);
    virtual ~ReadStateWatcher();

    STDMETHODIMP QueryInterface(REFIID riid, LPVOID* ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP_(ULONG) OnNotify(ULONG cNotif, LPNOTIFICATION lpNotifications) override;

    // From now on every notice is ignored: the window stopped watching but
    // the store could not drop the registration.
    void Detach() { InterlockedExchange(&detached_, 1); }

private:
    // Whether the modification the notice names marked the message read.
    bool MarkedRead(const OBJECT_NOTIFICATION& notice);

    BubbleWindow* window_;
    IMsgStore* store_;
    LONG refs_;
    LONG detached_ = 0;
    WPARAM watch_;
};
