#include "NotificationHandoff.h"

void DeliverNotification(BubbleThreadState& thread, WString, WString, WString, IMsgStore*, IMessage*, BOOL) {
    // No bubble window: nothing is sent, and the strings are dropped on return.
    if (!thread.window) return;
}
