#include "NotificationItem.h"

#include <new>

NotificationItem* NewNotificationItem(const WString& text, const WString& senderName, const WString& senderAddress,
                                      IMsgStore* store, IMessage* message, BOOL ordinaryMessage) {
    NotificationItem* item = new (std::nothrow) NotificationItem;
    if (!item) return nullptr;
    item->senderName = senderName;
    item->senderAddress = senderAddress;
    item->text = text;
    item->store = store;
    if (store) store->AddRef();
    item->message = message;
    if (message) message->AddRef();
    item->ordinaryMessage = ordinaryMessage ? 1 : 0;
    return item;
}

void ReleaseNotificationItem(NotificationItem* item) {
    if (!item) return;
    if (item->message) item->message->Release();
    item->message = nullptr;
    if (item->store) item->store->Release();
    item->store = nullptr;
    item->text = WString();
    item->senderAddress = WString();
    item->senderName = WString();
}

void DeleteNotificationItem(NotificationItem* item) {
    if (!item) return;
    ReleaseNotificationItem(item);
    delete item;
}
