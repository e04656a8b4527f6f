// A table from u32 keys to typed values; it holds one reference on each value.
#pragma once

#include <cstdint>

#include "framework/core/HashMap.h"
#include "framework/core/RkType.h"

class CRkTypeHashTable : public CRkType {
public:
    CRkTypeHashTable();
    ~CRkTypeHashTable() override;
    CRkTypeHashTable(const CRkTypeHashTable&) = delete;
    CRkTypeHashTable& operator=(const CRkTypeHashTable&) = delete;

    // Takes a reference on value and stores it under key; a key already
    // present gets the new value and the old one is released. A null value
    // makes an entry without a value (which Write refuses).
    void Set(uint32_t key, CRkType* value);
    // The value, or null; no reference is added.
    CRkType* Get(uint32_t key) const;
    bool Has(uint32_t key) const { return m_map.Contains(key); }
    // Releases the key's value and removes the entry; false if absent.
    bool Remove(uint32_t key) { return m_map.Remove(key); }
    void RemoveAll() { m_map.Clear(); }
    uint32_t GetCount() const { return m_map.GetCount(); }

    using Cursor = CRkHashMap::Cursor;
    // The next entry; false at the end. Do not change the table meanwhile.
    bool Next(Cursor& cursor, uint32_t& key, CRkType*& value) const;

    // Body: u32 version 0, u32 count, then per entry u32 key and the value
    // as a tagged object.
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdTypeHashTable; }

private:
    struct Entry {
        uint32_t key;
        CRkType* value;
    };
    static void DeleteEntry(void* entry);

    CRkHashMap m_map;
};
