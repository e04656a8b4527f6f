#include "framework/core/HashMap.h"

#include <cstdlib>

namespace {

uint32_t PowMod(uint64_t base, uint32_t exponent, uint32_t modulus)
{
    uint64_t result = 1;
    base %= modulus;
    while (exponent) {
        if (exponent & 1)
            result = result * base % modulus;
        base = base * base % modulus;
        exponent >>= 1;
    }
    return static_cast<uint32_t>(result);
}

// One Miller-Rabin round for odd n > 3 with witness a in [2, n - 2].
bool PassesRound(uint32_t n, uint32_t a, uint32_t d, uint32_t s)
{
    uint64_t x = PowMod(a, d, n);
    if (x == 1 || x == n - 1)
        return true;
    for (uint32_t r = 1; r < s; ++r) {
        x = x * x % n;
        if (x == n - 1)
            return true;
    }
    return false;
}

} // namespace

bool CRkHashMap::IsPrime(uint32_t n)
{
    static const uint32_t kSmallPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23};
    if (n < 2)
        return false;
    for (uint32_t p : kSmallPrimes) {
        if (n == p)
            return true;
        if (n % p == 0)
            return false;
    }
    // 50 rounds with witnesses from a fixed pseudo-random sequence, so the
    // sizes a table reaches never depend on chance.
    uint32_t d = n - 1, s = 0;
    while ((d & 1) == 0) {
        d >>= 1;
        ++s;
    }
    uint32_t seed = 0x2545F491u ^ n;
    for (int round = 0; round < 50; ++round) {
        seed = seed * 1664525u + 1013904223u;
        const uint32_t a = 2 + seed % (n - 3);
        if (!PassesRound(n, a, d, s))
            return false;
    }
    return true;
}

uint32_t CRkHashMap::NextPrimeAbove(uint32_t n)
{
    uint32_t candidate = n + 1;
    while (!IsPrime(candidate))
        ++candidate;
    return candidate;
}

CRkHashMap::CRkHashMap(uint32_t requestedBuckets, ValueDeleter deleter)
    : m_bucketCount(NextPrimeAbove(requestedBuckets)), m_deleter(deleter)
{
    m_buckets = static_cast<Node**>(std::calloc(m_bucketCount, sizeof(Node*)));
}

CRkHashMap::~CRkHashMap()
{
    Clear();
    std::free(m_buckets);
}

CRkHashMap::Node* CRkHashMap::FindNode(uint32_t key) const
{
    for (Node* node = m_buckets[key % m_bucketCount]; node; node = node->next)
        if (node->key == key)
            return node;
    return nullptr;
}

void* CRkHashMap::Lookup(uint32_t key) const
{
    const Node* node = FindNode(key);
    return node ? node->value : nullptr;
}

bool CRkHashMap::Contains(uint32_t key) const
{
    return FindNode(key) != nullptr;
}

void CRkHashMap::Append(Node** buckets, uint32_t bucketCount, Node* node)
{
    node->next = nullptr;
    Node** link = &buckets[node->key % bucketCount];
    while (*link)
        link = &(*link)->next;
    *link = node;
}

void CRkHashMap::Grow()
{
    // Far beyond any real table; keeps 2 * count + 1 from overflowing.
    if (m_bucketCount >= 0x40000000u)
        return;
    const uint32_t newCount = NextPrimeAbove(2 * m_bucketCount + 1);
    Node** newBuckets = static_cast<Node**>(std::calloc(newCount, sizeof(Node*)));
    if (!newBuckets)
        return;
    for (uint32_t b = 0; b < m_bucketCount; ++b) {
        Node* node = m_buckets[b];
        while (node) {
            Node* next = node->next;
            Append(newBuckets, newCount, node);
            node = next;
        }
    }
    std::free(m_buckets);
    m_buckets = newBuckets;
    m_bucketCount = newCount;
}

bool CRkHashMap::Insert(uint32_t key, void* value)
{
    // Presence is decided by the node, so a key stored with a null value
    // is still never inserted twice.
    if (FindNode(key))
        return false;
    // The load is the integer quotient: the table grows once the new entry
    // would bring it to one entry per bucket.
    if (static_cast<double>((m_count + 1) / m_bucketCount) > m_loadLimit)
        Grow();
    Node* node = new Node{key, value, nullptr};
    Append(m_buckets, m_bucketCount, node);
    ++m_count;
    return true;
}

bool CRkHashMap::Remove(uint32_t key)
{
    for (Node** link = &m_buckets[key % m_bucketCount]; *link; link = &(*link)->next) {
        Node* node = *link;
        if (node->key != key)
            continue;
        *link = node->next;
        --m_count;
        void* value = node->value;
        delete node;
        if (m_deleter)
            m_deleter(value);
        return true;
    }
    return false;
}

void CRkHashMap::Clear()
{
    for (uint32_t b = 0; b < m_bucketCount; ++b) {
        Node* node = m_buckets[b];
        m_buckets[b] = nullptr;
        while (node) {
            Node* next = node->next;
            void* value = node->value;
            delete node;
            if (m_deleter)
                m_deleter(value);
            node = next;
        }
    }
    m_count = 0;
}

bool CRkHashMap::Next(Cursor& cursor, void*& value, uint32_t* key) const
{
    const Node* node = cursor.node ? cursor.node->next : nullptr;
    while (!node) {
        // The all-ones start wraps to bucket 0.
        const uint32_t bucket = cursor.bucket + 1;
        if (bucket >= m_bucketCount) {
            cursor.bucket = m_bucketCount;
            cursor.node = nullptr;
            return false;
        }
        cursor.bucket = bucket;
        node = m_buckets[bucket];
    }
    cursor.node = node;
    value = node->value;
    if (key)
        *key = node->key;
    return true;
}
