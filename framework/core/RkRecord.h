// A typed record: string keys mapped to typed values. Lookup goes by the
// key's 32-bit hash alone; the record holds one reference on each value.
#pragma once

#include <cstdint>

#include "framework/core/HashMap.h"
#include "framework/core/RkString.h"

class CRkRecord : public CRkType {
public:
    CRkRecord();
    ~CRkRecord() override;
    CRkRecord(const CRkRecord&) = delete;
    CRkRecord& operator=(const CRkRecord&) = delete;

    // Takes a reference on value and stores it under key. A key already
    // present gets the new value; the old one is released. A null value
    // makes an entry without a value (which Write refuses).
    void Set(const CRkString& key, CRkType* value);
    // The value, or null; no reference is added.
    CRkType* Get(const CRkString& key) const;
    bool Has(const CRkString& key) const;
    // Releases the key's value and removes the entry; false if absent.
    bool Remove(const CRkString& key);
    void RemoveAll();
    uint32_t GetCount() const { return m_map.GetCount(); }
    uint32_t GetBucketCount() const { return m_map.GetBucketCount(); }

    using Cursor = CRkHashMap::Cursor;
    // The next entry; false at the end. Do not change the record meanwhile.
    bool Next(Cursor& cursor, const CRkString*& key, CRkType*& value) const;

    // Body: u32 version 0, u32 count, then per entry the key as a tagged
    // string and the value as a tagged object.
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdRecord; }

private:
    struct Entry {
        CRkString key;
        CRkType* value;
    };
    static void DeleteEntry(void* entry);

    CRkHashMap m_map;
};
