// Page tables of a scan as plain entries, so tests can compare whole
// tables.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "book/PageRecList.h"
#include "tests/markup/ScanHarness.h"

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

using PageTable = std::vector<PageEntry>;

inline PageTable Entries(const PageRecList& list)
{
    PageTable entries;
    for (uint32_t i = 0; i < list.GetEntryCount(); ++i)
        entries.push_back(
            {list.GetPage(i), list.GetTextRecord(i), list.GetOffset(i), list.GetPosition(i), list.GetStyle(i)});
    return entries;
}

inline PageTable SmallPages(const ScanResult& run)
{
    return Entries(run.lists.smallPages);
}

inline PageTable LargePages(const ScanResult& run)
{
    return Entries(run.lists.largePages);
}

// The table of a text held in one text record: every page's record is 1
// and its offset its position.
inline PageTable OneRecord(const std::vector<uint32_t>& positions, uint16_t style = 0)
{
    PageTable entries;
    for (size_t i = 0; i < positions.size(); ++i)
        entries.push_back({static_cast<uint16_t>(i), 1, static_cast<uint16_t>(positions[i]), positions[i], style});
    return entries;
}

// n short lines "a\n", 2 bytes each, one line of 11 pixels each.
inline std::string ShortLines(int n)
{
    std::string text;
    for (int i = 0; i < n; ++i)
        text += "a\n";
    return text;
}

inline std::string Repeat(const std::string& piece, int n)
{
    std::string text;
    text.reserve(piece.size() * n);
    for (int i = 0; i < n; ++i)
        text += piece;
    return text;
}

// Style word bits and the large font as the page entries show them.
inline constexpr uint16_t kEntryItalic = 0x8000;
inline constexpr uint16_t kEntryIndented = 0x2000;
inline constexpr uint16_t kEntryInvisible = 0x0800;
inline constexpr uint16_t kEntryLargeFont = 2 << 3;
