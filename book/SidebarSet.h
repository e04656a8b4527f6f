// The sidebars (and, through FootnoteSet, the footnotes) a book refers to:
// one entry per name, with where its text lies in the notes block and how
// many text records it became.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "framework/core/ReportPlace.h"

class CMemBuffer;

class SidebarSet {
public:
    // Names longer than this are cut.
    static constexpr size_t kMaxNameLength = 255;

    virtual ~SidebarSet() = default;

    // Appends an entry for the lower-cased name (record count 0, position 0)
    // and returns its index. `place` is where messages about the entry
    // point: the reference, until the start tag is found.
    uint32_t Add(std::string_view name, const ReportPlace& place = ReportPlace());
    // Sorts by name (byte order) and drops repeated names, keeping the first.
    void SortAndRemoveDuplicates();

    uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }
    const std::string& GetName(uint32_t i) const { return m_entries[i].name; }
    uint32_t GetHash(uint32_t i) const { return m_entries[i].hash; }
    void SetPosition(uint32_t i, uint32_t position) { m_entries[i].position = position; }
    uint32_t GetPosition(uint32_t i) const { return m_entries[i].position; }
    void SetRecordCount(uint32_t i, uint16_t count) { m_entries[i].recordCount = count; }
    uint16_t GetRecordCount(uint32_t i) const { return m_entries[i].recordCount; }
    void SetPlace(uint32_t i, const ReportPlace& place) { m_entries[i].place = place; }
    const ReportPlace& GetPlace(uint32_t i) const { return m_entries[i].place; }

    // The table record: per entry u16 record count, u8 name length, name,
    // NUL (name length + 4 bytes each).
    uint32_t GetTableRecordSize() const;
    void AppendTableRecord(CMemBuffer& out) const;

private:
    struct Entry {
        std::string name;
        uint16_t recordCount;
        uint32_t hash;
        uint32_t position;
        ReportPlace place; // not stored in the book
    };
    std::vector<Entry> m_entries;
};

class FootnoteSet final : public SidebarSet {};
