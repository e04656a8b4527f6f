// The device database container: a 78-byte header, 8 bytes per record in
// the record list, a 2-byte gap, then the records back to back.
#pragma once

#include <cstdint>

class CMemBuffer;

inline constexpr uint32_t kContainerHeaderSize = 78;
inline constexpr uint32_t kRecordEntrySize = 8;
inline constexpr uint32_t kRecordListGap = 2;
inline constexpr uint32_t kFirstUniqueId = 0x6F8000;

struct LDBHeader {
    char name[32] = {};
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

// Appends the 78-byte header.
void AppendLDBHeader(const LDBHeader& header, CMemBuffer& out);
// Appends one record-list entry: u32 offset, u8 attributes, 3-byte unique ID.
void AppendRecordEntry(uint32_t offset, uint8_t attributes, uint32_t uniqueId, CMemBuffer& out);
