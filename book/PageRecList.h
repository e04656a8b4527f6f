// A page table: where each screen page begins, for one device font.
#pragma once

#include <vector>

#include "book/BookFormat.h"
#include "book/RecordList.h"

class PageRecList final : public IRecordList {
public:
    // Entry layout: docs/ldb-format.md, "Page tables".
    static constexpr uint32_t kEntrySize = kPageEntrySize;
    // Entries per record: 16000 / 12 = 1333 (15996 bytes).
    static constexpr uint32_t kEntriesPerRecord = kPageEntriesPerRecord;

    void Add(uint16_t page, uint16_t textRecord, uint16_t offset, uint32_t position, uint16_t style);

    uint32_t GetEntryCount() const { return static_cast<uint32_t>(m_entries.size()); }
    uint32_t GetEntrySize() const { return kEntrySize; }
    // Whether the last record holds fewer than kEntriesPerRecord entries.
    bool HasPartialRecord() const { return GetEntryCount() % kEntriesPerRecord != 0; }

    uint32_t GetRecordCount() const override;
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

    uint16_t GetPage(uint32_t i) const { return m_entries[i].page; }
    uint16_t GetTextRecord(uint32_t i) const { return m_entries[i].textRecord; }
    uint16_t GetOffset(uint32_t i) const { return m_entries[i].offset; }
    uint32_t GetPosition(uint32_t i) const { return m_entries[i].position; }
    uint16_t GetStyle(uint32_t i) const { return m_entries[i].style; }

private:
    struct Entry {
        uint16_t page;
        uint16_t textRecord;
        uint16_t offset;
        uint32_t position;
        uint16_t style;
    };
    std::vector<Entry> m_entries;
};

// Page-table records for a list of entryCount entries.
uint32_t PageRecordCount(uint32_t entryCount);
