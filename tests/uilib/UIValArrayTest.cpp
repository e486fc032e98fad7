#include <gtest/gtest.h>

#include <cstring>

#include "uilib/core/UIValArray.h"

using SkinUI::CUIValArray;

namespace {

struct Item {
    int id;
    double weight;
    char tag[3];
};

Item MakeItem(int id)
{
    Item item;
    memset(&item, 0, sizeof(item));
    item.id = id;
    item.weight = id * 0.5;
    item.tag[0] = static_cast<char>('a' + id % 26);
    return item;
}

const Item& ItemAt(const CUIValArray& a, int i)
{
    return *static_cast<const Item*>(a[i]);
}

} // namespace

TEST(UIValArray, StoresCopiesOfValuesAndGrows)
{
    CUIValArray a(sizeof(Item));
    for (int i = 0; i < 30; ++i) {
        Item item = MakeItem(i);
        ASSERT_TRUE(a.Append(&item));
    }
    EXPECT_EQ(30, a.Count());
    EXPECT_EQ(44, a.Capacity());
    for (int i = 0; i < 30; ++i) {
        EXPECT_EQ(i, ItemAt(a, i).id);
        EXPECT_DOUBLE_EQ(i * 0.5, ItemAt(a, i).weight);
        EXPECT_EQ('a' + i % 26, ItemAt(a, i).tag[0]);
    }
}

TEST(UIValArray, CopyResizeClear)
{
    CUIValArray a(sizeof(Item));
    Item item = MakeItem(3);
    a.Append(&item);
    CUIValArray b(a);
    static_cast<Item*>(b.At(0))->id = 99;
    EXPECT_EQ(3, ItemAt(a, 0).id);

    ASSERT_TRUE(a.Resize(3));
    EXPECT_EQ(3, a.Count());
    EXPECT_EQ(0, ItemAt(a, 2).id);
    a.Clear();
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(nullptr, a.Data());

    CUIValArray c(sizeof(int));
    c = b;
    EXPECT_EQ(static_cast<int>(sizeof(Item)), c.ElementSize());
    EXPECT_EQ(99, ItemAt(c, 0).id);
}
