// The message-store operations shared by the rule and the bubble, on the
// real store.
#include "MessageStoreOps.h"

#include <TempDevice.h>
#include <cemapi_host.h>
#include <coredll_host.h>
#include <gtest/gtest.h>

#include <string>

namespace {

class StoreOps : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(host::CreateMessageStore(&error)) << error;
        store_ = host::OpenMessageStore();
        ASSERT_NE(store_, nullptr);
    }
    void TearDown() override {
        if (store_) store_->Release();
        host::StopMessageStore();
    }

    IMessage* Open(const host::EntryId& entry) {
        IUnknown* unknown = nullptr;
        EXPECT_EQ(store_->OpenEntry(static_cast<ULONG>(entry.size()),
                                    reinterpret_cast<LPENTRYID>(const_cast<BYTE*>(entry.data())), nullptr, MAPI_MODIFY,
                                    nullptr, &unknown),
                  S_OK);
        return reinterpret_cast<IMessage*>(unknown);
    }
    host::EntryId Arrive(const std::u16string& text) {
        return host::StoreIncomingMessage(host::MessageFolder::Inbox, u"IPM.SMStext", text, u"+7916", u"+7916");
    }
    // Runs f and gives the text of the CMapiException it threw ("" if none).
    template <class F>
    std::u16string ThrownText(F f) {
        try {
            f();
        } catch (CMapiException* e) {
            std::u16string text = e && e->Message().Text() ? e->Message().Text() : u"";
            delete e;
            return text;
        }
        return u"";
    }

    testing_support::TempDevice device_;
    IMsgStore* store_ = nullptr;
};

TEST_F(StoreOps, CountUnreadCountsTheReceiveFolderRowByRow) {
    EXPECT_EQ(CountUnread(store_), 0);
    host::EntryId a = Arrive(u"a"), b = Arrive(u"b"), c = Arrive(u"c");
    ASSERT_TRUE(host::SetMessageRead(a, true));
    ASSERT_TRUE(host::SetMessageRead(c, true));
    EXPECT_EQ(CountUnread(store_), 1);
    host::StoreIncomingMessage(host::MessageFolder::DeletedItems, u"IPM.SMStext", u"elsewhere", u"x", u"x");
    EXPECT_EQ(CountUnread(store_), 1);

    host::FailCall("IMsgStore::GetReceiveFolder", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { CountUnread(store_); }), u"Couldn't get ReceiveFolder");
    host::FailCall("IMsgStore::OpenEntry", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { CountUnread(store_); }), u"Couldn't open ReceiveFolder");
    host::FailCall("IMAPIFolder::GetContentsTable", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { CountUnread(store_); }), u"Couldn't get table");
    // A failing query ends the count where it stands.
    host::FailCall("IMAPITable::QueryRows", 1, E_FAIL);
    EXPECT_EQ(CountUnread(store_), 0);
}

TEST_F(StoreOps, AMissingPropertyComesBackAsAnErrorValue) {
    IMessage* message = Open(Arrive(u"text"));
    ASSERT_NE(message, nullptr);
    PropValueBuffer value(GetMessageProp(message, PROP_TAG(PT_UNICODE, 0x6001)));
    ASSERT_TRUE(value);
    EXPECT_EQ(PROP_TYPE(value->ulPropTag), PT_ERROR);
    EXPECT_EQ(StringValue(value.Get()), nullptr);

    PropValueBuffer subject(GetMessageProp(message, PR_SUBJECT_W));
    ASSERT_NE(StringValue(subject.Get()), nullptr);
    EXPECT_EQ(std::u16string(StringValue(subject.Get())), u"text");

    const ULONG tags[] = {PR_PARENT_ENTRYID, PR_ENTRYID};
    PropValueBuffer ids(GetMessageProps(message, 2, tags));
    EXPECT_EQ(ids.Get()[0].ulPropTag, PR_PARENT_ENTRYID);
    EXPECT_EQ(ids.Get()[1].ulPropTag, PR_ENTRYID);

    host::FailCall("IMessage::GetProps", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { PropValueBuffer v(GetMessageProp(message, PR_SUBJECT_W)); }),
              u"Coundn't get message property");
    host::FailCall("IMsgStore::GetProps", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { PropValueBuffer v(GetStoreProp(store_, PR_IPM_WASTEBASKET_ENTRYID)); }),
              u"Coundn't get message store property");
    message->Release();
}

TEST_F(StoreOps, MarkMessageReadSetsTheFlagAndKeepsOthers) {
    host::EntryId entry = Arrive(u"x");
    IMessage* message = Open(entry);
    MarkMessageRead(message);
    MarkMessageRead(message);  // already read: written again, no failure
    PropValueBuffer flags(GetMessageProp(message, PR_MESSAGE_FLAGS));
    EXPECT_EQ(flags->Value.ul & MSGFLAG_READ, static_cast<ULONG>(MSGFLAG_READ));
    EXPECT_EQ(CountUnread(store_), 0);

    host::FailCall("IMessage::SetProps", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { MarkMessageRead(message); }), u"Coundn't set read flag");
    message->Release();
}

TEST_F(StoreOps, MoveMessageMovesAndAlwaysGivesUpTheDestination) {
    host::EntryId entry = Arrive(u"to be deleted");
    IMessage* message = Open(entry);
    IMAPIFolder* deleted = OpenDeletedItems(store_);
    ASSERT_NE(deleted, nullptr);
    deleted->AddRef();  // our own, to watch the count
    MoveMessage(store_, message, deleted, TRUE);
    EXPECT_EQ(deleted->AddRef(), 2u);  // the operation gave up exactly one
    deleted->Release();
    EXPECT_TRUE(host::ListMessages(host::MessageFolder::Inbox).empty());
    ASSERT_EQ(host::ListMessages(host::MessageFolder::DeletedItems).size(), 1u);
    message->Release();

    // A failing move still gives up the destination, then throws.
    IMessage* second = Open(Arrive(u"stays"));
    deleted->AddRef();
    host::FailCall("IMAPIFolder::CopyMessages", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { MoveMessage(store_, second, deleted, TRUE); }), u"Couldn't move message");
    EXPECT_EQ(deleted->AddRef(), 2u);
    deleted->Release();
    EXPECT_EQ(host::ListMessages(host::MessageFolder::Inbox).size(), 1u);

    // So does a parent that cannot be opened.
    deleted->AddRef();
    host::FailCall("IMsgStore::OpenEntry", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { MoveMessage(store_, second, deleted, TRUE); }), u"Couldn't open the parent folder");
    EXPECT_EQ(deleted->AddRef(), 2u);
    deleted->Release();

    // Without the flag the caller keeps its reference.
    MoveMessage(store_, second, deleted, FALSE);
    EXPECT_EQ(deleted->Release(), 0u);
    second->Release();

    host::FailCall("IMsgStore::OpenEntry", 1, E_FAIL);
    EXPECT_EQ(ThrownText([&] { OpenDeletedItems(store_); }), u"Couldn't open delete folder");
}

}  // namespace
