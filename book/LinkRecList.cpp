#include "book/LinkRecList.h"

#include <algorithm>

#include "book/RecordNames.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/MessageGate.h"

void LinkRecList::Add(uint32_t position, std::string_view rawName, const ReportPlace& place)
{
    std::string name = LowerCaseName(rawName, kMaxNameLength);
    const uint32_t hash = NameHash(name);
    const int32_t found = Find(hash, name);
    const bool isReference = position == kUndefinedPosition;
    if (found < 0) {
        if (m_links.empty())
            m_links.reserve(10);
        m_byHash.emplace(hash, static_cast<uint32_t>(m_links.size()));
        m_links.push_back({position, std::move(name), hash, place, isReference});
        return;
    }
    Link& link = m_links[static_cast<size_t>(found)];
    if (link.position == kUndefinedPosition) {
        link.referenced = true;
        if (!isReference)
            link.position = position;
    } else if (isReference) {
        link.referenced = true;
    } else if (link.position != position) {
        ReportMessage(kReportWarning, MessageRule::NotInBatch, place, "Link \"%s\" defined more than once",
                      link.name.c_str());
    }
}

int32_t LinkRecList::Find(uint32_t hash, std::string_view name) const
{
    const auto range = m_byHash.equal_range(hash);
    int32_t best = -1;
    for (auto it = range.first; it != range.second; ++it)
        if (m_links[it->second].name == name && (best < 0 || int32_t(it->second) < best))
            best = static_cast<int32_t>(it->second);
    return best;
}

void LinkRecList::Finish()
{
    std::stable_sort(m_links.begin(), m_links.end(), [](const Link& a, const Link& b) {
        if (a.referenced != b.referenced)
            return a.referenced;
        return a.name < b.name;
    });
    std::vector<Link> kept;
    kept.reserve(m_links.size());
    for (Link& link : m_links) {
        if (!link.referenced)
            break; // the never referenced ones all sort last
        if (!kept.empty() && kept.back().name == link.name)
            continue;
        kept.push_back(std::move(link));
    }
    m_links = std::move(kept);
    RebuildLookup();
    for (const Link& link : m_links) {
        if (link.position == kUndefinedPosition)
            ReportMessage(kReportWarning, MessageRule::NotInBatch, link.place, "Link \"%s\" has not been defined",
                          link.name.c_str());
    }
}

void LinkRecList::RebuildLookup()
{
    m_byHash.clear();
    for (uint32_t i = 0; i < m_links.size(); ++i)
        m_byHash.emplace(m_links[i].hash, i);
}

uint32_t LinkRecList::GetRecordSize(uint32_t i) const
{
    if (i >= m_links.size())
        return 0;
    return static_cast<uint32_t>(m_links[i].name.size()) + 5;
}

// Link record, name length + 5 bytes. Layout: docs/ldb-format.md,
// "Link records".
void LinkRecList::AppendRecord(uint32_t i, CMemBuffer& out) const
{
    if (i >= m_links.size())
        return;
    const Link& link = m_links[i];
    out.AppendU32BE(link.position);
    out.Append(link.name.c_str(), static_cast<uint32_t>(link.name.size()) + 1);
}
