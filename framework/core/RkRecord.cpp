#include "framework/core/RkRecord.h"

#include "framework/core/ObjectStream.h"
#include "framework/core/RkStream.h"

CRkRecord::CRkRecord() : m_map(257, &CRkRecord::DeleteEntry)
{
}

CRkRecord::~CRkRecord() = default;

void CRkRecord::DeleteEntry(void* p)
{
    Entry* entry = static_cast<Entry*>(p);
    if (entry->value)
        entry->value->Release();
    delete entry;
}

void CRkRecord::Set(const CRkString& key, CRkType* value)
{
    if (value)
        value->AddRef();
    const uint32_t hash = key.Hash();
    if (Entry* entry = static_cast<Entry*>(m_map.Lookup(hash))) {
        CRkType* old = entry->value;
        entry->key.Assign(key);
        entry->value = value;
        if (old)
            old->Release();
        return;
    }
    m_map.Insert(hash, new Entry{key, value});
}

CRkType* CRkRecord::Get(const CRkString& key) const
{
    const Entry* entry = static_cast<const Entry*>(m_map.Lookup(key.Hash()));
    return entry ? entry->value : nullptr;
}

bool CRkRecord::Has(const CRkString& key) const
{
    return m_map.Contains(key.Hash());
}

bool CRkRecord::Remove(const CRkString& key)
{
    return m_map.Remove(key.Hash());
}

void CRkRecord::RemoveAll()
{
    m_map.Clear();
}

bool CRkRecord::Next(Cursor& cursor, const CRkString*& key, CRkType*& value) const
{
    void* p = nullptr;
    if (!m_map.Next(cursor, p))
        return false;
    const Entry* entry = static_cast<const Entry*>(p);
    key = &entry->key;
    value = entry->value;
    return true;
}

int32_t CRkRecord::Write(CRkStream& stream) const
{
    int32_t err = stream.WriteU32(0);
    if (!err)
        err = stream.WriteU32(GetCount());
    Cursor cursor;
    const CRkString* key = nullptr;
    CRkType* value = nullptr;
    while (!err && Next(cursor, key, value)) {
        if (!value)
            return kStreamBadArgument;
        err = WriteObject(key, &stream);
        if (!err)
            err = WriteObject(value, &stream);
    }
    return err;
}

int32_t CRkRecord::Read(CRkStream& stream)
{
    RemoveAll();
    return ReadCountedItems(stream, [&]() -> int32_t {
        CRkType* key = nullptr;
        int32_t err = ReadObject(&stream, &key);
        if (err)
            return err;
        if (key->GetTypeID() != kTypeIdString) {
            key->Release();
            return kStreamBadFraming;
        }
        CRkType* value = nullptr;
        if ((err = ReadObject(&stream, &value)) != 0) {
            key->Release();
            return err;
        }
        Set(*static_cast<CRkString*>(key), value);
        value->Release();
        key->Release();
        return kStreamOk;
    });
}
