// The index of a book: terms with the text record and offset they point
// to, sorted by the index collation and cut into groups of about 62000
// bytes, one record per group after a heading record.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "book/BookFormat.h"
#include "book/RecordList.h"

class IndexRecList final : public IRecordList {
public:
    // Terms longer than this are cut (the stored field holds 82 bytes).
    static constexpr size_t kMaxTermLength = 81;
    // A group is closed by the first entry that takes it past this size.
    static constexpr uint32_t kGroupLimit = kIndexGroupLimit;

    void Add(uint16_t textRecord, uint16_t offset, std::string_view term);
    // Sorts (collation, then text record, then offset), drops exact
    // repeats and cuts the entries into groups. Called after the last Add;
    // the record operations below describe the grouped list.
    void Group();
    bool IsGrouped() const { return m_grouped; }

    uint32_t GetCount() const { return static_cast<uint32_t>(m_entries.size()); }
    uint16_t GetTextRecord(uint32_t i) const { return m_entries[i].textRecord; }
    uint16_t GetOffset(uint32_t i) const { return m_entries[i].offset; }
    const std::string& GetTerm(uint32_t i) const { return m_entries[i].term; }
    uint32_t GetGroupCount() const { return static_cast<uint32_t>(m_groups.size()); }

    // None without entries; else the heading record (first term of every
    // group, each with its NUL) and one record per group (each entry as
    // u16 text record, u16 offset, term, NUL).
    uint32_t GetRecordCount() const override;
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

private:
    struct Entry {
        uint16_t textRecord;
        uint16_t offset;
        std::string term;
    };
    struct EntryGroup {
        uint32_t firstEntry;
        uint32_t endEntry;
        uint32_t size;
    };

    std::vector<Entry> m_entries;
    std::vector<EntryGroup> m_groups;
    bool m_grouped = true;
};
