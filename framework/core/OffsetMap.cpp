#include "framework/core/OffsetMap.h"

#include <algorithm>

void COffsetMap::Add(uint32_t rewritten, uint32_t original)
{
    if (!m_points.empty() && m_points.back().rewritten == rewritten) {
        m_points.back().original = original;
        return;
    }
    if (m_points.size() >= m_max) {
        size_t kept = 0;
        for (size_t i = 0; i < m_points.size(); i += 2)
            m_points[kept++] = m_points[i];
        m_points.resize(kept);
    }
    m_points.push_back({rewritten, original});
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
    }
    uint32_t result = original + (rewritten - base);
    // Short of the next checkpoint's original offset: what lies before it
    // came from the bytes before it.
    if (after != m_points.end() && after->original > original && result >= after->original)
        result = after->original - 1;
    return result;
}
