#include "WString.h"

#include <TempDevice.h>
#include <coredll_host.h>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

std::u16string Of(const WString& s) { return s.Text() ? std::u16string(s.Text(), s.Length()) : std::u16string(); }

TEST(WString, EmptyAndNullTextsAreEqualButDifferInTheirBuffers) {
    WString made;
    WString fromNull = WString::FromText(nullptr);
    WString fromEmpty = WString::FromText(TEXT(""));
    EXPECT_EQ(made.Length(), 0);
    EXPECT_EQ(made.Text(), nullptr);
    EXPECT_EQ(fromNull.Text(), nullptr);
    ASSERT_NE(fromEmpty.Text(), nullptr);
    EXPECT_EQ(fromEmpty.Text()[0], 0);
    EXPECT_TRUE(fromNull.Equals(fromEmpty));
    EXPECT_TRUE(made.Equals(fromEmpty));
}

TEST(WString, EqualsComparesLengthAndEveryCharacter) {
    EXPECT_FALSE(WString::FromText(TEXT("abc")).Equals(WString::FromText(TEXT("abd"))));
    EXPECT_FALSE(WString::FromText(TEXT("ab")).Equals(WString::FromText(TEXT("abc"))));
    EXPECT_FALSE(WString::FromText(TEXT("Abc")).Equals(WString::FromText(TEXT("abc"))));
    EXPECT_TRUE(WString::FromText(TEXT("Привет")).Equals(WString::FromText(TEXT("Привет"))));
}

TEST(WString, CopiesShareOneBodyAndSeeEachOthersWrites) {
    WString a = WString::FromText(TEXT("Delivered to @s!"));
    WString b(a);
    WString c;
    c = b;
    *a.CharAt(13) = u'%';
    EXPECT_EQ(Of(b), u"Delivered to %s!");
    EXPECT_EQ(Of(c), u"Delivered to %s!");
    EXPECT_EQ(b.Text(), a.Text());

    // GetBuffer on one handle replaces the text for all of them.
    LPWSTR buffer = c.GetBuffer(40);
    wcscpy(buffer, TEXT("new"));
    EXPECT_EQ(a.Length(), 40);  // until SyncLength
    EXPECT_EQ(b.SyncLength(), 3);
    EXPECT_EQ(Of(a), u"new");
}

TEST(WString, AssignToSelfKeepsTextAndCount) {
    WString a = WString::FromText(TEXT("same"));
    LPCWSTR before = a.Text();
    a.Assign(a);
    a = a;
    EXPECT_EQ(a.Text(), before);
    EXPECT_EQ(Of(a), u"same");
    {
        WString extra(a);  // one more owner; if self-assignment had lost a count, this would free the body
    }
    EXPECT_EQ(Of(a), u"same");
}

TEST(WString, GetBufferKeepsALongerTextAndSyncLengthStaysInsideTheBuffer) {
    WString s;
    LPWSTR buffer = s.GetBuffer(3);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(s.Length(), 3);
    buffer[0] = u'x';
    buffer[1] = 0;
    EXPECT_EQ(s.SyncLength(), 1);
    EXPECT_EQ(s.GetBuffer(1), buffer);  // long enough: same buffer, length not lowered
    EXPECT_EQ(s.Length(), 1);

    // A caller that forgets the NUL does not make SyncLength read past the buffer.
    buffer = s.GetBuffer(4);
    for (int i = 0; i <= 4; ++i) buffer[i] = u'y';
    EXPECT_EQ(s.SyncLength(), 4);
    EXPECT_EQ(Of(s), u"yyyy");
}

TEST(WString, FindAndReverseFindStayInBounds) {
    WString s = WString::FromText(TEXT("axbx"));
    EXPECT_EQ(s.ReverseFind(u'x', -1), 3);
    EXPECT_EQ(s.ReverseFind(u'x', 2), 1);
    EXPECT_EQ(s.ReverseFind(u'x', 0), -1);
    EXPECT_EQ(s.ReverseFind(u'x', -2), -1);
    EXPECT_EQ(s.ReverseFind(u'x', 100), 3);
    EXPECT_EQ(s.Find(u'x', 0), 1);
    EXPECT_EQ(s.Find(u'x', 2), 3);
    EXPECT_EQ(s.Find(u'x', 4), -1);  // start equal to the length
    EXPECT_EQ(s.Find(u'x', -7), 1);
    EXPECT_EQ(WString().Find(u'x', 0), -1);
    EXPECT_EQ(WString().ReverseFind(u'x', -1), -1);
}

TEST(WString, MidTakesARangeAndClampsOutOfRangeArguments) {
    WString s = WString::FromText(TEXT("012345"));
    EXPECT_EQ(Of(s.Mid(2, -1)), u"2345");
    EXPECT_EQ(Of(s.Mid(2, 2)), u"23");
    EXPECT_EQ(s.Mid(6, -1).Length(), 0);
    EXPECT_EQ(s.Mid(3, 0).Length(), 0);
    EXPECT_EQ(s.Mid(3, -5).Length(), 0);
    EXPECT_EQ(Of(s.Mid(4, 100)), u"45");
    EXPECT_EQ(s.Mid(9, 2).Length(), 0);
    WString part = s.Mid(1, 3);
    *s.CharAt(1) = u'X';  // a new body: not shared with the source
    EXPECT_EQ(Of(part), u"123");
}

TEST(WString, AllocationFailureGivesAnEmptyStringEverywhere) {
    testing_support::TempDevice device;
    host::FailCall("LocalAlloc", 1, ERROR_NOT_ENOUGH_MEMORY);
    WString failed = WString::FromText(TEXT("lost"));
    EXPECT_EQ(failed.Length(), 0);
    EXPECT_EQ(failed.Text(), nullptr);
    EXPECT_EQ(failed.GetBuffer(5), nullptr);
    EXPECT_EQ(failed.Find(u'l', 0), -1);
    EXPECT_EQ(failed.Mid(0, 2).Length(), 0);
    WString copy(failed);
    copy = WString::FromText(TEXT("ok"));
    EXPECT_EQ(Of(copy), u"ok");
    EXPECT_TRUE(failed.Equals(WString()));

    // Whichever of a copy's allocations fails, the string is the whole text
    // or a valid empty one.
    for (int nth = 1; nth <= 3; ++nth) {
        host::FailCall("LocalAlloc", nth, ERROR_NOT_ENOUGH_MEMORY);
        WString partial = WString::FromText(TEXT("text"));
        host::ClearFaults();
        if (partial.Length() == 0)
            EXPECT_EQ(partial.Text(), nullptr) << nth;
        else
            EXPECT_EQ(Of(partial), u"text") << nth;
        WString again(partial);
        EXPECT_TRUE(again.Equals(partial)) << nth;
    }

    // A size that would overflow fails without allocating.
    WString huge;
    EXPECT_EQ(huge.GetBuffer(0x7FFFFFFF), nullptr);
    EXPECT_EQ(huge.Length(), 0);
}

TEST(WString, SharedBodiesCanBeCopiedAndDroppedOnManyThreads) {
    WString shared = WString::FromText(TEXT("shared between threads"));
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([shared] {
            for (int i = 0; i < 20000; ++i) {
                WString copy(shared);
                WString other;
                other = copy;
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(Of(shared), u"shared between threads");
}

}  // namespace
