// The read-state watcher's rules, with notices as the store gives them: a
// message deleted, moved or copied ends the bubble, one modified ends it only
// when its flags alone changed and say read; folder notices, several changed
// tags and every notice after the first in a batch do nothing. It answers as
// an advise sink, holds its own reference on the store and, detached,
// ignores everything.
#include "BubbleTestSupport.h"

#include "BubbleMessages.h"
#include "ReadStateWatcher.h"

namespace bubble_tests {
namespace {

class Watcher : public BubbleTest {
protected:
    void SetUp() override { Start({240, 320, 96}); }

    // A notice of one object as the store writes it.
    static NOTIFICATION Notice(ULONG event, ULONG type, host::EntryId& entry, SPropTagArray* tags = nullptr) {
        NOTIFICATION n = {};
        n.ulEventType = event;
        n.info.obj.ulObjType = type;
        n.info.obj.cbEntryID = static_cast<ULONG>(entry.size());
        n.info.obj.lpEntryID = reinterpret_cast<LPENTRYID>(entry.data());
        n.info.obj.lpPropTagArray = tags;
        return n;
    }

    // Whether the notices, given to a watcher of a shown bubble, took it down.
    bool Dismisses(std::vector<NOTIFICATION> notices) {
        if (!Shown()) {
            Announce(u"watched");
            EXPECT_TRUE(Eventually([&] { return Shown(); }));
        }
        ReadStateWatcher* watcher = new ReadStateWatcher(GetBubbleThread().window, store_);
        EXPECT_EQ(watcher->OnNotify(static_cast<ULONG>(notices.size()), notices.data()), S_OK);
        watcher->Release();
        Settle();
        return !Shown();
    }
};

TEST_F(Watcher, OnlyTheFirstNoticeOfAMessageDecides) {
    host::EntryId message = Arrive(u"a message");
    host::EntryId folder = host::FolderEntryId(host::MessageFolder::Inbox);
    SizedSPropTagArray(1, flags) = {1, {PR_MESSAGE_FLAGS}};
    SizedSPropTagArray(2, flagsAndSubject) = {2, {PR_MESSAGE_FLAGS, PR_SUBJECT}};
    SizedSPropTagArray(1, subject) = {1, {PR_SUBJECT}};
    auto* justFlags = reinterpret_cast<SPropTagArray*>(&flags);

    for (ULONG event : {fnevObjectDeleted, fnevObjectMoved, fnevObjectCopied}) {
        SCOPED_TRACE(event);
        EXPECT_TRUE(Dismisses({Notice(event, MAPI_MESSAGE, message)}));
        EXPECT_FALSE(Dismisses({Notice(event, MAPI_FOLDER, folder)})) << "a folder's notice is no message's";
    }
    // Modified: unread, nothing; read, dismissed, but only when the flags
    // were all that changed.
    EXPECT_FALSE(Dismisses({Notice(fnevObjectModified, MAPI_MESSAGE, message, justFlags)}));
    ASSERT_TRUE(host::SetMessageRead(message, true));
    Settle();
    if (!Shown()) Announce(u"again");
    EXPECT_TRUE(Dismisses({Notice(fnevObjectModified, MAPI_MESSAGE, message, justFlags)}));
    EXPECT_FALSE(Dismisses(
        {Notice(fnevObjectModified, MAPI_MESSAGE, message, reinterpret_cast<SPropTagArray*>(&flagsAndSubject))}));
    EXPECT_FALSE(
        Dismisses({Notice(fnevObjectModified, MAPI_MESSAGE, message, reinterpret_cast<SPropTagArray*>(&subject))}));
    EXPECT_FALSE(Dismisses({Notice(fnevObjectModified, MAPI_MESSAGE, message)})) << "no tags listed";
    EXPECT_FALSE(Dismisses({Notice(fnevObjectModified, MAPI_FOLDER, folder, justFlags)}));

    // A batch: the first notice decides, whatever follows it.
    EXPECT_FALSE(
        Dismisses({Notice(fnevObjectModified, MAPI_FOLDER, folder), Notice(fnevObjectDeleted, MAPI_MESSAGE, message)}));
    EXPECT_TRUE(
        Dismisses({Notice(fnevObjectDeleted, MAPI_MESSAGE, message), Notice(fnevObjectModified, MAPI_FOLDER, folder)}));
    EXPECT_FALSE(Dismisses({})) << "an empty batch";
}

// A dismissal still queued from the watch of an earlier bubble (a message
// read just before the next arrived) must not take down the next bubble,
// whose message nobody has read. The bubble's watches are numbered from 1.
TEST_F(Watcher, ADismissalOfAnEarlierWatchLeavesTheNextBubbleUp) {
    auto dismiss = [&](WPARAM watch) {
        PostMessageW(Bubble(), WM_BUBBLE_DISMISS, watch, 0);
        Settle();
    };
    Announce(u"first");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    dismiss(1);
    ASSERT_FALSE(Shown()) << "the current watch's dismissal";
    Announce(u"second");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    dismiss(1);
    EXPECT_TRUE(Shown()) << "the first watch ended with the first bubble";
    dismiss(3);
    EXPECT_TRUE(Shown()) << "no watch of that number has begun";
    dismiss(2);
    EXPECT_FALSE(Shown());
    Announce(u"third");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    dismiss(0);
    EXPECT_FALSE(Shown()) << "0 dismisses whatever is shown";

    // Through the store: three messages read at once, each notice a
    // dismissal of the same watch; the bubble after them stays up.
    host::EntryId a = Announce(u"a");
    host::EntryId b = Arrive(u"b");
    ASSERT_TRUE(host::ListArrivedMessage(b));
    for (const host::EntryId& e : {a, b}) ASSERT_TRUE(host::SetMessageRead(e, true));
    ASSERT_TRUE(Eventually([&] { return !Shown(); }));
    Announce(u"unread");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    Settle();
    EXPECT_TRUE(Shown());
}

TEST_F(Watcher, AnswersAsAnAdviseSinkHoldsTheStoreAndDetachedIgnoresAll) {
    const ULONG storeBefore = References(store_);
    ReadStateWatcher* watcher = new ReadStateWatcher(GetBubbleThread().window, store_);
    EXPECT_EQ(References(store_), storeBefore + 1);

    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(watcher->QueryInterface(IID_IUnknown, &out), S_OK);
    EXPECT_EQ(out, static_cast<IMAPIAdviseSink*>(watcher));
    static_cast<IUnknown*>(out)->Release();
    const IID adviseSink = {0x0000010F, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
    EXPECT_EQ(watcher->QueryInterface(adviseSink, &out), S_OK);
    static_cast<IUnknown*>(out)->Release();
    EXPECT_EQ(watcher->QueryInterface(IID_IMessage, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(watcher->QueryInterface(IID_IUnknown, nullptr), E_INVALIDARG);
    EXPECT_EQ(References(watcher), 1u) << "every reference handed out came back";

    // Detached, even a deletion is ignored.
    Announce(u"watched");
    ASSERT_TRUE(Eventually([&] { return Shown(); }));
    host::EntryId message = Arrive(u"gone");
    NOTIFICATION deleted = Watcher::Notice(fnevObjectDeleted, MAPI_MESSAGE, message);
    watcher->Detach();
    EXPECT_EQ(watcher->OnNotify(1, &deleted), S_OK);
    Settle();
    EXPECT_TRUE(Shown());

    // The last reference lets go of the store, once.
    const ULONG storeHeld = References(store_);
    EXPECT_EQ(watcher->Release(), 0u);
    EXPECT_EQ(References(store_), storeHeld - 1);
}

}  // namespace
}  // namespace bubble_tests
