#include "book/ChapterRecList.h"

#include "book/RecordNames.h"
#include "framework/core/MemBuffer.h"

void ChapterRecList::Add(uint32_t position, std::string_view title)
{
    if (m_chapters.empty())
        m_chapters.reserve(10);
    m_chapters.push_back({position, StoredName(title, kMaxTitleLength)});
}

void ChapterRecList::RemoveLast()
{
    if (!m_chapters.empty())
        m_chapters.pop_back();
}

void ChapterRecList::RemoveDuplicates()
{
    if (m_chapters.size() < 2)
        return;
    size_t kept = 1;
    for (size_t i = 1; i < m_chapters.size(); ++i) {
        const Chapter& last = m_chapters[kept - 1];
        if (m_chapters[i].position == last.position && m_chapters[i].title == last.title)
            continue;
        if (kept != i)
            m_chapters[kept] = std::move(m_chapters[i]);
        ++kept;
    }
    m_chapters.resize(kept);
}

uint32_t ChapterRecList::GetRecordSize(uint32_t i) const
{
    if (i >= m_chapters.size())
        return 0;
    return static_cast<uint32_t>(m_chapters[i].title.size()) + 5;
}

// Chapter record, title length + 5 bytes. Layout: docs/ldb-format.md,
// "Chapter records".
void ChapterRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i >= m_chapters.size())
        return;
    const Chapter& c = m_chapters[i];
    out.AppendU32BE(c.position);
    out.Append(c.title.c_str(), static_cast<uint32_t>(c.title.size()) + 1);
}
