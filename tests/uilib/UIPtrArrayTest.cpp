#include <gtest/gtest.h>

#include "uilib/core/UIPtrArray.h"

using SkinUI::CUIPtrArray;

namespace {

void* P(int n)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(n) * 16);
}

} // namespace

TEST(UIPtrArrayGrowth, ElevenSlotsThenDoubling)
{
    CUIPtrArray a;
    EXPECT_EQ(0, a.Capacity());
    EXPECT_EQ(nullptr, a.Data());
    ASSERT_TRUE(a.Append(P(1)));
    EXPECT_EQ(11, a.Capacity());
    for (int i = 2; i <= 10; ++i)
        ASSERT_TRUE(a.Append(P(i)));
    EXPECT_EQ(11, a.Capacity());
    ASSERT_TRUE(a.Append(P(11)));
    EXPECT_EQ(22, a.Capacity());
    EXPECT_EQ(11, a.Count());
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(P(i + 1), a[i]);
}

TEST(UIPtrArrayGrowth, InitialCapacityAndResize)
{
    CUIPtrArray a(4);
    EXPECT_EQ(4, a.Capacity());
    EXPECT_TRUE(a.IsEmpty());

    ASSERT_TRUE(a.Resize(5));
    EXPECT_EQ(5, a.Count());
    EXPECT_EQ(5, a.Capacity());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(nullptr, a.At(i));
    ASSERT_TRUE(a.Append(P(9)));
    EXPECT_EQ(10, a.Capacity());
    EXPECT_EQ(P(9), a.At(5));

    a.Clear();
    EXPECT_EQ(0, a.Count());
    EXPECT_EQ(0, a.Capacity());
    EXPECT_EQ(nullptr, a.Data());
}

TEST(UIPtrArrayEdit, InsertRemoveReplaceBounds)
{
    CUIPtrArray a;
    EXPECT_FALSE(a.Insert(1, P(1)));
    EXPECT_TRUE(a.Insert(0, P(2)));
    EXPECT_TRUE(a.Insert(1, P(4)));
    EXPECT_TRUE(a.Insert(1, P(3)));
    EXPECT_TRUE(a.Insert(0, P(1)));
    EXPECT_FALSE(a.Insert(5, P(9)));
    EXPECT_FALSE(a.Insert(-1, P(9)));
    ASSERT_EQ(4, a.Count());
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(P(i + 1), a.At(i));

    EXPECT_TRUE(a.RemoveAt(1));
    EXPECT_FALSE(a.RemoveAt(3));
    EXPECT_FALSE(a.RemoveAt(-1));
    ASSERT_EQ(3, a.Count());
    EXPECT_EQ(P(1), a[0]);
    EXPECT_EQ(P(3), a[1]);
    EXPECT_EQ(P(4), a[2]);

    EXPECT_TRUE(a.Replace(2, P(7)));
    EXPECT_FALSE(a.Replace(3, P(8)));
    EXPECT_EQ(P(7), a.At(2));
    EXPECT_EQ(nullptr, a.At(3));
    EXPECT_EQ(nullptr, a.At(-1));

    EXPECT_EQ(1, a.IndexOf(P(3)));
    EXPECT_EQ(-1, a.IndexOf(P(2)));
}

TEST(UIPtrArrayCopy, CopiesAreIndependent)
{
    CUIPtrArray a;
    for (int i = 1; i <= 15; ++i)
        a.Append(P(i));
    CUIPtrArray b(a);
    EXPECT_EQ(15, b.Count());
    EXPECT_NE(a.Data(), b.Data());
    b.RemoveAt(0);
    EXPECT_EQ(P(1), a[0]);

    CUIPtrArray c;
    c.Append(P(99));
    c = a;
    EXPECT_EQ(15, c.Count());
    EXPECT_EQ(P(15), c[14]);
    c = c;
    EXPECT_EQ(15, c.Count());
}
