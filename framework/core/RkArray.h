// An array of references to typed objects; the array holds one reference
// on each element.
#pragma once

#include <cstdint>

#include "framework/core/MemBuffer.h"

class CRkString;

class CRkArray : public CRkType {
public:
    CRkArray();
    ~CRkArray() override;
    CRkArray(const CRkArray&) = delete;
    CRkArray& operator=(const CRkArray&) = delete;

    // Takes a reference on the object and appends it (null is ignored).
    void Add(CRkType* object);
    // Appends a new copy of the string; the array holds its only reference.
    void AddString(const CRkString& string);
    // As Add / AddString, before element i (an index past the end appends).
    void Insert(uint32_t i, CRkType* object);
    void InsertString(uint32_t i, const CRkString& string);
    // Releases element i and removes it (an index past the end does nothing).
    void RemoveAt(uint32_t i);
    // Releases every element, last first.
    void RemoveAll();
    uint32_t GetCount() const { return m_items.GetCount(); }
    // The element, or null when i is not below the count.
    CRkType* GetAt(uint32_t i) const;

    // Body: u32 version 0, u32 count, each element in the tagged form.
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdArray; }

private:
    CMemBuffer m_items;
};
