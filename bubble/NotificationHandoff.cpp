#include "NotificationHandoff.h"

#include "BubbleMessages.h"
#include "BubbleWindow.h"
#include "MessageStoreOps.h"
#include "NotificationItem.h"

void DeliverNotification(BubbleThreadState& thread, WString text, WString senderName, WString senderAddress,
                         IMsgStore* store, IMessage* message, BOOL ordinaryMessage) {
    if (!thread.window) return;
    const HWND window = thread.window->Window();
    const LONG unread = CountUnread(store);
    if (unread == 0) {
        NotificationItem* item = NewNotificationItem(text, senderName, senderAddress, store, message, ordinaryMessage);
        if (!item) return;
        SendMessageW(window, WM_BUBBLE_NOTIFY, reinterpret_cast<WPARAM>(item), 1);
    } else {
        SendMessageW(window, WM_BUBBLE_NOTIFY, reinterpret_cast<WPARAM>(store), unread + 1);
    }
}
