// The four 32-bit lists of one build, passed down explicitly.
//
// textRecordEnds:  [0] = 0; [i] = uncompressed end offset of text record i.
// textRecordSizes: [0] = 0; [i] = stored (compressed) size of text record i;
//                  its count is 1 + the number of text records.
// sidebarRecordSizes / footnoteRecordSizes: [0] stands for the table record;
//                  [i] = stored size of note text record i; empty when the
//                  book has no sidebars (footnotes).
// All four hold native-order u32 values (CMemBuffer::GetU32 / AppendU32).
#pragma once

#include "framework/core/MemBuffer.h"

struct BuildLists {
    static constexpr uint32_t kInitialCapacity = 4096;

    CMemBuffer textRecordEnds{kInitialCapacity};
    CMemBuffer textRecordSizes{kInitialCapacity};
    CMemBuffer sidebarRecordSizes{kInitialCapacity};
    CMemBuffer footnoteRecordSizes{kInitialCapacity};

    BuildLists()
    {
        textRecordEnds.SetElementSize(4);
        textRecordSizes.SetElementSize(4);
        sidebarRecordSizes.SetElementSize(4);
        footnoteRecordSizes.SetElementSize(4);
    }
    BuildLists(const BuildLists&) = delete;
    BuildLists& operator=(const BuildLists&) = delete;
};
