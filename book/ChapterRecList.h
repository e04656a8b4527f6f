// The chapters of a book: text position and title, one record each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "book/RecordList.h"

class ChapterRecList final : public IRecordList {
public:
    // Titles longer than this are cut (the stored field holds 84 bytes).
    static constexpr size_t kMaxTitleLength = 83;

    void Add(uint32_t position, std::string_view title);
    // Drops the most recent chapter (used when a chapter turns out empty).
    void RemoveLast();
    // Drops every chapter whose title and position equal those of the
    // chapter kept just before it; the rest keep their order.
    void RemoveDuplicates();

    uint32_t GetCount() const { return static_cast<uint32_t>(m_chapters.size()); }
    uint32_t GetPosition(uint32_t i) const { return m_chapters[i].position; }
    const std::string& GetTitle(uint32_t i) const { return m_chapters[i].title; }

    // Record: u32 text position, title, NUL (title length + 5 bytes).
    uint32_t GetRecordCount() const override { return GetCount(); }
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

private:
    struct Chapter {
        uint32_t position;
        std::string title;
    };
    std::vector<Chapter> m_chapters;
};
