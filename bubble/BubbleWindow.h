// The bubble window: a strip over the lower part of the home screen with a
// drawn title bar, an HTML view showing the message and five soft-key menu
// bars, one shown at a time. It lives on the UI thread (BubbleThread) and
// every member is that thread's.
#pragma once

#include "NotificationItem.h"
#include "WindowBase.h"

#include <cemapi.h>

class ReadStateWatcher;

// The menu bars by index.
enum BubbleMenuBar {
    MenuBarMessage = 0,    // one text message (menu 107)
    MenuBarViewFirst = 1,  // never chosen (menu 105)
    MenuBarSummary = 2,    // several messages (menu 108)
    MenuBarReport = 3,     // one delivery report (menu 106)
    MenuBarLocked = 4,     // the device is locked (menu 109)
    MenuBarCount = 5
};

#define BUBBLE_CLASS   TEXT("QUILLON_NOT_WND")
#define HOTKEY_ID_HOME 0xC000
#define HOTKEY_ID_END  0xC001

typedef BOOL(WINAPI* UnregisterFunc1Proc)(UINT modifiers, UINT vk);

class BubbleWindow : public WindowBase {
public:
    BubbleWindow(HINSTANCE instance, HWND homeWindow);
    ~BubbleWindow() override;

    LRESULT OnCreate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnDestroy(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnPaint(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommand(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnActivate(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;
    LRESULT HandleMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Creates the hidden window at the placement rule's rectangle.
    BOOL Create();

    // Content (BubbleContent.cpp).
    void AcceptNotification(WPARAM wParam, LPARAM lParam);
    void RefreshBubble();
    void SetBubbleContent(const WString& text, const WString& heading, BOOL report);
    void LoadHtml(const WString& html);
    void SelectMenuBar(int index);
    void HideBubble();
    void DismissBubble();
    // WM_BUBBLE_DISMISS: one from a watch that has ended (queued before the
    // bubble was dismissed and shown again) would take down a bubble whose
    // message nobody has read.
    void OnDismissNotice(WPARAM watch);

    // Keys and showing (BubbleKeys.cpp).
    void ShowBubble();
    void OnShown();
    void GrabKeys();
    void ReleaseKeys();
    HWND FindWindowBeneath();
    LRESULT OnHotKey(HWND hwnd, WPARAM wParam, LPARAM lParam);

    // Commands, keys and links (BubbleCommands.cpp).
    LRESULT OnKeyDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(HWND hwnd, WPARAM wParam, LPARAM lParam);

    // Placement after a rotation.
    void PlaceBubble();

private:
    // Whether the digit shortcuts and the help box may act now.
    bool ShortcutsAllowed() const;
    void ShowHelp();
    void Dial(const WString& number);
    void CallSender();
    void StartWatching(IMsgStore* store);
    void StopWatching();

    BYTE highResolution_;
    HWND menuBars_[MenuBarCount];
    HWND currentMenuBar_;
    HWND htmlView_;
    HWND homeWindow_;
    HPEN framePen2_;
    HPEN framePen3_;
    HPEN bodyPen_;
    HBRUSH bodyBrush_;
    HBRUSH captionBrush_;
    HFONT titleFont_;
    WString title_;
    LONG count_;
    RECT titleRect_;
    NotificationItem* item_;
    BYTE shown_;
    // Helpers started to show the bubble that have not yet reported back.
    LONG showsPending_;
    HMODULE coredll_;
    UnregisterFunc1Proc unregisterFunc1_;
    IMsgStore* watchedStore_;
    ULONG watchConnection_;
    ReadStateWatcher* watcher_;
    // The number of the latest watch; its watcher's dismissals carry it.
    WPARAM watch_;
    CRITICAL_SECTION lock_;
    bool lockInitialized_;
    HWND windowBeneath_;

    friend class BubbleWindowTestAccess;
};
