#include <gtest/gtest.h>

#include <vector>

#include "framework/core/HashMap.h"

namespace {

std::vector<intptr_t> g_deleted;
void RecordDeletion(void* value)
{
    g_deleted.push_back(reinterpret_cast<intptr_t>(value));
}

void* V(intptr_t n)
{
    return reinterpret_cast<void*>(n);
}

TEST(HashMap, PrimalityMatchesASieve)
{
    const uint32_t limit = 200000;
    std::vector<bool> composite(limit, false);
    for (uint32_t i = 2; i * i < limit; ++i)
        if (!composite[i])
            for (uint32_t j = i * i; j < limit; j += i)
                composite[j] = true;
    for (uint32_t n = 0; n < limit; ++n)
        ASSERT_EQ(CRkHashMap::IsPrime(n), n >= 2 && !composite[n]) << n;
    // Carmichael numbers and large primes.
    EXPECT_FALSE(CRkHashMap::IsPrime(561));
    EXPECT_FALSE(CRkHashMap::IsPrime(41041));
    EXPECT_FALSE(CRkHashMap::IsPrime(3215031751u));
    EXPECT_TRUE(CRkHashMap::IsPrime(2147483647u));
    EXPECT_TRUE(CRkHashMap::IsPrime(4294967291u));
}

TEST(HashMap, BucketCountIsTheSmallestPrimeStrictlyAbove)
{
    EXPECT_EQ(CRkHashMap(257).GetBucketCount(), 263u);
    EXPECT_EQ(CRkHashMap(263).GetBucketCount(), 269u);
    EXPECT_EQ(CRkHashMap(0).GetBucketCount(), 2u);
    EXPECT_EQ(CRkHashMap(2).GetBucketCount(), 3u);
    EXPECT_EQ(CRkHashMap(22).GetBucketCount(), 23u);
    EXPECT_EQ(CRkHashMap::NextPrimeAbove(527), 541u);
}

TEST(HashMap, GrowsWhenTheIntegerLoadReachesOne)
{
    CRkHashMap map(257);
    for (uint32_t key = 0; key < 262; ++key)
        ASSERT_TRUE(map.Insert(key * 7, V(key + 1)));
    EXPECT_EQ(map.GetBucketCount(), 263u);
    ASSERT_TRUE(map.Insert(99999, V(1)));
    EXPECT_EQ(map.GetCount(), 263u);
    EXPECT_EQ(map.GetBucketCount(), 541u); // smallest prime above 2 * 263 + 1
    for (uint32_t key = 0; key < 262; ++key)
        ASSERT_EQ(map.Lookup(key * 7), V(key + 1));
    // The next growth: 540 entries still fit, the 541st grows again.
    for (uint32_t key = 263; key < 540; ++key)
        ASSERT_TRUE(map.Insert(key * 7, V(1)));
    EXPECT_EQ(map.GetBucketCount(), 541u);
    ASSERT_TRUE(map.Insert(540 * 7, V(1)));
    EXPECT_EQ(map.GetBucketCount(), CRkHashMap::NextPrimeAbove(2 * 541 + 1));
}

TEST(HashMap, InsertNeverReplaces)
{
    g_deleted.clear();
    CRkHashMap map(10, RecordDeletion);
    EXPECT_TRUE(map.Insert(5, V(1)));
    EXPECT_FALSE(map.Insert(5, V(2)));
    EXPECT_EQ(map.Lookup(5), V(1));
    EXPECT_EQ(map.GetCount(), 1u);
    // A key held with a null value is still present.
    EXPECT_TRUE(map.Insert(6, nullptr));
    EXPECT_FALSE(map.Insert(6, V(3)));
    EXPECT_TRUE(map.Contains(6));
    EXPECT_EQ(map.Lookup(6), nullptr);
    EXPECT_EQ(map.Lookup(7), nullptr);
    EXPECT_TRUE(g_deleted.empty());
}

TEST(HashMap, RemoveAndClearHandValuesToTheDeleter)
{
    g_deleted.clear();
    {
        CRkHashMap map(10, RecordDeletion);
        for (intptr_t k = 1; k <= 5; ++k)
            map.Insert(uint32_t(k), V(k * 10));
        EXPECT_TRUE(map.Remove(3));
        EXPECT_FALSE(map.Remove(3));
        EXPECT_EQ(g_deleted, std::vector<intptr_t>{30});
        const uint32_t buckets = map.GetBucketCount();
        map.Clear();
        EXPECT_EQ(map.GetCount(), 0u);
        EXPECT_EQ(map.GetBucketCount(), buckets);
        EXPECT_EQ(g_deleted.size(), 5u);
        EXPECT_EQ(map.Lookup(1), nullptr);
        map.Insert(8, V(80));
    }
    // Destruction clears too.
    EXPECT_EQ(g_deleted.back(), 80);
}

TEST(HashMap, IteratesBucketByBucketInInsertionOrder)
{
    CRkHashMap map(10);   // 11 buckets
    map.Insert(25, V(1)); // bucket 3
    map.Insert(3, V(2));  // bucket 3
    map.Insert(1, V(3));  // bucket 1
    map.Insert(14, V(4)); // bucket 3
    CRkHashMap::Cursor cursor;
    EXPECT_EQ(cursor.bucket, 0xFFFFFFFFu);
    std::vector<uint32_t> keys;
    void* value = nullptr;
    uint32_t key = 0;
    while (map.Next(cursor, value, &key))
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<uint32_t>{1, 25, 3, 14}));
    EXPECT_FALSE(map.Next(cursor, value));

    CRkHashMap empty(3);
    CRkHashMap::Cursor none;
    EXPECT_FALSE(empty.Next(none, value));
}

} // namespace
