#include "book/TextPosition.h"

#include "framework/core/MemBuffer.h"

TextRecordPosition LocateTextPosition(const CMemBuffer& ends, uint32_t position)
{
    const uint32_t count = ends.GetSize() / 4;
    // Largest i with ends[i] < position (binary search over ascending ends).
    uint32_t low = 0;
    uint32_t high = count; // the answer lies in [low, high)
    bool found = false;
    while (low < high) {
        const uint32_t mid = low + (high - low) / 2;
        if (ends.GetU32(mid) < position) {
            found = true;
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    if (!found)
        return {1, 0};
    const uint32_t i = low - 1;
    return {i + 1, position - ends.GetU32(i)};
}
