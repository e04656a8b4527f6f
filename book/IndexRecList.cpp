#include "book/IndexRecList.h"

#include <algorithm>
#include <numeric>

#include "book/IndexCollation.h"
#include "book/RecordNames.h"
#include "framework/core/MemBuffer.h"

void IndexRecList::Add(uint16_t textRecord, uint16_t offset, std::string_view term)
{
    if (m_entries.empty())
        m_entries.reserve(100);
    m_entries.push_back({textRecord, offset, StoredName(term, kMaxTermLength)});
    m_grouped = false;
}

void IndexRecList::Group()
{
    // Sort by precomputed folded keys: one fold per entry, and a strict order.
    std::vector<std::string> keys;
    keys.reserve(m_entries.size());
    for (const Entry& e : m_entries)
        keys.push_back(FoldIndexTerm(e.term));
    std::vector<uint32_t> order(m_entries.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = keys[a].compare(keys[b]);
        if (c != 0)
            return c < 0;
        if (m_entries[a].textRecord != m_entries[b].textRecord)
            return m_entries[a].textRecord < m_entries[b].textRecord;
        return m_entries[a].offset < m_entries[b].offset;
    });

    std::vector<Entry> sorted;
    sorted.reserve(m_entries.size());
    for (uint32_t i : order) {
        Entry& e = m_entries[i];
        if (!sorted.empty()) {
            const Entry& last = sorted.back();
            if (last.term == e.term && last.textRecord == e.textRecord && last.offset == e.offset)
                continue;
        }
        sorted.push_back(std::move(e));
    }
    m_entries = std::move(sorted);

    m_groups.clear();
    uint32_t running = 0;
    for (uint32_t i = 0; i < m_entries.size(); ++i) {
        if (running == 0)
            m_groups.push_back({i, i, 0});
        running += static_cast<uint32_t>(m_entries[i].term.size()) + 5;
        m_groups.back().endEntry = i + 1;
        m_groups.back().size = running;
        if (running > kGroupLimit)
            running = 0;
    }
    m_grouped = true;
}

uint32_t IndexRecList::GetRecordCount() const
{
    return m_groups.empty() ? 0 : static_cast<uint32_t>(m_groups.size()) + 1;
}

uint32_t IndexRecList::GetRecordSize(uint32_t i) const
{
    if (i >= GetRecordCount())
        return 0;
    if (i > 0)
        return m_groups[i - 1].size;
    uint32_t size = 0;
    for (const EntryGroup& g : m_groups)
        size += static_cast<uint32_t>(m_entries[g.firstEntry].term.size()) + 1;
    return size;
}

// Index records (the heading record, then one per group). Layout:
// docs/ldb-format.md, "Index records".
void IndexRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i >= GetRecordCount())
        return;
    if (i == 0) {
        for (const EntryGroup& g : m_groups) {
            const std::string& term = m_entries[g.firstEntry].term;
            out.Append(term.c_str(), static_cast<uint32_t>(term.size()) + 1);
        }
        return;
    }
    const EntryGroup& g = m_groups[i - 1];
    for (uint32_t k = g.firstEntry; k < g.endEntry; ++k) {
        const Entry& e = m_entries[k];
        out.AppendU16BE(e.textRecord);
        out.AppendU16BE(e.offset);
        out.Append(e.term.c_str(), static_cast<uint32_t>(e.term.size()) + 1);
    }
}
