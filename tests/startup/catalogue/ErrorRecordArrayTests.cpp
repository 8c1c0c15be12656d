#include "startup/catalogue/ErrorRecordArray.h"

#include "sharedrt/SharedHeap.h"

#include <gtest/gtest.h>

#include <cstring>

// The packed record: 29 bytes in the 32-bit layout, 49 in the 64-bit one.
constexpr std::size_t kRecordBytes = sizeof(void*) == 4 ? 29 : 49;

TEST(ErrorRecordArray, LaysOutCountedPackedRecords)
{
    startup::ErrorRecordArray array;
    array.Assign({{70001005, "读卡器未连接", "1", "A7"}, {0, "", "0", "0"}, {-3, "第三条", "", ""}});
    rt::TErrorMsg* first = array.First();
    ASSERT_NE(first, nullptr);
    const auto* header = reinterpret_cast<const rt::CountedArrayHeader*>(first) - 1;
    EXPECT_EQ(header->RefCount, 1);
    EXPECT_EQ(header->Count, 3);
    EXPECT_TRUE(rt::SharedHeap::Owns(header));
    EXPECT_EQ(rt::SharedHeap::BlockSize(header), 8u + 3u * kRecordBytes);

    // The host reads the third record two records behind the first.
    const auto* bytes = reinterpret_cast<const unsigned char*>(first);
    std::int32_t seqNo = 0;
    std::int32_t code = 0;
    std::memcpy(&seqNo, bytes + 2 * kRecordBytes, 4);
    std::memcpy(&code, bytes + 2 * kRecordBytes + 4, 4);
    EXPECT_EQ(seqNo, 3);
    EXPECT_EQ(code, -3);
    EXPECT_EQ(first[2].Msg, "第三条");
    EXPECT_TRUE(first[2].ModuleType.Empty());
    EXPECT_EQ(first[0].SeqNo, 1);
    EXPECT_EQ(first[0].Msg, "读卡器未连接");
    EXPECT_EQ(first[0].ModuleType, "1");
    EXPECT_EQ(first[0].InsideCode, "A7");
    EXPECT_TRUE(first[0].ReservedText1.Empty());
    EXPECT_TRUE(first[0].ReservedText2.Empty());
    EXPECT_EQ(first[0].ReservedByte, 0);
    EXPECT_EQ(first[1].ModuleType, "0");
}

TEST(ErrorRecordArray, EmptyCatalogueIsANullPointerAndReassigningReleasesTheOldArray)
{
    startup::ErrorRecordArray array;
    array.Assign({{1, "一", "", ""}});
    const rt::TErrorMsg* old = array.First();
    const rt::RtString kept = old->Msg;  // a reference the host might hold
    EXPECT_EQ(kept.RefCount(), 2);
    array.Assign({});
    EXPECT_EQ(array.First(), nullptr);
    EXPECT_EQ(array.Count(), 0);
    EXPECT_FALSE(rt::SharedHeap::Owns(reinterpret_cast<const rt::CountedArrayHeader*>(old) - 1));
    EXPECT_EQ(kept.RefCount(), 1);
    EXPECT_EQ(kept, "一");
}
