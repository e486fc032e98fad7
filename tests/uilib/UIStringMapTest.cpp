#include <gtest/gtest.h>

#include <set>
#include <string>

#include "uilib/core/UIStringMap.h"

using SkinUI::CUIStringMap;

namespace {

void* D(int n)
{
    return reinterpret_cast<void*>(static_cast<intptr_t>(n) * 8);
}

// The map's hash, computed independently: characters from last to first.
unsigned int HashOf(const wchar_t* key)
{
    std::wstring k(key);
    unsigned int h = 0;
    for (auto it = k.rbegin(); it != k.rend(); ++it)
        h = h * 33u + static_cast<unsigned int>(*it);
    return h;
}

} // namespace

TEST(UIStringMapBuckets, AtLeastSixteen)
{
    EXPECT_EQ(83, CUIStringMap().BucketCount());
    EXPECT_EQ(16, CUIStringMap(5).BucketCount());
    EXPECT_EQ(100, CUIStringMap(100).BucketCount());
}

TEST(UIStringMapEntries, InsertNewSetLookup)
{
    CUIStringMap m;
    EXPECT_TRUE(m.InsertNew(L"Button", D(1)));
    EXPECT_FALSE(m.InsertNew(L"Button", D(2)));
    EXPECT_EQ(D(1), m.Lookup(L"Button"));
    EXPECT_EQ(nullptr, m.Lookup(L"button"));
    EXPECT_TRUE(m.InsertNew(L"button", D(3)));
    EXPECT_EQ(2, m.Count());

    EXPECT_EQ(D(1), m.Set(L"Button", D(4)));
    EXPECT_EQ(D(4), m.Lookup(L"Button"));
    EXPECT_EQ(nullptr, m.Set(L"Label", D(5)));
    EXPECT_EQ(3, m.Count());
    EXPECT_EQ(D(5), m.Lookup(L"Label", false));
    EXPECT_EQ(nullptr, m.Lookup(nullptr));
}

TEST(UIStringMapEntries, CollidingKeysInOneChain)
{
    CUIStringMap m(16);
    // Find three keys in bucket 0.
    std::wstring keys[3];
    int found = 0;
    for (int i = 0; found < 3 && i < 10000; ++i) {
        std::wstring k = L"k" + std::to_wstring(i);
        if (HashOf(k.c_str()) % 16 == 0)
            keys[found++] = k;
    }
    ASSERT_EQ(3, found);
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(m.InsertNew(keys[i].c_str(), D(i + 1)));

    // Newest entry heads the chain.
    EXPECT_EQ(keys[2], m.KeyAt(0));
    EXPECT_EQ(keys[1], m.KeyAt(1));
    EXPECT_EQ(keys[0], m.KeyAt(2));

    // A lookup without move-to-front keeps the order; with it, the hit leads.
    EXPECT_EQ(D(1), m.Lookup(keys[0].c_str(), false));
    EXPECT_EQ(keys[2], m.KeyAt(0));
    EXPECT_EQ(D(1), m.Lookup(keys[0].c_str()));
    EXPECT_EQ(keys[0], m.KeyAt(0));
    EXPECT_EQ(keys[2], m.KeyAt(1));
    EXPECT_EQ(keys[1], m.KeyAt(2));

    // Removing from the middle, the head and the tail keeps the chain whole.
    EXPECT_TRUE(m.Remove(keys[2].c_str()));
    EXPECT_FALSE(m.Remove(keys[2].c_str()));
    EXPECT_EQ(D(1), m.Lookup(keys[0].c_str(), false));
    EXPECT_EQ(D(2), m.Lookup(keys[1].c_str(), false));
    EXPECT_TRUE(m.Remove(keys[0].c_str()));
    EXPECT_EQ(keys[1], m.KeyAt(0));
    EXPECT_TRUE(m.Remove(keys[1].c_str()));
    EXPECT_EQ(0, m.Count());
    EXPECT_EQ(nullptr, m.KeyAt(0));
    EXPECT_TRUE(m.InsertNew(keys[1].c_str(), D(7)));
    EXPECT_EQ(D(7), m.Lookup(keys[1].c_str()));
}

