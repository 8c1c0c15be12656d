#include "sharedrt/RtError.h"
#include "sharedrt/RtPtrList.h"

#include <gtest/gtest.h>

TEST(RtPtrList, AppendsInOrderAcrossGrowth)
{
    rt::RtPtrList list;
    int values[100];
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(list.Add(&values[i]), i);
    ASSERT_EQ(list.Count(), 100);
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(list.Get(i), &values[i]);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(RtPtrList, OutOfRangeIsAnError)
{
    rt::RtPtrList list;
    list.Add(nullptr);
    EXPECT_THROW(list.Get(1), rt::Error);
    EXPECT_THROW(list.Get(-1), rt::Error);
}
