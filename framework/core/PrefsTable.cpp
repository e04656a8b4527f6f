#include "framework/core/PrefsTable.h"

#include <algorithm>
#include <cstring>

const PrefValue* CPrefsTable::Find(uint32_t section, const char* key) const
{
    if (!key)
        return nullptr;
    auto it = m_values.find(Key(section, key));
    return it == m_values.end() ? nullptr : &it->second;
}

bool CPrefsTable::Delete(uint32_t section, const char* key)
{
    if (!key)
        return false;
    return m_values.erase(Key(section, key)) != 0;
}

bool CPrefsTable::Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size) const
{
    const PrefValue* value = Find(section, key);
    if (!value || value->type != type)
        return false;
    uint32_t n = std::min<uint32_t>(size, static_cast<uint32_t>(value->payload.size()));
    if (n && buffer)
        std::memcpy(buffer, value->payload.data(), n);
    return true;
}

CPrefsTable::SetResult CPrefsTable::Set(uint32_t section, const char* key, uint16_t type, const void* data,
                                        uint32_t size)
{
    if (!key || type == 0 || (size && !data))
        return SetResult::Refused;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    PrefValue& value = m_values[Key(section, key)];
    if (value.type == type && value.payload.size() == size && std::equal(bytes, bytes + size, value.payload.begin()))
        return SetResult::Unchanged;
    value.type = type;
    value.payload.assign(bytes, bytes + size);
    return SetResult::Changed;
}

void CPrefsTable::Put(uint32_t section, std::string key, PrefValue value)
{
    m_values[Key(section, std::move(key))] = std::move(value);
}

uint32_t CMemoryPrefsImp::GetSize(uint32_t section, const char* key)
{
    const PrefValue* value = m_table.Find(section, key);
    return value ? static_cast<uint32_t>(value->payload.size()) + 2 : 0;
}

uint16_t CMemoryPrefsImp::GetType(uint32_t section, const char* key)
{
    const PrefValue* value = m_table.Find(section, key);
    return value ? value->type : 0;
}

bool CMemoryPrefsImp::Exists(uint32_t section, const char* key)
{
    return m_table.Find(section, key) != nullptr;
}

bool CMemoryPrefsImp::Delete(uint32_t section, const char* key)
{
    return m_table.Delete(section, key);
}

bool CMemoryPrefsImp::Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size)
{
    return m_table.Get(section, key, type, buffer, size);
}

bool CMemoryPrefsImp::Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size)
{
    return m_table.Set(section, key, type, data, size) != CPrefsTable::SetResult::Refused;
}
