// The device database container: a 78-byte header, 8 bytes per record in
// the record list, a 2-byte gap, then the records back to back (layout in
// docs/ldb-format.md). Written by AssembleBook, read by CLDBFile and the
// vellumix-book tool through the functions below.
#pragma once

#include <cstdint>

#include "book/BookFormat.h"

class CMemBuffer;

struct LDBHeader {
    char name[kDatabaseNameField] = {};
    uint16_t attributes = 0;
    uint16_t version = 0;
    uint32_t creationTime = 0;
    uint32_t modificationTime = 0;
    uint32_t backupTime = 0;
    uint32_t modificationNumber = 0;
    uint32_t appInfoOffset = 0;
    uint32_t sortInfoOffset = 0;
    uint32_t type = 0;
    uint32_t creator = 0;
    uint32_t uniqueIdSeed = 0;
    uint32_t nextRecordList = 0;
    uint16_t recordCount = 0;
};

// The offset of the first record of a file with recordCount records.
inline uint32_t FirstRecordOffset(uint32_t recordCount)
{
    return kContainerHeaderSize + kRecordEntrySize * recordCount + kRecordListGap;
}

// One entry of the record list.
struct RecordEntry {
    uint32_t offset = 0;
    uint8_t attributes = 0;
    uint32_t uniqueId = 0; // 24 bits
};

// Appends the 78-byte header.
void AppendLDBHeader(const LDBHeader& header, CMemBuffer& out);
// Appends one record-list entry: u32 offset, u8 attributes, 3-byte unique ID.
void AppendRecordEntry(uint32_t offset, uint8_t attributes, uint32_t uniqueId, CMemBuffer& out);

// Decodes the 78 bytes of a container header / the 8 bytes of a record-list
// entry; the caller has checked that they are there.
LDBHeader ReadLDBHeader(const uint8_t* bytes);
RecordEntry ReadRecordEntry(const uint8_t* bytes);

// Big-endian numbers at a byte pointer; the caller checks the bounds.
inline uint16_t ReadU16At(const uint8_t* p)
{
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}
inline uint32_t ReadU32At(const uint8_t* p)
{
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | uint32_t(p[3]);
}
