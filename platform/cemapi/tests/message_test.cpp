// What a message of the phone's store does with its properties.
#include "MapiTestHelpers.h"

#include <coredll_host.h>

#include <cstring>

using namespace mapitest;

namespace {

class MessageTest : public StoreTest {};

TEST_F(MessageTest, MissingPropertyComesBackAsAnErrorValueInItsSlot) {
    Bytes id = Deliver(u"Hello");
    Ref<IMessage> message = Open<IMessage>(id);
    const ULONG kMissing = PROP_TAG(PT_UNICODE, 0x6001);
    SizedSPropTagArray(3, tags) = {3, {PR_SUBJECT, kMissing, PR_MESSAGE_FLAGS}};
    ULONG count = 0;
    Buffer<SPropValue> values;
    ASSERT_EQ(MAPI_W_ERRORS_RETURNED,
              message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, values.out()));
    ASSERT_EQ(3u, count);
    EXPECT_EQ(PR_SUBJECT, values[0].ulPropTag);
    EXPECT_EQ(std::u16string(u"Hello"), values[0].Value.lpszW);
    EXPECT_EQ(PROP_TAG(PT_ERROR, 0x6001), values[1].ulPropTag);
    EXPECT_EQ(MAPI_E_NOT_FOUND, values[1].Value.err);
    EXPECT_EQ(PR_MESSAGE_FLAGS, values[2].ulPropTag);

    // A warning is a success: the caller frees the values as usual.
    EXPECT_TRUE(SUCCEEDED(MAPI_W_ERRORS_RETURNED));

    // A type other than the stored one is not the property.
    SizedSPropTagArray(2, typed) = {
        2, {PROP_TAG(PT_LONG, PROP_ID(PR_SUBJECT)), PROP_TAG(PT_UNSPECIFIED, PROP_ID(PR_SUBJECT))}};
    ASSERT_EQ(MAPI_W_ERRORS_RETURNED,
              message->GetProps(reinterpret_cast<LPSPropTagArray>(&typed), 0, &count, values.out()));
    EXPECT_EQ(PROP_TAG(PT_ERROR, PROP_ID(PR_SUBJECT)), values[0].ulPropTag);
    EXPECT_EQ(PR_SUBJECT, values[1].ulPropTag);

    // A test can make a value come back as an error.
    host::FailCall("SPropValue", 1, MAPI_E_CALL_FAILED);
    ASSERT_EQ(MAPI_W_ERRORS_RETURNED,
              message->GetProps(reinterpret_cast<LPSPropTagArray>(&tags), 0, &count, values.out()));
    EXPECT_EQ(PROP_TAG(PT_ERROR, PROP_ID(PR_SUBJECT)), values[0].ulPropTag);
    EXPECT_EQ(MAPI_E_CALL_FAILED, values[0].Value.err);
}

TEST_F(MessageTest, SetPropsIsStoredAtOnceWithEveryType) {
    Bytes id = Deliver(u"Old");
    Ref<IMessage> message = Open<IMessage>(id);
    const BYTE blob[] = {0, 1, 2, 0xFF};
    SPropValue props[6] = {};
    props[0].ulPropTag = PR_SUBJECT;
    props[0].Value.lpszW = const_cast<LPWSTR>(u"Новый текст");
    props[1].ulPropTag = PROP_TAG(PT_BINARY, 0x6002);
    props[1].Value.bin = {sizeof blob, const_cast<BYTE*>(blob)};
    props[2].ulPropTag = PROP_TAG(PT_BOOLEAN, 0x6003);
    props[2].Value.b = TRUE;
    props[3].ulPropTag = PR_MESSAGE_DELIVERY_TIME;
    props[3].Value.ft = Time(0x01D2000012345678ull);
    props[4].ulPropTag = PROP_TAG(PT_UNICODE, 0x6004);
    props[4].Value.lpszW = const_cast<LPWSTR>(u"");
    props[5].ulPropTag = PR_MESSAGE_FLAGS;
    props[5].Value.l = MSGFLAG_READ;
    ASSERT_EQ(S_OK, message->SetProps(6, props, nullptr));

    // No SaveChanges: another store object on the device sees it all.
    Ref<IMsgStore> other(host::OpenMessageStore());
    Ref<IMessage> again;
    ASSERT_EQ(S_OK, other->OpenEntry(Size(id), Id(id), nullptr, 0, nullptr, again.unknown()));
    EXPECT_EQ(u"Новый текст", ReadText(again.get(), PR_SUBJECT));
    EXPECT_EQ(Bytes(blob, blob + sizeof blob), ReadBinary(again.get(), PROP_TAG(PT_BINARY, 0x6002)));
    Buffer<SPropValue> value;
    ASSERT_TRUE(ReadProp(again.get(), PROP_TAG(PT_BOOLEAN, 0x6003), &value));
    EXPECT_TRUE(value[0].Value.b);
    ASSERT_TRUE(ReadProp(again.get(), PR_MESSAGE_DELIVERY_TIME, &value));
    EXPECT_EQ(0x12345678u, value[0].Value.ft.dwLowDateTime);
    EXPECT_EQ(0x01D20000u, value[0].Value.ft.dwHighDateTime);
    EXPECT_EQ(u"", ReadText(again.get(), PROP_TAG(PT_UNICODE, 0x6004)));
    EXPECT_EQ(LONG(MSGFLAG_READ), ReadLong(again.get(), PR_MESSAGE_FLAGS));
    EXPECT_EQ(S_OK, message->SaveChanges(KEEP_OPEN_READWRITE));

    // Every value the message has, computed ones included.
    ULONG count = 0;
    Buffer<SPropValue> all;
    ASSERT_EQ(S_OK, again->GetProps(nullptr, MAPI_UNICODE, &count, all.out()));
    Buffer<SPropTagArray> list;
    ASSERT_EQ(S_OK, again->GetPropList(0, list.out()));
    EXPECT_EQ(count, list->cValues);

    host::FailCall("IMessage::SetProps", 1, MAPI_E_NO_ACCESS);
    EXPECT_EQ(MAPI_E_NO_ACCESS, SetLong(message.get(), PR_MESSAGE_FLAGS, 0));
    EXPECT_EQ(LONG(MSGFLAG_READ), ReadLong(again.get(), PR_MESSAGE_FLAGS));
}

