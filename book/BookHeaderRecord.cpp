#include "book/BookHeaderRecord.h"

#include "book/Container.h"
#include "framework/core/MemBuffer.h"

// Field by field: docs/ldb-format.md, "Book header record".
void AppendBookHeaderRecord(const BookHeaderRecord& v, CMemBuffer& out)
{
    out.AppendU16BE(v.formatVersion);
    out.AppendU16BE(v.reserved2);
    out.AppendU32BE(v.features);
    out.AppendU16BE(v.smallEntries);
    out.AppendU16BE(v.largeEntries);
    out.AppendU16BE(v.firstAfterText);
    out.AppendU16BE(v.chapterCount);
    out.AppendU16BE(v.smallRecords);
    out.AppendU16BE(v.largeRecords);
    out.AppendU16BE(v.imageCount);
    out.AppendU16BE(v.linkCount);
    out.AppendU16BE(v.metadataCount);
    out.AppendU16BE(v.indexCount);
    out.AppendU16BE(v.footnoteCount);
    out.AppendU16BE(v.sidebarCount);
    out.AppendU16BE(v.firstChapter);
    out.AppendU8(v.byte34);
    out.AppendU8(v.byte35);
    out.AppendU16BE(v.firstSmall);
    out.AppendU16BE(v.firstLarge);
    out.AppendU16BE(v.firstImage);
    out.AppendU16BE(v.firstLink);
    out.AppendU16BE(v.metadataIndex);
    out.AppendU16BE(v.firstIndex);
    out.AppendU16BE(v.firstFootnote);
    out.AppendU16BE(v.firstSidebar);
    out.AppendU16BE(v.textSizeIndex);
    out.AppendU16BE(v.textSizeCount);
    out.AppendU32BE(v.reserved56);
    out.AppendU32BE(v.randomValue);
    static const uint8_t zeros[kBookHeaderRecordSize - kBookHeaderZerosAt] = {};
    out.Append(zeros, sizeof zeros);
}

BookHeaderRecord ReadBookHeaderRecord(const uint8_t* p)
{
    BookHeaderRecord h;
    h.formatVersion = ReadU16At(p + 0);
    h.reserved2 = ReadU16At(p + 2);
    h.features = ReadU32At(p + 4);
    h.smallEntries = ReadU16At(p + 8);
    h.largeEntries = ReadU16At(p + 10);
    h.firstAfterText = ReadU16At(p + 12);
    h.chapterCount = ReadU16At(p + 14);
    h.smallRecords = ReadU16At(p + 16);
    h.largeRecords = ReadU16At(p + 18);
    h.imageCount = ReadU16At(p + 20);
    h.linkCount = ReadU16At(p + 22);
    h.metadataCount = ReadU16At(p + 24);
    h.indexCount = ReadU16At(p + 26);
    h.footnoteCount = ReadU16At(p + 28);
    h.sidebarCount = ReadU16At(p + 30);
    h.firstChapter = ReadU16At(p + 32);
    h.byte34 = p[34];
    h.byte35 = p[35];
    h.firstSmall = ReadU16At(p + 36);
    h.firstLarge = ReadU16At(p + 38);
    h.firstImage = ReadU16At(p + 40);
    h.firstLink = ReadU16At(p + 42);
    h.metadataIndex = ReadU16At(p + 44);
    h.firstIndex = ReadU16At(p + 46);
    h.firstFootnote = ReadU16At(p + 48);
    h.firstSidebar = ReadU16At(p + 50);
    h.textSizeIndex = ReadU16At(p + 52);
    h.textSizeCount = ReadU16At(p + 54);
    h.reserved56 = ReadU32At(p + 56);
    h.randomValue = ReadU32At(p + 60);
    return h;
}

void AppendEndMarker(CMemBuffer& out)
{
    out.Append(kEndMarker, kEndMarkerSize); // with its NUL
}
