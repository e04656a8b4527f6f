#include "book/Container.h"

#include "framework/core/MemBuffer.h"

// Container header, 78 bytes, big-endian:
//   offset width  field
//      0   32     database name, NUL-terminated, zero-filled
//     32   u16    attributes
//     34   u16    version
//     36   u32    creation time (seconds since 1970-01-01 UTC)
//     40   u32    modification time
//     44   u32    backup time
//     48   u32    modification number
//     52   u32    application-info offset
//     56   u32    sort-info offset
//     60   4      type code
//     64   4      creator code
//     68   u32    unique-ID seed
//     72   u32    next record list
//     76   u16    number of records n
// Record list at 78, n entries; then two zero bytes; record 0 at 80 + 8n.
void AppendLDBHeader(const LDBHeader& h, CMemBuffer& out)
{
    char name[32] = {};
    for (int i = 0; i < 31 && h.name[i]; ++i)
        name[i] = h.name[i];
    out.Append(name, sizeof name);
    out.AppendU16BE(h.attributes);
    out.AppendU16BE(h.version);
    out.AppendU32BE(h.creationTime);
    out.AppendU32BE(h.modificationTime);
    out.AppendU32BE(h.backupTime);
    out.AppendU32BE(h.modificationNumber);
    out.AppendU32BE(h.appInfoOffset);
    out.AppendU32BE(h.sortInfoOffset);
    out.AppendU32BE(h.type);
    out.AppendU32BE(h.creator);
    out.AppendU32BE(h.uniqueIdSeed);
    out.AppendU32BE(h.nextRecordList);
    out.AppendU16BE(h.recordCount);
}

// Record-list entry, 8 bytes:
//   offset width  field
//      0   u32    file offset of the record
//      4   u8     record attributes
//      5   3      unique ID
void AppendRecordEntry(uint32_t offset, uint8_t attributes, uint32_t uniqueId, CMemBuffer& out)
{
    out.AppendU32BE(offset);
    out.AppendU32BE((static_cast<uint32_t>(attributes) << 24) | (uniqueId & 0x00FFFFFFu));
}
