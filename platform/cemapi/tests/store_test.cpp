// What the phone's message store answers as a store: its folders, its
// receive folder, and OpenEntry of the identifiers it hands out.
#include "MapiTestHelpers.h"

#include <coredll_host.h>

#include <cstring>

using namespace mapitest;

namespace {

class MsgStoreTest : public StoreTest {};

TEST_F(MsgStoreTest, AnswersItsNameAndTheFiveFolders) {
    EXPECT_EQ(u"SMS", ReadText(store_.get(), PR_DISPLAY_NAME));
    EXPECT_EQ(LONG(MAPI_STORE), ReadLong(store_.get(), PR_OBJECT_TYPE));

    const struct {
        ULONG tag;
        const char16_t* name;
    } kFolders[] = {
        {PR_CE_IPM_INBOX_ENTRYID, u"Inbox"},
        {PR_IPM_OUTBOX_ENTRYID, u"Outbox"},
        {PR_IPM_SENTMAIL_ENTRYID, u"Sent Items"},
        {PR_CE_IPM_DRAFTS_ENTRYID, u"Drafts"},
        {PR_IPM_WASTEBASKET_ENTRYID, u"Deleted Items"},
    };
    for (const auto& folder : kFolders) {
        Bytes id = ReadBinary(store_.get(), folder.tag);
        ASSERT_FALSE(id.empty());
        Ref<IMAPIFolder> opened;
        ULONG type = 0;
        ASSERT_EQ(S_OK, store_->OpenEntry(Size(id), Id(id), nullptr, MAPI_MODIFY, &type, opened.unknown()));
        EXPECT_EQ(ULONG(MAPI_FOLDER), type);
        EXPECT_EQ(folder.name, ReadText(opened.get(), PR_DISPLAY_NAME));
        EXPECT_EQ(LONG(MAPI_FOLDER), ReadLong(opened.get(), PR_OBJECT_TYPE));
        EXPECT_EQ(id, ReadBinary(opened.get(), PR_ENTRYID));
        EXPECT_EQ(0, ReadLong(opened.get(), PR_CONTENT_COUNT));
    }

    // All store values at once, as GetProps with no tag array gives them.
    ULONG count = 0;
    Buffer<SPropValue> all;
    ASSERT_EQ(S_OK, store_->GetProps(nullptr, 0, &count, all.out()));
    EXPECT_GE(count, 8u);
}

TEST_F(MsgStoreTest, WastebasketOpensDeletedItemsAsTheRuleDoes) {
    Buffer<SPropValue> value;
    std::optional<SPropValue> wastebasket = ReadProp(store_.get(), PR_IPM_WASTEBASKET_ENTRYID, &value);
    ASSERT_TRUE(wastebasket);
    // No interface identifier, MAPI_MODIFY, no object type wanted.
    Ref<IUnknown> object;
    ASSERT_EQ(S_OK,
              store_->OpenEntry(wastebasket->Value.bin.cb, reinterpret_cast<LPENTRYID>(wastebasket->Value.bin.lpb),
                                nullptr, MAPI_MODIFY, nullptr, object.out()));
    Ref<IMAPIFolder> folder;
    ASSERT_EQ(S_OK, object->QueryInterface(IID_IMAPIFolder, reinterpret_cast<void**>(folder.out())));
    EXPECT_EQ(u"Deleted Items", ReadText(folder.get(), PR_DISPLAY_NAME));
    EXPECT_EQ(E_NOINTERFACE, object->QueryInterface(IID_IMessage, reinterpret_cast<void**>(folder.out())));
    EXPECT_FALSE(folder);
}

TEST_F(MsgStoreTest, ReceiveFolderIsTheInbox) {
    ULONG cb = 0;
    Buffer<ENTRYID> id;
    ASSERT_EQ(S_OK, store_->GetReceiveFolder(nullptr, 0, &cb, id.out(), nullptr));
    ASSERT_GT(cb, 0u);
    Bytes inbox = ReadBinary(store_.get(), PR_CE_IPM_INBOX_ENTRYID);
    ULONG same = FALSE;
    ASSERT_EQ(S_OK, store_->CompareEntryIDs(cb, id.get(), Size(inbox), Id(inbox), 0, &same));
    EXPECT_TRUE(same);
    Ref<IMAPIFolder> folder = Open<IMAPIFolder>(BytesOf(cb, id.get()));
    EXPECT_EQ(u"Inbox", ReadText(folder.get(), PR_DISPLAY_NAME));

    // Every class goes to the Inbox; the explicit class is the default one.
    Buffer<WCHAR> explicitClass;
    WCHAR cls[] = u"IPM.SMStext";
    ASSERT_EQ(S_OK, store_->GetReceiveFolder(cls, MAPI_UNICODE, &cb, id.out(), explicitClass.out()));
    ASSERT_TRUE(explicitClass.get());
    EXPECT_EQ(0, explicitClass[0]);
    EXPECT_EQ(inbox, BytesOf(cb, id.get()));

    host::FailCall("IMsgStore::GetReceiveFolder", 1, MAPI_E_NOT_FOUND);
    EXPECT_EQ(MAPI_E_NOT_FOUND, store_->GetReceiveFolder(nullptr, 0, &cb, id.out(), nullptr));
}

TEST_F(MsgStoreTest, OpenEntryRefusesWhatItDidNotHandOut) {
    Bytes message = Deliver(u"gone");
    Bytes inbox = FolderId(host::MessageFolder::Inbox);
    Ref<IUnknown> object;

    // A deleted message is not found; its identifier is never reused.
    Ref<IMAPIFolder> folder = Open<IMAPIFolder>(inbox);
    SBinary bin{Size(message), message.data()};
    ENTRYLIST list{1, &bin};
    ASSERT_EQ(S_OK, folder->DeleteMessages(&list, 0, nullptr, 0));
    EXPECT_EQ(MAPI_E_NOT_FOUND, store_->OpenEntry(Size(message), Id(message), nullptr, 0, nullptr, object.out()));
    EXPECT_FALSE(object);
    Bytes next = Deliver(u"next");
    EXPECT_NE(message, next);

    // Malformed identifiers and another store's are not this store's.
    Bytes shortId(message.begin(), message.begin() + 10);
    EXPECT_EQ(MAPI_E_INVALID_ENTRYID, store_->OpenEntry(Size(shortId), Id(shortId), nullptr, 0, nullptr, object.out()));
    Bytes flagged = next;
    flagged[0] = 0x80;
    EXPECT_EQ(MAPI_E_INVALID_ENTRYID, store_->OpenEntry(Size(flagged), Id(flagged), nullptr, 0, nullptr, object.out()));
    {
        testing_support::TempDevice other;
        Ref<IMsgStore> otherStore(host::OpenMessageStore());
        ASSERT_TRUE(otherStore);
        EXPECT_EQ(MAPI_E_INVALID_ENTRYID,
                  otherStore->OpenEntry(Size(inbox), Id(inbox), nullptr, 0, nullptr, object.out()));
    }
    ULONG same = TRUE;
    EXPECT_EQ(MAPI_E_INVALID_ENTRYID,
              store_->CompareEntryIDs(Size(shortId), Id(shortId), Size(next), Id(next), 0, &same));

    // An interface the object does not have.
    EXPECT_EQ(MAPI_E_INTERFACE_NOT_SUPPORTED,
              store_->OpenEntry(Size(next), Id(next), &IID_IMAPIFolder, 0, nullptr, object.out()));
    EXPECT_FALSE(object);
    ULONG type = 0;
    EXPECT_EQ(S_OK, store_->OpenEntry(Size(next), Id(next), &IID_IMessage, MAPI_BEST_ACCESS, &type, object.out()));
    EXPECT_EQ(ULONG(MAPI_MESSAGE), type);

    // No identifier opens the root folder, the parent of the five.
    Ref<IMAPIFolder> root;
    ASSERT_EQ(S_OK, store_->OpenEntry(0, nullptr, nullptr, 0, &type, root.unknown()));
    EXPECT_EQ(ULONG(MAPI_FOLDER), type);
    EXPECT_EQ(ReadBinary(root.get(), PR_ENTRYID), ReadBinary(folder.get(), PR_PARENT_ENTRYID));
}

TEST_F(MsgStoreTest, OpenEntryFailsWhenATestSaysSo) {
    Bytes message = Deliver(u"hello");
    host::FailCall("IMsgStore::OpenEntry", 2, MAPI_E_NO_ACCESS);
    Ref<IUnknown> object;
    EXPECT_EQ(S_OK, store_->OpenEntry(Size(message), Id(message), nullptr, 0, nullptr, object.out()));
    EXPECT_EQ(MAPI_E_NO_ACCESS, store_->OpenEntry(Size(message), Id(message), nullptr, 0, nullptr, object.out()));
    EXPECT_FALSE(object);
    EXPECT_EQ(S_OK, store_->OpenEntry(Size(message), Id(message), nullptr, 0, nullptr, object.out()));
    EXPECT_EQ(3, host::CallCount("IMsgStore::OpenEntry"));
}

// The store is kept on the device: another opening, another process or a
// reboot finds the same folders and messages under the same identifiers.
TEST(MsgStoreDevice, KeepsMessagesAcrossReopening) {
    testing_support::TempDevice device;
    std::string error;
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    Bytes id = host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", u"kept", u"+1", u"+1");
    Bytes inbox = host::FolderEntryId(host::MessageFolder::Inbox);

    ASSERT_TRUE(host::OpenDevice(device.folder()));  // as a new process would
    Ref<IMsgStore> store(host::OpenMessageStore());
    ASSERT_TRUE(store);
    Ref<IMessage> message;
    ASSERT_EQ(S_OK, store->OpenEntry(Size(id), Id(id), nullptr, 0, nullptr, message.unknown()));
    EXPECT_EQ(u"kept", ReadText(message.get(), PR_SUBJECT));
    EXPECT_EQ(inbox, ReadBinary(message.get(), PR_PARENT_ENTRYID));

    // Making the store again is harmless.
    ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
    ASSERT_EQ(1u, host::ListMessages(host::MessageFolder::Inbox).size());
    EXPECT_EQ(id, host::ListMessages(host::MessageFolder::Inbox)[0].entry);

    // A message deleted under an open IMessage is gone for it too.
    ASSERT_TRUE(host::DeleteMessage(id));
    ASSERT_TRUE(host::DeleteMessage(id));
    Buffer<SPropValue> values;
    ULONG count = 0;
    EXPECT_EQ(MAPI_E_OBJECT_DELETED, message->GetProps(nullptr, 0, &count, values.out()));
    EXPECT_EQ(MAPI_E_OBJECT_DELETED, SetLong(message.get(), PR_MESSAGE_FLAGS, 1));
    message.reset();
    store.reset();
    host::StopMessageStore();
}

TEST(MsgStoreDevice, NoDeviceNoStore) {
    host::CloseDevice();
    EXPECT_EQ(nullptr, host::OpenMessageStore());
    std::string error;
    EXPECT_FALSE(host::CreateMessageStore(&error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(host::ListMessages(host::MessageFolder::Inbox).empty());
    EXPECT_FALSE(host::SetMessageRead({1, 2}, true));
}

}  // namespace
