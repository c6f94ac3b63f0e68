// MAPI memory: buffers, their linked blocks, and row sets. Run under
// AddressSanitizer, these tests also prove that nothing leaks or is freed
// twice.
#include "MapiTestHelpers.h"

#include <coredll_host.h>

#include <cstring>

using namespace mapitest;

namespace {

TEST(MapiMemory, LinkedBlocksGoWithTheirBuffer) {
    LPVOID buffer = nullptr;
    ASSERT_EQ(S_OK, MAPIAllocateBuffer(64, &buffer));
    ASSERT_TRUE(buffer);
    std::memset(buffer, 0x11, 64);
    LPVOID previous = buffer;
    for (int i = 0; i < 50; ++i) {
        LPVOID more = nullptr;
        // Blocks may be linked to the buffer or to one of its blocks.
        ASSERT_EQ(S_OK, MAPIAllocateMore(static_cast<ULONG>(i * 7), i % 2 ? previous : buffer, &more));
        ASSERT_TRUE(more);
        std::memset(more, 0x22, i * 7);
        previous = more;
    }
    // A linked block is not freed on its own, only with the buffer.
    EXPECT_EQ(ULONG(S_OK), MAPIFreeBuffer(previous));
    EXPECT_EQ(ULONG(S_OK), MAPIFreeBuffer(buffer));
    EXPECT_EQ(ULONG(S_OK), MAPIFreeBuffer(nullptr));

    // Each buffer's blocks are its own.
    LPVOID a = nullptr, b = nullptr, linked = nullptr;
    ASSERT_EQ(S_OK, MAPIAllocateBuffer(8, &a));
    ASSERT_EQ(S_OK, MAPIAllocateBuffer(8, &b));
    ASSERT_EQ(S_OK, MAPIAllocateMore(16, a, &linked));
    MAPIFreeBuffer(b);
    std::memset(linked, 0, 16);
    MAPIFreeBuffer(a);

    EXPECT_EQ(MAPI_E_INVALID_PARAMETER, MAPIAllocateMore(8, nullptr, &linked));
    EXPECT_EQ(nullptr, linked);
}

TEST(MapiMemory, FreeProwsFreesEveryRowAndTheSet) {
    LPSRowSet rows = nullptr;
    ASSERT_EQ(S_OK, MAPIAllocateBuffer(static_cast<ULONG>(CbNewSRowSet(3)), reinterpret_cast<LPVOID*>(&rows)));
    rows->cRows = 3;
    for (ULONG i = 0; i < 3; ++i) {
        SRow& row = rows->aRow[i];
        row.cValues = 1;
        ASSERT_EQ(S_OK, MAPIAllocateBuffer(sizeof(SPropValue), reinterpret_cast<LPVOID*>(&row.lpProps)));
        row.lpProps[0].ulPropTag = PR_SUBJECT;
        ASSERT_EQ(S_OK, MAPIAllocateMore(8, row.lpProps, reinterpret_cast<LPVOID*>(&row.lpProps[0].Value.lpszW)));
    }
    FreeProws(rows);
    FreeProws(nullptr);
}

TEST(MapiMemory, AllocationFailsWhenATestSaysSo) {
    host::FailCall("MAPIAllocateBuffer", 2, MAPI_E_NOT_ENOUGH_MEMORY);
    LPVOID first = nullptr, second = reinterpret_cast<LPVOID>(1);
    EXPECT_EQ(S_OK, MAPIAllocateBuffer(4, &first));
    EXPECT_EQ(MAPI_E_NOT_ENOUGH_MEMORY, MAPIAllocateBuffer(4, &second));
    EXPECT_EQ(nullptr, second);
    host::FailCall("MAPIAllocateMore", 1, MAPI_E_NOT_ENOUGH_MEMORY);
    EXPECT_EQ(MAPI_E_NOT_ENOUGH_MEMORY, MAPIAllocateMore(4, first, &second));
    MAPIFreeBuffer(first);
    host::ClearFaults();
}

class MapiMemoryOfStore : public StoreTest {};

// A value whose string block cannot be had leaves nothing behind.
TEST_F(MapiMemoryOfStore, GetPropsFreesAllOnAFailedAllocation) {
    Bytes id = Deliver(u"text");
    Ref<IMessage> message = Open<IMessage>(id);
    // Each of the value's allocations fails in turn: the call either fails
    // whole, leaving nothing, or succeeds whole.
    int failures = 0;
    for (int nth = 1; nth <= 8; ++nth) {
        for (const char* allocator : {"MAPIAllocateBuffer", "MAPIAllocateMore"}) {
            ULONG count = 7;
            Buffer<SPropValue> values;
            host::FailCall(allocator, nth, MAPI_E_NOT_ENOUGH_MEMORY);
            HRESULT hr = message->GetProps(nullptr, 0, &count, values.out());
            host::ClearFaults();
            if (hr == MAPI_E_NOT_ENOUGH_MEMORY) {
                ++failures;
                EXPECT_EQ(nullptr, values.get()) << allocator << " " << nth;
                EXPECT_EQ(0u, count) << allocator << " " << nth;
            } else {
                EXPECT_EQ(S_OK, hr) << allocator << " " << nth;
                EXPECT_GT(count, 0u);
            }
        }
    }
    EXPECT_GT(failures, 1);
}

}  // namespace
