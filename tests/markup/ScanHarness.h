// Runs the passes over a piece of markup and reads back what they recorded.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "book/BookRecLists.h"
#include "book/BuildOptions.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/RkString.h"
#include "markup/Paginate.h"

struct ScanResult {
    BookRecLists lists;
    bool failed = false;
};

// A directory that never exists, for texts that name no image.
inline const char* const kNoImageDirectory = "/nonexistent/vellumix_img";

// `ends` are the text record ends after 0 (default: one record holding
// the whole text).
inline std::unique_ptr<ScanResult> Scan(const std::string& text, uint32_t options = 0,
                                        const std::string& imageDirectory = kNoImageDirectory,
                                        std::vector<uint32_t> ends = {})
{
    CMemBuffer prepared(static_cast<uint32_t>(text.size()) + 1);
    prepared.Append(text.data(), static_cast<uint32_t>(text.size()));
    if (ends.empty() && !text.empty())
        ends.push_back(static_cast<uint32_t>(text.size()));
    CMemBuffer recordEnds(4096);
    recordEnds.SetElementSize(4);
    recordEnds.AppendU32(0);
    for (uint32_t end : ends)
        recordEnds.AppendU32(end);
    const CRkString directory(imageDirectory.c_str(), kEncodingDeviceLatin);

    auto result = std::make_unique<ScanResult>();
    BookRecLists& l = result->lists;
    result->failed = PaginateBook(prepared, directory, recordEnds, l.smallPages, l.largePages, l.chapters, l.images,
                                  l.links, l.sidebars, l.footnotes, l.index, options);
    return result;
}

using ChapterRows = std::vector<std::pair<uint32_t, std::string>>;
using LinkRows = std::vector<std::pair<std::string, uint32_t>>;
using IndexRows = std::vector<std::tuple<uint16_t, uint16_t, std::string>>;
using ImageRows = std::vector<std::tuple<std::string, uint16_t, uint16_t>>;
using Names = std::vector<std::string>;

inline ChapterRows Chapters(const ScanResult& r)
{
    ChapterRows rows;
    for (uint32_t i = 0; i < r.lists.chapters.GetCount(); ++i)
        rows.emplace_back(r.lists.chapters.GetPosition(i), r.lists.chapters.GetTitle(i));
    return rows;
}

inline LinkRows Links(const ScanResult& r)
{
    LinkRows rows;
    for (uint32_t i = 0; i < r.lists.links.GetCount(); ++i)
        rows.emplace_back(r.lists.links.GetName(i), r.lists.links.GetPosition(i));
    return rows;
}

inline IndexRows IndexEntries(const ScanResult& r)
{
    IndexRows rows;
    for (uint32_t i = 0; i < r.lists.index.GetCount(); ++i)
        rows.emplace_back(r.lists.index.GetTextRecord(i), r.lists.index.GetOffset(i), r.lists.index.GetTerm(i));
    return rows;
}

inline ImageRows Images(const ScanResult& r)
{
    ImageRows rows;
    for (uint32_t i = 0; i < r.lists.images.GetCount(); ++i)
        rows.emplace_back(r.lists.images.GetPath(i), r.lists.images.GetWidth(i), r.lists.images.GetHeight(i));
    return rows;
}

inline Names SetNames(const SidebarSet& set)
{
    Names names;
    for (uint32_t i = 0; i < set.GetCount(); ++i)
        names.push_back(set.GetName(i));
    return names;
}

// Messages of one run as the report capture lists them.
using Messages = std::vector<std::string>;

// The progress lines of the two layout passes, as the report capture lists them.
inline const std::string kSmall = "S:Generating page tables for the small font...";
inline const std::string kLarge = "S:Generating page tables for the large font...";