TEST(UIStringMapEntries, EnumerationRunsFromLastBucket)
{
    CUIStringMap m(16);
    // Single characters hash to their code: "a" (97) in bucket 1, "o" (111) in 15.
    m.InsertNew(L"a", D(1));
    m.InsertNew(L"o", D(2));
    m.InsertNew(L"b", D(3));
    EXPECT_STREQ(L"o", m.KeyAt(0));
    EXPECT_STREQ(L"b", m.KeyAt(1));
    EXPECT_STREQ(L"a", m.KeyAt(2));
    EXPECT_EQ(nullptr, m.KeyAt(3));
    EXPECT_EQ(nullptr, m.KeyAt(-1));

    m.Remove(L"b");
    EXPECT_STREQ(L"o", m.KeyAt(0));
    EXPECT_STREQ(L"a", m.KeyAt(1));
    EXPECT_EQ(nullptr, m.KeyAt(2));
}

TEST(UIStringMapReset, ResizesTableAndDropsEntries)
{
    CUIStringMap m;
    for (int i = 0; i < 500; ++i)
        ASSERT_TRUE(m.InsertNew((L"key" + std::to_wstring(i)).c_str(), D(i + 1)));
    EXPECT_EQ(500, m.Count());
    std::set<std::wstring> seen;
    for (int i = 0; i < 500; ++i)
        seen.insert(m.KeyAt(i));
    EXPECT_EQ(500u, seen.size());
    for (int i = 0; i < 500; i += 7)
        EXPECT_EQ(D(i + 1), m.Lookup((L"key" + std::to_wstring(i)).c_str()));

    m.Reset(257);
    EXPECT_EQ(257, m.BucketCount());
    EXPECT_EQ(0, m.Count());
    EXPECT_EQ(nullptr, m.Lookup(L"key1"));
    EXPECT_TRUE(m.InsertNew(L"key1", D(1)));

    m.RemoveAll();
    EXPECT_EQ(257, m.BucketCount());
    EXPECT_EQ(0, m.Count());
}

TEST(UIStringMapReset, MapWithoutBucketsFailsSoftly)
{
    CUIStringMap m;
    m.Reset(-1);
    EXPECT_EQ(0, m.BucketCount());
    EXPECT_FALSE(m.InsertNew(L"x", D(1)));
    EXPECT_EQ(D(2), m.Set(L"x", D(2)));
    EXPECT_EQ(nullptr, m.Lookup(L"x"));
    EXPECT_FALSE(m.Remove(L"x"));
    EXPECT_EQ(0, m.Count());
    EXPECT_EQ(nullptr, m.KeyAt(0));
    m.RemoveAll();
    EXPECT_EQ(0, m.BucketCount());
}

// A walk by position resumes where the last one stopped; every change of the
// map must send the next walk back to the first bucket.
TEST(UIStringMapEnumeration, WalksStayRightAcrossChanges)
{
    const struct {
        const wchar_t* change;
        void (*apply)(CUIStringMap& m);
    } changes[] = {
        {L"nothing", [](CUIStringMap&) {}},
        {L"insert", [](CUIStringMap& m) { m.InsertNew(L"added", D(99)); }},
        {L"remove", [](CUIStringMap& m) { m.Remove(L"k7"); }},
        {L"lookup moving a colliding key", [](CUIStringMap& m) { m.Lookup(L"k1", true); }},
        {L"set", [](CUIStringMap& m) { m.Set(L"k3", D(42)); }},
        {L"remove all and refill", [](CUIStringMap& m) {
             m.RemoveAll();
             m.InsertNew(L"again", D(1));
         }},
    };
    for (const auto& c : changes) {
        // 16 buckets, 40 keys: chains of several entries.
        CUIStringMap m(16);
        for (int i = 0; i < 40; ++i) m.InsertNew((L"k" + std::to_wstring(i)).c_str(), D(i + 1));
        // Stop half-way, change the map, then walk everything again.
        for (int i = 0; i < 20; ++i) ASSERT_NE(nullptr, m.KeyAt(i));
        c.apply(m);
        std::set<std::wstring> walked;
        for (int i = 0; i < m.Count(); ++i) {
            const wchar_t* key = m.KeyAt(i);
            ASSERT_NE(nullptr, key) << c.change << " " << i;
            walked.insert(key);
            EXPECT_NE(nullptr, m.Lookup(key, false)) << c.change;
        }
        EXPECT_EQ(static_cast<size_t>(m.Count()), walked.size()) << c.change;
        EXPECT_EQ(nullptr, m.KeyAt(m.Count())) << c.change;
        // Going back to an earlier position answers the same key as before.
        const std::wstring first = m.KeyAt(0);
        m.KeyAt(m.Count() - 1);
        EXPECT_EQ(first, m.KeyAt(0)) << c.change;
    }
}
