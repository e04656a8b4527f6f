#include "framework/core/RkResources.h"

namespace {

// Constant-initialized, so registrars running in any order during static
// initialization find it ready.
constinit CRkResourceTable* gFirstTable = nullptr;

} // namespace

void RegisterResourceTable(CRkResourceTable& table)
{
    for (const CRkResourceTable* t = gFirstTable; t; t = t->next)
        if (t == &table)
            return;
    table.next = gFirstTable;
    gFirstTable = &table;
}

bool GetResourceData(uint32_t id, const uint8_t*& data, uint32_t& size)
{
    for (const CRkResourceTable* t = gFirstTable; t; t = t->next) {
        for (uint32_t i = 0; i < t->count; ++i) {
            if (t->entries[i].id == id) {
                data = t->entries[i].data;
                size = t->entries[i].size;
                return true;
            }
        }
    }
    return false;
}
