// Record 0 of a book: the counts and first-record indexes of every section.
#pragma once

#include <cstdint>

class CMemBuffer;

inline constexpr uint32_t kBookHeaderRecordSize = 132;

struct BookHeaderValues {
    bool dictionary = false;
    uint16_t smallPageEntries = 0;
    uint16_t largePageEntries = 0;
    uint16_t firstAfterText = 0; // 1 + number of text records
    uint16_t chapterRecords = 0;
    uint16_t smallPageRecords = 0;
    uint16_t largePageRecords = 0;
    uint16_t imageRecords = 0;
    uint16_t linkRecords = 0;
    uint16_t indexRecords = 0;
    uint16_t footnoteRecords = 0; // table record included, 0 when none
    uint16_t sidebarRecords = 0;  // likewise
    uint16_t firstChapter = 0;
    uint16_t firstSmallPage = 0;
    uint16_t firstLargePage = 0;
    uint16_t firstImage = 0;
    uint16_t firstLink = 0;
    uint16_t metadataRecord = 0;
    uint16_t firstIndex = 0;
    uint16_t firstFootnote = 0;
    uint16_t firstSidebar = 0;
    uint16_t textSizeRecord = 0;
    uint32_t randomValue = 0;
};

// Appends the 132-byte record.
void AppendBookHeaderRecord(const BookHeaderValues& values, CMemBuffer& out);

// The last record of a book: "MeTaInFo" and a NUL.
inline constexpr uint32_t kEndMarkerSize = 9;
void AppendEndMarker(CMemBuffer& out);
