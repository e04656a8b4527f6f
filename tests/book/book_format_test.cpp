// The writer's and the reader's side of the shared layout: what is appended
// decodes to the same fields, so the two cannot drift apart.
#include <gtest/gtest.h>

#include <cstring>

#include "ByteHelpers.h"
#include "book/BookFormat.h"
#include "book/BookHeaderRecord.h"
#include "book/Container.h"
#include "framework/core/MemBuffer.h"

namespace {

TEST(BookFormat, ContainerHeaderAndEntryDecodeToWhatWasWritten)
{
    LDBHeader h;
    std::strncpy(h.name, "Round Trip", 31);
    // A distinct value in every field, so a field read from a neighbour's
    // offset shows.
    h.attributes = 0x0102;
    h.version = 0x0304;
    h.creationTime = 0x05060708;
    h.modificationTime = 0x090A0B0C;
    h.backupTime = 0x0D0E0F10;
    h.modificationNumber = 0x11121314;
    h.appInfoOffset = 0x15161718;
    h.sortInfoOffset = 0x191A1B1C;
    h.type = kDictionaryTypeCode;
    h.creator = kCreatorCode;
    h.uniqueIdSeed = 0x1D1E1F20;
    h.nextRecordList = 0x21222324;
    h.recordCount = 0x2526;
    CMemBuffer b;
    AppendLDBHeader(h, b);
    AppendRecordEntry(0xA1A2A3A4, 0x5A, kFirstUniqueId + 7, b);
    ASSERT_EQ(b.GetSize(), kContainerHeaderSize + kRecordEntrySize);

    const LDBHeader r = ReadLDBHeader(b.GetData());
    EXPECT_STREQ(r.name, "Round Trip");
    EXPECT_EQ(r.attributes, h.attributes);
    EXPECT_EQ(r.version, h.version);
    EXPECT_EQ(r.creationTime, h.creationTime);
    EXPECT_EQ(r.modificationTime, h.modificationTime);
    EXPECT_EQ(r.backupTime, h.backupTime);
    EXPECT_EQ(r.modificationNumber, h.modificationNumber);
    EXPECT_EQ(r.appInfoOffset, h.appInfoOffset);
    EXPECT_EQ(r.sortInfoOffset, h.sortInfoOffset);
    EXPECT_EQ(r.type, FourCC("VxDc"));
    EXPECT_EQ(r.creator, FourCC("VxCr"));
    EXPECT_EQ(r.uniqueIdSeed, h.uniqueIdSeed);
    EXPECT_EQ(r.nextRecordList, h.nextRecordList);
    EXPECT_EQ(r.recordCount, h.recordCount);

    const RecordEntry e = ReadRecordEntry(b.GetData() + kContainerHeaderSize);
    EXPECT_EQ(e.offset, 0xA1A2A3A4u);
    EXPECT_EQ(e.attributes, 0x5A);
    EXPECT_EQ(e.uniqueId, 0x6F8007u);
}

TEST(BookFormat, BookHeaderRecordDecodesToWhatWasWritten)
{
    BookHeaderRecord v;
    uint16_t next = 0x0101;
    for (uint16_t* field :
         {&v.smallEntries,  &v.largeEntries, &v.firstAfterText, &v.chapterCount,  &v.smallRecords,  &v.largeRecords,
          &v.imageCount,    &v.linkCount,    &v.indexCount,     &v.footnoteCount, &v.sidebarCount,  &v.firstChapter,
          &v.firstSmall,    &v.firstLarge,   &v.firstImage,     &v.firstLink,     &v.metadataIndex, &v.firstIndex,
          &v.firstFootnote, &v.firstSidebar, &v.textSizeIndex}) {
        *field = next;
        next = static_cast<uint16_t>(next + 0x0101);
    }
    v.randomValue = 0xCAFEF00D;
    CMemBuffer b;
    AppendBookHeaderRecord(v, b);
    ASSERT_EQ(b.GetSize(), kBookHeaderRecordSize);

    const BookHeaderRecord r = ReadBookHeaderRecord(b.GetData());
    // The fixed fields every book has.
    EXPECT_EQ(r.formatVersion, 10);
    EXPECT_EQ(r.features, 0x00006240u);
    EXPECT_EQ(r.metadataCount, 1);
    EXPECT_EQ(r.textSizeCount, 1);
    EXPECT_EQ(r.byte34, 10);
    EXPECT_EQ(r.byte35, 0);
    EXPECT_EQ(r.reserved2, 0);
    EXPECT_EQ(r.reserved56, 0u);
    EXPECT_EQ(r.randomValue, 0xCAFEF00Du);
    EXPECT_EQ(r.smallEntries, v.smallEntries);
    EXPECT_EQ(r.largeEntries, v.largeEntries);
    EXPECT_EQ(r.firstAfterText, v.firstAfterText);
    EXPECT_EQ(r.chapterCount, v.chapterCount);
    EXPECT_EQ(r.smallRecords, v.smallRecords);
    EXPECT_EQ(r.largeRecords, v.largeRecords);
    EXPECT_EQ(r.imageCount, v.imageCount);
    EXPECT_EQ(r.linkCount, v.linkCount);
    EXPECT_EQ(r.indexCount, v.indexCount);
    EXPECT_EQ(r.footnoteCount, v.footnoteCount);
    EXPECT_EQ(r.sidebarCount, v.sidebarCount);
    EXPECT_EQ(r.firstChapter, v.firstChapter);
    EXPECT_EQ(r.firstSmall, v.firstSmall);
    EXPECT_EQ(r.firstLarge, v.firstLarge);
    EXPECT_EQ(r.firstImage, v.firstImage);
    EXPECT_EQ(r.firstLink, v.firstLink);
    EXPECT_EQ(r.metadataIndex, v.metadataIndex);
    EXPECT_EQ(r.firstIndex, v.firstIndex);
    EXPECT_EQ(r.firstFootnote, v.firstFootnote);
    EXPECT_EQ(r.firstSidebar, v.firstSidebar);
    EXPECT_EQ(r.textSizeIndex, v.textSizeIndex);
    for (uint32_t i = kBookHeaderZerosAt; i < kBookHeaderRecordSize; ++i)
        ASSERT_EQ(b.GetData()[i], 0) << "byte " << i;
}

TEST(BookFormat, EndMarkerIsItsNineBytes)
{
    CMemBuffer b;
    AppendEndMarker(b);
    ASSERT_EQ(b.GetSize(), 9u);
    EXPECT_EQ(std::memcmp(b.GetData(), "MeTaInFo", 9), 0);
}

} // namespace
