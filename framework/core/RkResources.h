// Binary resources compiled into the program (pictures, icons), found by
// number. Each generated resource source (cmake: vx_resources) holds one
// table and registers it while the program starts; the look-up walks the
// registered tables.
#pragma once

#include <cstdint>

struct CRkResourceEntry {
    uint32_t id;
    const uint8_t* data;
    uint32_t size;
};

// One generated table; `next` links the registered tables.
struct CRkResourceTable {
    const CRkResourceEntry* entries;
    uint32_t count;
    CRkResourceTable* next;
};

// Adds a table to the registry; registering the same table again does
// nothing. Safe during static initialization.
void RegisterResourceTable(CRkResourceTable& table);

// The bytes of resource `id`: true with `data` and `size` set, false (both
// left alone) when no registered table holds it. The bytes live as long as
// the program.
bool GetResourceData(uint32_t id, const uint8_t*& data, uint32_t& size);

// Registers a table when constructed: one static object per generated source.
class CRkResourceRegistrar {
public:
    explicit CRkResourceRegistrar(CRkResourceTable& table) { RegisterResourceTable(table); }
};
