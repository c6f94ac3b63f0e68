// The host's access to the SMS store (cemapi_host.h).
#include <cemapi_host.h>

#include "MessagingApp.h"
#include "MsgStore.h"

#include <algorithm>
#include <new>

namespace host {

using namespace cemapi;

namespace {

RowId FolderRow(MessageFolder folder) {
    switch (folder) {
        case MessageFolder::Inbox:
            return kInbox;
        case MessageFolder::Outbox:
            return kOutbox;
        case MessageFolder::SentItems:
            return kSentItems;
        case MessageFolder::Drafts:
            return kDrafts;
        case MessageFolder::DeletedItems:
            return kDeletedItems;
    }
    return kInbox;
}

uint64_t Ticks(const FILETIME& time) { return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime; }

FILETIME Now() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    FILETIME time{};
    SystemTimeToFileTime(&now, &time);
    return time;
}

std::shared_ptr<StoreDb> Store() {
    HRESULT hr = S_OK;
    return StoreDb::Current(&hr);
}

bool MessageOf(StoreDb& db, const EntryId& entry, MessageData* message) {
    ObjectRef ref;
    if (ParseEntryId(db.uid(), static_cast<ULONG>(entry.size()), reinterpret_cast<const ENTRYID*>(entry.data()),
                     &ref) != ParseResult::Ok ||
        ref.kind != MAPI_MESSAGE)
        return false;
    std::optional<MessageData> data = db.Message(ref.row);
    if (!data) return false;
    *message = std::move(*data);
    return true;
}

StoredMessage ToStored(StoreDb& db, const MessageData& data) {
    StoredMessage stored;
    stored.entry = db.EntryId(MAPI_MESSAGE, data.id);
    auto text = [&](ULONG tag) {
        const Prop* prop = FindProp(data.props, PROP_ID(tag));
        return prop && PROP_TYPE(prop->tag) == PT_UNICODE ? TextOf(*prop) : std::u16string();
    };
    stored.messageClass = text(PR_MESSAGE_CLASS);
    stored.subject = text(PR_SUBJECT);
    stored.senderAddress = text(PR_SENDER_EMAIL_ADDRESS);
    stored.senderName = text(PR_SENDER_NAME);
    if (const Prop* flags = FindProp(data.props, PROP_ID(PR_MESSAGE_FLAGS)))
        stored.read = (flags->number & MSGFLAG_READ) != 0;
    const Prop* time = FindProp(data.props, PROP_ID(PR_MESSAGE_DELIVERY_TIME));
    if (time && PROP_TYPE(time->tag) == PT_SYSTIME) stored.deliveryTime = TimeOf(*time);
    return stored;
}

}  // namespace

bool CreateMessageStore(std::string* error) {
    HRESULT hr = S_OK;
    // Opening the store makes the folders of a device that has none.
    if (StoreDb::Current(&hr)) return true;
    if (error) *error = "cannot make the message store of the device (error " + std::to_string(hr) + ")";
    return false;
}

IMsgStore* OpenMessageStore() {
    std::shared_ptr<StoreDb> db = Store();
    return db ? new (std::nothrow) MsgStore(db) : nullptr;
}

namespace {

EntryId StoreNew(MessageFolder folder, const StoredMessage& message, bool listed) {
    std::shared_ptr<StoreDb> db = Store();
    if (!db) return {};
    const FILETIME delivered = Ticks(message.deliveryTime) ? message.deliveryTime : Now();
    // The whole message in one step, as the phone's SMS transport stores
    // it: one fnevObjectCreated, with every property already there.
    const std::vector<Prop> props = {
        StringProp(PR_MESSAGE_CLASS, message.messageClass),          StringProp(PR_SUBJECT, message.subject),
        StringProp(PR_SENDER_EMAIL_ADDRESS, message.senderAddress),  StringProp(PR_SENDER_NAME, message.senderName),
        LongProp(PR_MESSAGE_FLAGS, message.read ? MSGFLAG_READ : 0), TimeProp(PR_MESSAGE_DELIVERY_TIME, delivered),
    };
    RowId row = 0;
    if (FAILED(db->CreateMessage(FolderRow(folder), props, &row, listed))) return {};
    return db->EntryId(MAPI_MESSAGE, row);
}

StoredMessage Incoming(const std::u16string& messageClass, const std::u16string& subject,
                       const std::u16string& senderAddress, const std::u16string& senderName) {
    StoredMessage message;
    message.messageClass = messageClass;
    message.subject = subject;
    message.senderAddress = senderAddress;
    message.senderName = senderName;
    return message;
}

}  // namespace