TEST_F(MessageTest, StoreKeepsItsOwnPropertiesAndReportsProblems) {
    Bytes id = Deliver(u"text");
    Ref<IMessage> message = Open<IMessage>(id);
    EXPECT_EQ(id, ReadBinary(message.get(), PR_ENTRYID));
    EXPECT_EQ(FolderId(host::MessageFolder::Inbox), ReadBinary(message.get(), PR_PARENT_ENTRYID));
    EXPECT_EQ(LONG(MAPI_MESSAGE), ReadLong(message.get(), PR_OBJECT_TYPE));

    SPropValue props[3] = {};
    props[0].ulPropTag = PR_ENTRYID;
    props[0].Value.bin = {4, const_cast<BYTE*>(reinterpret_cast<const BYTE*>("abcd"))};
    props[1].ulPropTag = PR_SENDER_NAME;
    props[1].Value.lpszW = const_cast<LPWSTR>(u"Ann");
    props[2].ulPropTag = PR_SUBJECT;
    props[2].Value.lpszW = nullptr;
    Buffer<SPropProblemArray> problems;
    ASSERT_EQ(S_OK, message->SetProps(3, props, problems.out()));
    ASSERT_TRUE(problems.get());
    ASSERT_EQ(2u, problems->cProblem);
    EXPECT_EQ(0u, problems->aProblem[0].ulIndex);
    EXPECT_EQ(MAPI_E_COMPUTED, problems->aProblem[0].scode);
    EXPECT_EQ(id, ReadBinary(message.get(), PR_ENTRYID));
    EXPECT_EQ(u"Ann", ReadText(message.get(), PR_SENDER_NAME));
    EXPECT_EQ(u"text", ReadText(message.get(), PR_SUBJECT));

    SizedSPropTagArray(2, gone) = {2, {PR_SENDER_NAME, PR_OBJECT_TYPE}};
    ASSERT_EQ(S_OK, message->DeleteProps(reinterpret_cast<LPSPropTagArray>(&gone), problems.out()));
    ASSERT_TRUE(problems.get());
    EXPECT_EQ(1u, problems->cProblem);
    EXPECT_EQ(u"<missing>", ReadText(message.get(), PR_SENDER_NAME));
    EXPECT_EQ(LONG(MAPI_MESSAGE), ReadLong(message.get(), PR_OBJECT_TYPE));

    // A message never given flags has not been read.
    Ref<IMAPIFolder> drafts = Open<IMAPIFolder>(FolderId(host::MessageFolder::Drafts));
    Ref<IMessage> fresh;
    ASSERT_EQ(S_OK, drafts->CreateMessage(nullptr, 0, fresh.out()));
    EXPECT_EQ(0, ReadLong(fresh.get(), PR_MESSAGE_FLAGS));
    EXPECT_EQ(1, ReadLong(drafts.get(), PR_CONTENT_UNREAD));
}

TEST_F(MessageTest, CreatedMessageHasItsIdentifierAtOnce) {
    Ref<IMAPIFolder> drafts = Open<IMAPIFolder>(FolderId(host::MessageFolder::Drafts));
    Ref<IMessage> message;
    EXPECT_EQ(MAPI_E_UNKNOWN_FLAGS, drafts->CreateMessage(nullptr, 0x40, message.out()));
    ASSERT_EQ(S_OK, drafts->CreateMessage(nullptr, 0, message.out()));
    Bytes id = ReadBinary(message.get(), PR_ENTRYID);
    ASSERT_FALSE(id.empty());
    ASSERT_EQ(S_OK, SetLong(message.get(), PR_MESSAGE_FLAGS, MSGFLAG_UNSENT | MSGFLAG_READ));
    EXPECT_EQ(1, ReadLong(drafts.get(), PR_CONTENT_COUNT));
    EXPECT_EQ(0, ReadLong(drafts.get(), PR_CONTENT_UNREAD));
    Ref<IMessage> opened = Open<IMessage>(id);
    EXPECT_EQ(LONG(MSGFLAG_UNSENT | MSGFLAG_READ), ReadLong(opened.get(), PR_MESSAGE_FLAGS));
}

}  // namespace
