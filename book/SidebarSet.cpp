#include "book/SidebarSet.h"

#include <algorithm>

#include "book/RecordNames.h"
#include "framework/core/MemBuffer.h"

uint32_t SidebarSet::Add(std::string_view rawName, const ReportPlace& place)
{
    if (m_entries.empty())
        m_entries.reserve(10);
    std::string name = LowerCaseName(rawName, kMaxNameLength);
    const uint32_t hash = NameHash(name);
    m_entries.push_back({std::move(name), 0, hash, 0, place});
    return static_cast<uint32_t>(m_entries.size() - 1);
}

void SidebarSet::SortAndRemoveDuplicates()
{
    std::stable_sort(
        m_entries.begin(), m_entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
    auto last = std::unique(m_entries.begin(), m_entries.end(),
                            [](const Entry& a, const Entry& b) { return a.name == b.name; });
    m_entries.erase(last, m_entries.end());
}

uint32_t SidebarSet::GetTableRecordSize() const
{
    uint32_t size = 0;
    for (const Entry& e : m_entries)
        size += static_cast<uint32_t>(e.name.size()) + 4;
    return size;
}

// Table record (first record of the sidebar or footnote section). Layout:
// docs/ldb-format.md, "Sidebar and footnote table records".
void SidebarSet::AppendTableRecord(CMemBuffer& out) const
{
    for (const Entry& e : m_entries) {
        out.AppendU16BE(e.recordCount);
        out.AppendU8(static_cast<uint8_t>(e.name.size()));
        out.Append(e.name.c_str(), static_cast<uint32_t>(e.name.size()) + 1);
    }
}