EntryId StoreMessage(MessageFolder folder, const StoredMessage& message) { return StoreNew(folder, message, true); }

EntryId StoreIncomingMessage(MessageFolder folder, const std::u16string& messageClass, const std::u16string& subject,
                             const std::u16string& senderAddress, const std::u16string& senderName) {
    return StoreNew(folder, Incoming(messageClass, subject, senderAddress, senderName), true);
}

EntryId StoreArrivingMessage(MessageFolder folder, const std::u16string& messageClass, const std::u16string& subject,
                             const std::u16string& senderAddress, const std::u16string& senderName) {
    return StoreNew(folder, Incoming(messageClass, subject, senderAddress, senderName), false);
}

bool ListArrivedMessage(const EntryId& entry) {
    std::shared_ptr<StoreDb> db = Store();
    MessageData message;
    if (!db || !MessageOf(*db, entry, &message)) return false;
    return SUCCEEDED(db->List(message.id));
}

EntryId FolderEntryId(MessageFolder folder) {
    std::shared_ptr<StoreDb> db = Store();
    return db ? db->EntryId(MAPI_FOLDER, FolderRow(folder)) : EntryId();
}

bool ListHeldBackMessages() {
    std::shared_ptr<StoreDb> db = Store();
    return db && SUCCEEDED(db->ListHeldBack());
}

std::vector<StoredMessage> ListMessages(MessageFolder folder) {
    std::vector<StoredMessage> messages;
    std::shared_ptr<StoreDb> db = Store();
    if (!db) return messages;
    // Only what a listing shows is read.
    static const std::vector<ULONG> kListed = {PROP_ID(PR_MESSAGE_CLASS),         PROP_ID(PR_SUBJECT),
                                               PROP_ID(PR_SENDER_EMAIL_ADDRESS), PROP_ID(PR_SENDER_NAME),
                                               PROP_ID(PR_MESSAGE_FLAGS),        PROP_ID(PR_MESSAGE_DELIVERY_TIME)};
    if (std::optional<FolderInfo> info = db->Folder(FolderRow(folder)))
        messages.reserve(static_cast<size_t>(std::max<LONG>(info->count, 0)));
    if (!db->NewestFirst(FolderRow(folder), kListed,
                         [&](MessageData& row) { messages.push_back(ToStored(*db, row)); }))
        messages.clear();
    return messages;
}

bool GetFolderCounts(MessageFolder folder, FolderCounts* counts) {
    std::shared_ptr<StoreDb> db = Store();
    std::optional<FolderInfo> info = db ? db->Folder(FolderRow(folder)) : std::nullopt;
    if (!info) return false;
    *counts = FolderCounts{info->count, info->unread};
    return true;
}

EntryId NthNewestMessage(MessageFolder folder, LONG n) {
    std::shared_ptr<StoreDb> db = Store();
    if (!db || n < 1) return {};
    std::optional<RowId> row = db->NthNewest(FolderRow(folder), n);
    return row ? db->EntryId(MAPI_MESSAGE, *row) : EntryId();
}

bool SetMessageRead(const EntryId& entry, bool read) {
    std::shared_ptr<StoreDb> db = Store();
    MessageData message;
    if (!db || !MessageOf(*db, entry, &message)) return false;
    const Prop* old = FindProp(message.props, PROP_ID(PR_MESSAGE_FLAGS));
    ULONG flags = old ? static_cast<ULONG>(old->number) : 0;
    flags = read ? (flags | MSGFLAG_READ) : (flags & ~MSGFLAG_READ);
    return SUCCEEDED(db->SetProps(message.id, {LongProp(PR_MESSAGE_FLAGS, static_cast<LONG>(flags))}, {}));
}

bool DeleteMessage(const EntryId& entry) {
    std::shared_ptr<StoreDb> db = Store();
    MessageData message;
    if (!db || !MessageOf(*db, entry, &message)) return false;
    // Deleting from Deleted Items deletes for good.
    if (message.folder == kDeletedItems) return SUCCEEDED(db->Delete({message.id}, kDeletedItems));
    return SUCCEEDED(db->Transfer({message.id}, message.folder, kDeletedItems, true));
}

void StopMessageStore() {
    cemapi::CloseAppWindows();
    StoreDb::StopAllNotifications();
}

}  // namespace host
