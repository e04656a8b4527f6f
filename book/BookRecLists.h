// The record lists of one build, owned together and freed together.
#pragma once

#include "book/ChapterRecList.h"
#include "book/ImageRecList.h"
#include "book/IndexRecList.h"
#include "book/LinkRecList.h"
#include "book/PageRecList.h"
#include "book/SidebarSet.h"

// The layout scans a line again when it breaks the line at an earlier
// place or moves it to the next page, so the scanner meets the same code
// more than once. Each list survives that by a rule of its own:
//  - chapters: the layout removes the chapters recorded since the place it
//    goes back to (RemoveLast) and records them again where they are shown;
//    RemoveDuplicates drops any that remain twice (same title and position).
//  - links: an anchor is added by the first scan only; a second definition
//    of a name at another position warns and keeps the first. References
//    are added on every scan; Finish keeps each name once.
//  - sidebars and footnotes: added on every scan; SortAndRemoveDuplicates
//    keeps each name once.
//  - index: added on every scan; Group drops exact repeats (same term, text
//    record and offset).
//  - images: Add ignores a path already listed.
//  - page tables: entries are added only when a page is started, which a
//    rescan never repeats.
// tests/book/rescan_rules_test.cpp holds each list to its rule.
struct BookRecLists {
    PageRecList smallPages; // small device font
    PageRecList largePages; // large device font
    ChapterRecList chapters;
    ImageRecList images;
    LinkRecList links;
    SidebarSet sidebars;
    FootnoteSet footnotes;
    IndexRecList index;
};
