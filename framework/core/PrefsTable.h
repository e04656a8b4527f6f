// An in-memory table of typed preference values, the common heart of every
// preference store, and a store that keeps nothing but this table.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "framework/core/PrefsImp.h"

struct PrefValue {
    uint16_t type = 0;
    std::vector<uint8_t> payload;

    bool operator==(const PrefValue&) const = default;
};

class CPrefsTable {
public:
    using Key = std::pair<uint32_t, std::string>; // section, key
    using Map = std::map<Key, PrefValue>;

    const PrefValue* Find(uint32_t section, const char* key) const;
    bool Delete(uint32_t section, const char* key);
    bool Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size) const;
    // The result tells whether the value is held and whether the table
    // changed. A value of another type is replaced: type rules belong to
    // the stores built on the table.
    enum class SetResult { Refused, Unchanged, Changed };
    SetResult Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size);
    // Stores without the type rule (used when loading a saved table).
    void Put(uint32_t section, std::string key, PrefValue value);

    void Clear() { m_values.clear(); }
    size_t GetCount() const { return m_values.size(); }
    const Map& GetValues() const { return m_values; }

private:
    Map m_values;
};

// A store that lives only as long as the process; for tests and for
// programs that keep no settings. The last write wins, whatever its type.
class CMemoryPrefsImp : public IPrefsImp {
public:
    bool Flush() override { return true; }
    uint32_t GetSize(uint32_t section, const char* key) override;
    uint16_t GetType(uint32_t section, const char* key) override;
    bool Exists(uint32_t section, const char* key) override;
    bool Delete(uint32_t section, const char* key) override;
    bool Get(uint32_t section, const char* key, uint16_t type, void* buffer, uint32_t size) override;
    bool Set(uint32_t section, const char* key, uint16_t type, const void* data, uint32_t size) override;

    CPrefsTable& GetTable() { return m_table; }

private:
    CPrefsTable m_table;
};
