// Dividing a prepared text into text records of at most 8192 bytes, each
// compressed on its own.
#pragma once

#include <cstdint>

#include "book/Compressor.h"

class CMemBuffer;

inline constexpr uint32_t kTextRecordLimit = kMaxTextRecordSize;

// Appends 0 to both lists, then divides the text: every record's
// compressed bytes go to `textBuffer`, its end offset in the text to
// `recordEnds` and its compressed size to `recordSizes` (32-bit lists).
// An empty text gives no records. Returns 0, or 1 after reporting a chunk
// that does not compress into 8192 bytes (no record lists to rely on then).
uint32_t SplitTextRecords(const uint8_t* text, uint32_t length, CMemBuffer& textBuffer, CMemBuffer& recordEnds,
                          CMemBuffer& recordSizes);

// The division itself, shared with the sidebar and footnote records: like
// SplitTextRecords without the leading zeros; `recordEnds` may be null.
// `textPlace` is where the text begins in the prepared text (a note's
// text lies in the notes block), for the message's place.
uint32_t CompressTextRecords(const uint8_t* text, uint32_t length, CMemBuffer& textBuffer, CMemBuffer* recordEnds,
                             CMemBuffer& recordSizes, uint32_t textPlace = 0);

// The length of the record that begins at `position` (below `length`):
// at most 8192 bytes, a full record that is not the last one cut where
// FindRecordBreak says.
uint32_t NextRecordLength(const uint8_t* text, uint32_t position, uint32_t length);

// Where a full record should end so that no control code is cut in two:
// the number of bytes to keep (0 to length). 0 means no good place was
// found; the division then keeps the whole chunk.
uint32_t FindRecordBreak(const uint8_t* bytes, uint32_t length);

// A capacity for the buffer of compressed records of a text of this
// length that is enough unless the text is cut into unusually short records.
uint32_t CompressedTextCapacity(uint32_t length);
