// Preparing an LML source for the book: the three passes that turn the
// bytes of the file into the prepared text that every later step uses.
#pragma once

#include <cstdint>

#include "framework/core/OffsetMap.h"
#include "framework/core/ReportPlace.h"

class CMemBuffer;

// Where each byte of the prepared text stood in the source as given: one
// map per pass, each from its result back to its input.
class CPreparedOffsets final : public IReportPlaceMap {
public:
    uint64_t GivenOffset(uint64_t prepared) const override;

    COffsetMap cleaned; // pass 1: control bytes and CR of CR LF removed
    COffsetMap tabs;    // pass 2: tabs expanded
    COffsetMap escapes; // pass 3: byte escapes resolved
};

// Runs MapDeviceCharacters, ExpandTabs and ResolveByteEscapes in that order.
// The messages of the passes carry the offsets of the source as given.
void PrepareSourceText(CMemBuffer& source);
// The same, recording in `offsets` where the prepared bytes came from.
void PrepareSourceTextWithOffsets(CMemBuffer& source, CPreparedOffsets& offsets);

// Pass 1: removes the control bytes 0x00-0x08, turns CR LF and a lone CR
// into one LF, and checks bytes 0x80 and above against the device set.
void MapDeviceCharacters(CMemBuffer& source);

// Pass 2: every tab becomes four spaces.
void ExpandTabs(CMemBuffer& source);

// Pass 3: resolves the byte escapes (backslash, "a", three digits).
void ResolveByteEscapes(CMemBuffer& source);

// True when the byte (0x80 or above) is a character of the device set.
bool IsDeviceCharacter(uint8_t byte);
