// Host-side access to the device's message store, for the inbox service,
// the emulator and the tests.
#pragma once

#include <cemapi.h>
#include <coredll_host.h>  // the device these calls work on

#include <string>
#include <vector>

namespace host {

typedef std::vector<BYTE> EntryId;

enum class MessageFolder { Inbox, Outbox, SentItems, Drafts, DeletedItems };

// One message as the messaging application lists it.
struct StoredMessage {
    EntryId entry;
    std::u16string messageClass;
    std::u16string subject;
    std::u16string senderAddress;
    std::u16string senderName;
    bool read = false;
    FILETIME deliveryTime = {};
};

// Makes the folders of a new device's store (phone init). Idempotent.
bool CreateMessageStore(std::string* error);

// The device's SMS store, a reference for the caller; null on failure.
IMsgStore* OpenMessageStore();

// Stores a message in a folder, as the radio stack does for an arriving
// text: the given class, subject (the text), sender address and name,
// unread, delivered now. Returns its entry identifier (empty on failure).
EntryId StoreIncomingMessage(MessageFolder folder, const std::u16string& messageClass, const std::u16string& subject,
                             const std::u16string& senderAddress, const std::u16string& senderName);

// As StoreIncomingMessage, but not yet listed in the folder's contents table
// (nor in its counts, ListMessages or NthNewestMessage): the inbox service
// holds an arriving message back while the rule clients run. It can be
// opened, changed, moved and deleted meanwhile.
EntryId StoreArrivingMessage(MessageFolder folder, const std::u16string& messageClass, const std::u16string& subject,
                             const std::u16string& senderAddress, const std::u16string& senderName);
// Lists such a message in the folder it is in now (after the last rule
// client answered); false when it is gone.
bool ListArrivedMessage(const EntryId& entry);
// Lists every message still held back (when the inbox service starts: one
// that ended in the middle of the rule clients left them so).
bool ListHeldBackMessages();

// The messages of a folder, newest first.
std::vector<StoredMessage> ListMessages(MessageFolder folder);

// A folder's PR_CONTENT_COUNT and PR_CONTENT_UNREAD; false when the store
// cannot be read.
struct FolderCounts {
    LONG count = 0;
    LONG unread = 0;
};
bool GetFolderCounts(MessageFolder folder, FolderCounts* counts);

// The nth message of a folder in the order of ListMessages (1 = the newest),
// without listing the others; empty when the folder holds fewer.
EntryId NthNewestMessage(MessageFolder folder, LONG n);

// What the messaging application does: mark read or unread, or delete
// (move to Deleted Items). Each notifies advise sinks as the store does.
bool SetMessageRead(const EntryId& entry, bool read);
bool DeleteMessage(const EntryId& entry);

// Closes the messaging application's windows and stops the store's
// notification thread (before the process ends),
// releasing the advise sinks still registered. A later Advise starts it
// again.
void StopMessageStore();

// --- For tests that need a folder in a known state ---

// Stores a message with the read state and delivery time given (a zero
// time: now). Returns its entry identifier (empty on failure).
EntryId StoreMessage(MessageFolder folder, const StoredMessage& message);

// The entry identifier of one of the folders (empty on failure).
EntryId FolderEntryId(MessageFolder folder);

}  // namespace host
