#include "framework/core/OffsetMap.h"

#include <algorithm>

void COffsetMap::Add(uint32_t rewritten, uint32_t original, bool held)
{
    const Checkpoint point = {rewritten, original | (held ? kHeld : 0)};
    if (!m_points.empty()) {
        Checkpoint& last = m_points.back();
        if (last.rewritten == rewritten) {
            last = point;
            return;
        }
        // In step with the run before it: nothing changes here.
        if (!held && !(last.original & kHeld) && original - last.original == rewritten - last.rewritten)
            return;
    }
    if (m_points.size() >= m_max) {
        size_t kept = 0;
        for (size_t i = 0; i < m_points.size(); i += 2)
            m_points[kept++] = m_points[i];
        m_points.resize(kept);
    }
    m_points.push_back(point);
}

uint32_t COffsetMap::Original(uint32_t rewritten) const
{
    const auto after = std::upper_bound(m_points.begin(), m_points.end(), rewritten,
                                        [](uint32_t offset, const Checkpoint& c) { return offset < c.rewritten; });
    uint32_t base = 0;
    uint32_t original = 0;
    if (after != m_points.begin()) {
        base = (after - 1)->rewritten;
        original = (after - 1)->original;
        if (original & kHeld)
            return original & ~kHeld;
    }
    uint32_t result = original + (rewritten - base);
    // Short of the next checkpoint's original offset: what lies before it
    // came from the bytes before it.
    const uint32_t next = after != m_points.end() ? after->original & ~kHeld : 0;
    if (after != m_points.end() && next > original && result >= next)
        result = next - 1;
    return result;
}
