#include "book/PageRecList.h"

#include <algorithm>

#include "framework/core/MemBuffer.h"

uint32_t PageRecordCount(uint32_t entryCount)
{
    return entryCount / PageRecList::kEntriesPerRecord + (entryCount % PageRecList::kEntriesPerRecord ? 1 : 0);
}

void PageRecList::Add(uint16_t page, uint16_t textRecord, uint16_t offset, uint32_t position, uint16_t style)
{
    if (m_entries.empty())
        m_entries.reserve(32000 / kEntrySize);
    m_entries.push_back({page, textRecord, offset, position, style});
}

uint32_t PageRecList::GetRecordCount() const
{
    return PageRecordCount(GetEntryCount());
}

uint32_t PageRecList::GetRecordSize(uint32_t i) const
{
    if (i >= GetRecordCount())
        return 0;
    const uint32_t first = i * kEntriesPerRecord;
    return std::min(kEntriesPerRecord, GetEntryCount() - first) * kEntrySize;
}

// Page-table record: up to 1333 entries back to back. Layout:
// docs/ldb-format.md, "Page tables".
void PageRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i >= GetRecordCount())
        return;
    const uint32_t first = i * kEntriesPerRecord;
    const uint32_t end = std::min(first + kEntriesPerRecord, GetEntryCount());
    for (uint32_t k = first; k < end; ++k) {
        const Entry& e = m_entries[k];
        out.AppendU16BE(e.page);
        out.AppendU16BE(e.textRecord);
        out.AppendU16BE(e.offset);
        out.AppendU32BE(e.position);
        out.AppendU16BE(e.style);
    }
}
