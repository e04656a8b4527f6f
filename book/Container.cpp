#include "book/Container.h"

#include "framework/core/MemBuffer.h"

// The header and the entry, field by field: docs/ldb-format.md, "Container
// header" and "Record list".
void AppendLDBHeader(const LDBHeader& h, CMemBuffer& out)
{
    char name[kDatabaseNameField] = {};
    for (uint32_t i = 0; i + 1 < kDatabaseNameField && h.name[i]; ++i)
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

void AppendRecordEntry(uint32_t offset, uint8_t attributes, uint32_t uniqueId, CMemBuffer& out)
{
    out.AppendU32BE(offset);
    out.AppendU32BE((static_cast<uint32_t>(attributes) << 24) | (uniqueId & kUniqueIdMask));
}

LDBHeader ReadLDBHeader(const uint8_t* p)
{
    LDBHeader h;
    for (uint32_t i = 0; i < kDatabaseNameField; ++i)
        h.name[i] = static_cast<char>(p[i]);
    h.attributes = ReadU16At(p + kAttributesAt);
    h.version = ReadU16At(p + kVersionAt);
    h.creationTime = ReadU32At(p + kCreationTimeAt);
    h.modificationTime = ReadU32At(p + kModificationTimeAt);
    h.backupTime = ReadU32At(p + kBackupTimeAt);
    h.modificationNumber = ReadU32At(p + kModificationNumberAt);
    h.appInfoOffset = ReadU32At(p + kAppInfoOffsetAt);
    h.sortInfoOffset = ReadU32At(p + kSortInfoOffsetAt);
    h.type = ReadU32At(p + kTypeCodeAt);
    h.creator = ReadU32At(p + kCreatorCodeAt);
    h.uniqueIdSeed = ReadU32At(p + kUniqueIdSeedAt);
    h.nextRecordList = ReadU32At(p + kNextRecordListAt);
    h.recordCount = ReadU16At(p + kRecordCountAt);
    return h;
}

RecordEntry ReadRecordEntry(const uint8_t* p)
{
    RecordEntry e;
    e.offset = ReadU32At(p);
    e.attributes = p[4];
    e.uniqueId = ReadU32At(p + 4) & kUniqueIdMask;
    return e;
}
