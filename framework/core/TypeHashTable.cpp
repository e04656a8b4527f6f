#include "framework/core/TypeHashTable.h"

#include "framework/core/ObjectStream.h"
#include "framework/core/RkStream.h"

CRkTypeHashTable::CRkTypeHashTable() : m_map(257, &CRkTypeHashTable::DeleteEntry)
{
}

CRkTypeHashTable::~CRkTypeHashTable() = default;

void CRkTypeHashTable::DeleteEntry(void* p)
{
    Entry* entry = static_cast<Entry*>(p);
    if (entry->value)
        entry->value->Release();
    delete entry;
}

void CRkTypeHashTable::Set(uint32_t key, CRkType* value)
{
    if (value)
        value->AddRef();
    if (Entry* entry = static_cast<Entry*>(m_map.Lookup(key))) {
        CRkType* old = entry->value;
        entry->value = value;
        if (old)
            old->Release();
        return;
    }
    m_map.Insert(key, new Entry{key, value});
}

CRkType* CRkTypeHashTable::Get(uint32_t key) const
{
    const Entry* entry = static_cast<const Entry*>(m_map.Lookup(key));
    return entry ? entry->value : nullptr;
}

bool CRkTypeHashTable::Next(Cursor& cursor, uint32_t& key, CRkType*& value) const
{
    void* p = nullptr;
    if (!m_map.Next(cursor, p))
        return false;
    const Entry* entry = static_cast<const Entry*>(p);
    key = entry->key;
    value = entry->value;
    return true;
}

int32_t CRkTypeHashTable::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU32(GetCount());
    Cursor cursor;
    uint32_t key = 0;
    CRkType* value = nullptr;
    while (!err && Next(cursor, key, value)) {
        if (!value)
            return kStreamBadArgument;
        err = stream.WriteU32(key);
        if (!err)
            err = WriteObject(value, &stream);
    }
    return err;
}

int32_t CRkTypeHashTable::Read(CRkStream& stream)
{
    RemoveAll();
    return ReadCountedItems(stream, [&]() -> int32_t {
        uint32_t key = 0;
        int32_t err = stream.ReadU32(key);
        if (err)
            return err;
        CRkType* value = nullptr;
        if ((err = ReadObject(&stream, &value)) != 0)
            return err;
        Set(key, value);
        value->Release();
        return kStreamOk;
    });
}
