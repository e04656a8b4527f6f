// Runs the page layout over a text given as a string and hands back the
// page tables as plain entries, so tests can compare whole tables.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "book/BookRecLists.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "markup/Paginate.h"

struct PageEntry {
    uint16_t page;
    uint16_t record;
    uint16_t offset;
    uint32_t position;
    uint16_t style;

    bool operator==(const PageEntry&) const = default;
};

inline void PrintTo(const PageEntry& e, std::ostream* out)
{
    *out << "{page " << e.page << ", record " << e.record << ", offset " << e.offset << ", position " << e.position
         << ", style 0x" << std::hex << e.style << std::dec << "}";
}

inline std::vector<PageEntry> Entries(const PageRecList& list)
{
    std::vector<PageEntry> entries;
    for (uint32_t i = 0; i < list.GetEntryCount(); ++i)
        entries.push_back(
            {list.GetPage(i), list.GetTextRecord(i), list.GetOffset(i), list.GetPosition(i), list.GetStyle(i)});
    return entries;
}

// Entries of a text held in one text record: every page's record is 1 and
// its offset its position.
inline std::vector<PageEntry> OneRecord(const std::vector<uint32_t>& positions, uint16_t style = 0)
{
    std::vector<PageEntry> entries;
    for (size_t i = 0; i < positions.size(); ++i)
        entries.push_back({static_cast<uint16_t>(i), 1, static_cast<uint16_t>(positions[i]), positions[i], style});
    return entries;
}

struct Pagination {
    BookRecLists lists;
    bool failed = false;

    std::vector<PageEntry> Small() const { return Entries(lists.smallPages); }
    std::vector<PageEntry> Large() const { return Entries(lists.largePages); }
};

// Paginates `text`. `recordEnds` are the ends of the text records (the
// leading 0 is added); empty means one record holding the whole text.
inline void Paginate(Pagination& run, const std::string& text, uint32_t options = 0,
                     std::vector<uint32_t> recordEnds = {}, const std::string& imageFolder = "/nonexistent_img")
{
    CMemBuffer prepared;
    prepared.Append(text.data(), static_cast<uint32_t>(text.size()));
    if (recordEnds.empty() && !text.empty())
        recordEnds.push_back(static_cast<uint32_t>(text.size()));
    CMemBuffer ends;
    ends.AppendU32(0);
    for (uint32_t end : recordEnds)
        ends.AppendU32(end);
    const CRkString imageDirectory(imageFolder.c_str(), kEncodingDeviceLatin);
    BookRecLists& l = run.lists;
    run.failed = PaginateBook(prepared, imageDirectory, ends, l.smallPages, l.largePages, l.chapters, l.images,
                              l.links, l.sidebars, l.footnotes, l.index, options);
}

// n short lines "a\n", 2 bytes each, one line of 11 pixels each.
inline std::string ShortLines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "a\n";
    return text;
}
