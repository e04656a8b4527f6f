// Where a position of the prepared text lies among the text records.
#pragma once

#include <cstdint>

class CMemBuffer;

struct TextRecordPosition {
    uint32_t textRecord; // counted from 1
    uint32_t offset;     // from the start of that text record
};

// The text record holding a position is the one after the last record end
// strictly below it: position 0 is record 1, offset 0, and a position at a
// record boundary is the end of the earlier record. textRecordEnds holds
// native u32 values, [0] = 0, ascending.
TextRecordPosition LocateTextPosition(const CMemBuffer& textRecordEnds, uint32_t position);
