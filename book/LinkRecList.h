// The links of a book: anchors (defined positions) and references to them.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "book/RecordList.h"
#include "framework/core/ReportPlace.h"

inline constexpr uint32_t kUndefinedPosition = 0xFFFFFFFFu;

class LinkRecList final : public IRecordList {
public:
    // Names longer than this are cut (the stored field holds 84 bytes).
    static constexpr size_t kMaxNameLength = 83;

    // position is the anchor's text position, or kUndefinedPosition for a
    // reference. The name is lower-cased. A second definition at another
    // position warns and keeps the first. `place` is the code's, for the
    // messages about it.
    void Add(uint32_t position, std::string_view name, const ReportPlace& place = ReportPlace());
    // Index of the link with this lower-cased name and hash, or -1.
    int32_t Find(uint32_t hash, std::string_view name) const;
    // Before assembly: keeps only referenced links, sorted by name, and warns
    // about each one that was never defined (it keeps kUndefinedPosition).
    void Finish();

    uint32_t GetCount() const { return static_cast<uint32_t>(m_links.size()); }
    uint32_t GetPosition(uint32_t i) const { return m_links[i].position; }
    const std::string& GetName(uint32_t i) const { return m_links[i].name; }
    bool IsReferenced(uint32_t i) const { return m_links[i].referenced; }

    // Record: u32 text position, lower-cased name, NUL (name length + 5).
    uint32_t GetRecordCount() const override { return GetCount(); }
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

private:
    struct Link {
        uint32_t position;
        std::string name;
        uint32_t hash;
        // Where messages about the link point: its first reference, or
        // the anchor when that came first.
        ReportPlace place;
        bool referenced;
    };
    void RebuildLookup();

    std::vector<Link> m_links;
    std::unordered_multimap<uint32_t, uint32_t> m_byHash;
};
