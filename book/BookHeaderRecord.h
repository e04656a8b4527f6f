// Record 0 of a book: the counts and first-record indexes of every section
// (layout in docs/ldb-format.md, "Book header record"). Written by
// AssembleBook, read by the vellumix-book tool.
#pragma once

#include <cstdint>

#include "book/BookFormat.h"

class CMemBuffer;

// The record's fields in file order. The fixed ones start at the values
// every book has.
struct BookHeaderRecord {
    uint16_t formatVersion = kBookFormatVersion;
    uint16_t reserved2 = 0;
    uint32_t features = kBaseFeatures; // | kDictionaryFeature for a dictionary
    uint16_t smallEntries = 0;
    uint16_t largeEntries = 0;
    uint16_t firstAfterText = 0; // 1 + number of text records
    uint16_t chapterCount = 0;
    uint16_t smallRecords = 0;
    uint16_t largeRecords = 0;
    uint16_t imageCount = 0;
    uint16_t linkCount = 0;
    uint16_t metadataCount = 1;
    uint16_t indexCount = 0;
    uint16_t footnoteCount = 0; // table record included, 0 when none
    uint16_t sidebarCount = 0;  // likewise
    uint16_t firstChapter = 0;
    uint8_t byte34 = kBookHeaderByte34;
    uint8_t byte35 = 0;
    uint16_t firstSmall = 0;
    uint16_t firstLarge = 0;
    uint16_t firstImage = 0;
    uint16_t firstLink = 0;
    uint16_t metadataIndex = 0;
    uint16_t firstIndex = 0;
    uint16_t firstFootnote = 0;
    uint16_t firstSidebar = 0;
    uint16_t textSizeIndex = 0;
    uint16_t textSizeCount = 1;
    uint32_t reserved56 = 0;
    uint32_t randomValue = 0;
};

// Appends the 132-byte record (bytes 64-131 zero).
void AppendBookHeaderRecord(const BookHeaderRecord& values, CMemBuffer& out);
// Decodes the first 132 bytes of a record 0; the caller has checked that
// they are there.
BookHeaderRecord ReadBookHeaderRecord(const uint8_t* bytes);

// The last record of a book: "MeTaInFo" and a NUL.
void AppendEndMarker(CMemBuffer& out);
