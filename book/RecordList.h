// What the assembler asks of every list that contributes records.
#pragma once

#include <cstdint>

class CMemBuffer;

class IRecordList {
public:
    virtual ~IRecordList() = default;
    virtual uint32_t GetRecordCount() const = 0;
    // The size of record i in bytes, computed without building it;
    // 0 for an index out of range.
    virtual uint32_t GetRecordSize(uint32_t i) const = 0;
    // Appends record i (big-endian fields); nothing for an index out of range.
    virtual void AppendRecord(uint32_t i, CMemBuffer& out) const = 0;
};
