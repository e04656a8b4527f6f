#include <gtest/gtest.h>

#include "ByteHelpers.h"
#include "ReportCapture.h"
#include "book/BookHeaderRecord.h"
#include "book/BookRandom.h"
#include "book/ChapterRecList.h"
#include "book/InfoRecList.h"
#include "book/LinkRecList.h"
#include "book/PageRecList.h"
#include "book/RecordNames.h"
#include "book/SidebarSet.h"
#include "book/TextPosition.h"
#include "book/TextSizeRecList.h"

namespace {

std::vector<uint8_t> Record(const IRecordList& list, uint32_t i)
{
    CMemBuffer out;
    list.AppendRecord(i, out);
    EXPECT_EQ(out.GetSize(), list.GetRecordSize(i)) << "record " << i;
    return Bytes(out);
}

CMemBuffer Ends(std::initializer_list<uint32_t> values)
{
    CMemBuffer ends(4096);
    ends.SetElementSize(4);
    for (uint32_t v : values)
        ends.AppendU32(v);
    return ends;
}

TEST(ChapterRecList, DuplicatesNeedSameTitleAndPosition)
{
    ChapterRecList chapters;
    chapters.Add(10, "One");
    chapters.Add(10, "One"); // repeat: dropped
    chapters.Add(50, "One"); // same title elsewhere: kept
    chapters.Add(50, "Two");
    chapters.Add(50, "One"); // equal to an earlier one, but not to the last kept
    chapters.Add(90, "Empty");
    chapters.RemoveLast();
    chapters.RemoveDuplicates();
    ASSERT_EQ(chapters.GetRecordCount(), 4u);
    EXPECT_EQ(chapters.GetTitle(2), "Two");
    EXPECT_EQ(chapters.GetPosition(3), 50u);
    EXPECT_EQ(Record(chapters, 1), Expect().u32(50).cstr("One").bytes);
    EXPECT_EQ(chapters.GetRecordSize(4), 0u);
}

TEST(LinkRecList, FinishKeepsReferencedSortedAndWarns)
{
    ReportCapture capture;
    batchMode = false;
    LinkRecList links;
    links.Add(kUndefinedPosition, "Zeta"); // referenced before defined
    links.Add(300, "zeta");                // defined later, same link
    links.Add(100, "Alpha");
    links.Add(200, "ALPHA"); // second definition: warns, first kept
    links.Add(kUndefinedPosition, "alpha");
    links.Add(400, "Unused");              // never referenced: dropped
    links.Add(kUndefinedPosition, "Gone"); // never defined: kept, warned
    EXPECT_EQ(links.Find(NameHash("zeta"), "zeta"), 0);
    EXPECT_EQ(links.Find(NameHash("zeta"), "Zeta"), -1); // lookups use the stored lower case
    EXPECT_EQ(links.Find(NameHash("nothing"), "nothing"), -1);
    links.Finish();

    ASSERT_EQ(links.GetRecordCount(), 3u);
    EXPECT_EQ(links.GetName(0), "alpha");
    EXPECT_EQ(links.GetPosition(0), 100u);
    EXPECT_EQ(links.GetName(1), "gone");
    EXPECT_EQ(links.GetPosition(1), kUndefinedPosition);
    EXPECT_EQ(links.GetName(2), "zeta");
    EXPECT_EQ(links.GetPosition(2), 300u);
    EXPECT_EQ(Record(links, 1), Expect().u32(0xFFFFFFFF).cstr("gone").bytes);
    EXPECT_EQ(ReportCapture::Messages(), (std::vector<std::string>{"W:Link \"alpha\" defined more than once",
                                                                   "W:Link \"gone\" has not been defined"}));
}

TEST(LinkRecList, BatchModeSilencesWarnings)
{
    ReportCapture capture;
    batchMode = true;
    LinkRecList links;
    links.Add(1, "a");
    links.Add(2, "a");
    links.Add(kUndefinedPosition, "b");
    links.Finish();
    batchMode = false;
    EXPECT_TRUE(ReportCapture::Messages().empty());
    EXPECT_EQ(links.GetRecordCount(), 1u); // "a" was never referenced
}

TEST(SidebarSet, SortedDedupedTableRecord)
{
    FootnoteSet set;
    set.Add("Map");
    set.Add("city");
    set.Add("MAP");
    set.Add(std::string(300, 'x'));
    set.SortAndRemoveDuplicates();
    ASSERT_EQ(set.GetCount(), 3u);
    EXPECT_EQ(set.GetName(0), "city");
    EXPECT_EQ(set.GetName(1), "map");
    EXPECT_EQ(set.GetName(2).size(), 255u);
    set.SetRecordCount(0, 2);
    set.SetRecordCount(1, 1);
    set.SetRecordCount(2, 3);
    set.SetPosition(1, 77);
    EXPECT_EQ(set.GetPosition(1), 77u);

    CMemBuffer out;
    set.AppendTableRecord(out);
    const auto expected =
        Expect().u16(2).u8(4).cstr("city").u16(1).u8(3).cstr("map").u16(3).u8(255).cstr(std::string(255, 'x')).bytes;
    EXPECT_EQ(Bytes(out), expected);
    EXPECT_EQ(set.GetTableRecordSize(), 8u + 7u + 259u);
}

TEST(PageRecList, RecordsHold1333Entries)
{
    PageRecList pages;
    for (uint32_t i = 0; i < 1333; ++i)
        pages.Add(uint16_t(i), 1, uint16_t(i), i * 10, 0x0102);
    EXPECT_EQ(pages.GetRecordCount(), 1u);
    EXPECT_FALSE(pages.HasPartialRecord());
    EXPECT_EQ(pages.GetRecordSize(0), 15996u);
    pages.Add(1333, 2, 7, 70000, 0xBEEF);
    ASSERT_EQ(pages.GetRecordCount(), 2u);
    EXPECT_TRUE(pages.HasPartialRecord());
    EXPECT_EQ(Record(pages, 1), Expect().u16(1333).u16(2).u16(7).u32(70000).u16(0xBEEF).bytes);
    const auto first = Record(pages, 0);
    EXPECT_EQ(std::vector<uint8_t>(first.begin() + 12, first.begin() + 24),
              Expect().u16(1).u16(1).u16(1).u32(10).u16(0x0102).bytes);
    EXPECT_EQ(PageRecordCount(2666), 2u);
    EXPECT_EQ(PageRecordCount(0), 0u);
}

TEST(TextPosition, BoundariesBelongToTheEarlierRecord)
{
    const CMemBuffer ends = Ends({0, 8000, 16000, 20000});
    auto at = [&](uint32_t p) {
        const TextRecordPosition r = LocateTextPosition(ends, p);
        return std::make_pair(r.textRecord, r.offset);
    };
    EXPECT_EQ(at(0), std::make_pair(1u, 0u));
    EXPECT_EQ(at(1), std::make_pair(1u, 1u));
    EXPECT_EQ(at(8000), std::make_pair(1u, 8000u));
    EXPECT_EQ(at(8001), std::make_pair(2u, 1u));
    EXPECT_EQ(at(20000), std::make_pair(3u, 4000u));
}

TEST(TextSizeAndInfo, RecordsFromEndsAndStrings)
{
    const TextSizeRecList sizes(Ends({0, 8000, 16190, 16193}));
    EXPECT_EQ(sizes.GetRecordCount(), 1u);
    EXPECT_EQ(Record(sizes, 0), Expect().u16(8000).u16(8190).u16(3).bytes);

    ReportCapture capture;
    batchMode = false;
    InfoRecList info;
    info.Add("Title");
    info.Add("");
    info.Add(std::string(256, 'a')); // at the limit: no warning
    info.Add(std::string(257, 'b'));
    EXPECT_EQ(Record(info, 0),
              Expect().cstr("Title").u8(0).cstr(std::string(256, 'a')).cstr(std::string(257, 'b')).bytes);
    ASSERT_EQ(ReportCapture::Messages().size(), 1u);
    EXPECT_EQ(ReportCapture::Messages()[0],
              "W:The string \"" + std::string(257, 'b') + "\" is longer than 256 characters; is this necessary?");
}

TEST(BookHeaderRecord, FieldsAtTheirOffsets)
{
    BookHeaderRecord v;
    v.features = kBaseFeatures | kDictionaryFeature;
    v.smallEntries = 0x0102;
    v.largeEntries = 0x0304;
    v.firstAfterText = 5;
    v.chapterCount = 6;
    v.smallRecords = 7;
    v.largeRecords = 8;
    v.imageCount = 9;
    v.linkCount = 10;
    v.indexCount = 11;
    v.footnoteCount = 12;
    v.sidebarCount = 13;
    v.firstChapter = 14;
    v.firstSmall = 15;
    v.firstLarge = 16;
    v.firstImage = 17;
    v.firstLink = 18;
    v.metadataIndex = 19;
    v.firstIndex = 20;
    v.firstFootnote = 21;
    v.firstSidebar = 22;
    v.textSizeIndex = 23;
    v.randomValue = 0x12345678;
    CMemBuffer out;
    AppendBookHeaderRecord(v, out);
    const auto expected = Expect()
                              .u16(10)
                              .u16(0)
                              .u32(0x00046240)
                              .u16(0x0102)
                              .u16(0x0304)
                              .u16(5)
                              .u16(6)
                              .u16(7)
                              .u16(8)
                              .u16(9)
                              .u16(10)
                              .u16(1)
                              .u16(11)
                              .u16(12)
                              .u16(13)
                              .u16(14)
                              .u8(10)
                              .u8(0)
                              .u16(15)
                              .u16(16)
                              .u16(17)
                              .u16(18)
                              .u16(19)
                              .u16(20)
                              .u16(21)
                              .u16(22)
                              .u16(23)
                              .u16(1)
                              .u32(0)
                              .u32(0x12345678)
                              .zeros(68)
                              .bytes;
    ASSERT_EQ(expected.size(), 132u);
    EXPECT_EQ(Bytes(out), expected);

    CMemBuffer marker;
    AppendEndMarker(marker);
    EXPECT_EQ(Bytes(marker), Expect().cstr("MeTaInFo").bytes);
}

TEST(BookRandom, ClassicGeneratorDraws)
{
    CBookRandom random(1);
    // state 1*214013+2531011 = 2745024 -> 41; then 2745024*214013+2531011 mod 2^32 -> 18467
    EXPECT_EQ(random.Next(), 41u);
    EXPECT_EQ(random.Next(), 18467u);
    CBookRandom again(1);
    EXPECT_EQ(again.HeaderValue(), (41u << 16) | 18467u);
}

} // namespace
