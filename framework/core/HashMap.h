// The framework's integer-keyed hash table: chained buckets, a prime bucket
// count, and a value deleter called whenever an entry goes away.
#pragma once

#include <cstdint>

class CRkHashMap {
public:
    using ValueDeleter = void (*)(void* value);

    // The bucket count is the smallest prime above requestedBuckets.
    explicit CRkHashMap(uint32_t requestedBuckets, ValueDeleter deleter = nullptr);
    ~CRkHashMap();
    CRkHashMap(const CRkHashMap&) = delete;
    CRkHashMap& operator=(const CRkHashMap&) = delete;

    // Adds key -> value; false (and nothing changes) when the key is
    // already present: insert never replaces.
    bool Insert(uint32_t key, void* value);
    void* Lookup(uint32_t key) const;
    bool Contains(uint32_t key) const;
    // Removes the entry, handing its value to the deleter; false if absent.
    bool Remove(uint32_t key);
    // Removes every entry (the deleter sees each value); keeps the buckets.
    void Clear();
    uint32_t GetCount() const { return m_count; }
    uint32_t GetBucketCount() const { return m_bucketCount; }

    struct Node {
        uint32_t key;
        void* value;
        Node* next;
    };
    // Iteration state: start with a default-constructed cursor.
    struct Cursor {
        uint32_t bucket = 0xFFFFFFFFu;
        const Node* node = nullptr;
    };
    // The next entry, bucket by bucket, each chain in insertion order;
    // false at the end. key may be null.
    bool Next(Cursor& cursor, void*& value, uint32_t* key = nullptr) const;

    // The smallest prime strictly above n (for n below 2^32 - 5).
    static uint32_t NextPrimeAbove(uint32_t n);
    static bool IsPrime(uint32_t n);

private:
    Node* FindNode(uint32_t key) const;
    void Grow();
    static void Append(Node** buckets, uint32_t bucketCount, Node* node);

    uint32_t m_count = 0;
    Node** m_buckets = nullptr;
    uint32_t m_bucketCount = 0;
    double m_loadLimit = 0.1;
    ValueDeleter m_deleter;
};
