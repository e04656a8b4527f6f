#include "book/BookHeaderRecord.h"

#include "framework/core/MemBuffer.h"

namespace {

constexpr uint32_t kFeatureBits = 0x00006240u;
constexpr uint32_t kDictionaryBit = 0x00040000u;

} // namespace

// Book header record, 132 bytes, big-endian:
//   offset width  value
//      0   u16    format version 10
//      2   u16    0
//      4   u32    feature bits 0x00006240 (| 0x00040000 for a dictionary)
//      8   u16    small-font page-table entries
//     10   u16    large-font page-table entries
//     12   u16    first record after the text records (1 + text records)
//     14   u16    chapter records
//     16   u16    small-font page-table records
//     18   u16    large-font page-table records
//     20   u16    image records
//     22   u16    link records
//     24   u16    metadata records (1)
//     26   u16    index records
//     28   u16    footnote records (table included, 0 when none)
//     30   u16    sidebar records (table included, 0 when none)
//     32   u16    first chapter record
//     34   u8     10
//     35   u8     0
//     36   u16    first small-font page-table record
//     38   u16    first large-font page-table record
//     40   u16    first image record
//     42   u16    first link record
//     44   u16    metadata record
//     46   u16    first index record
//     48   u16    first footnote record
//     50   u16    first sidebar record
//     52   u16    text-size record
//     54   u16    text-size records (1)
//     56   u32    0
//     60   u32    pseudo-random value
//     64   68     zero
void AppendBookHeaderRecord(const BookHeaderValues& v, CMemBuffer& out)
{
    out.AppendU16BE(10);
    out.AppendU16BE(0);
    out.AppendU32BE(kFeatureBits | (v.dictionary ? kDictionaryBit : 0));
    out.AppendU16BE(v.smallPageEntries);
    out.AppendU16BE(v.largePageEntries);
    out.AppendU16BE(v.firstAfterText);
    out.AppendU16BE(v.chapterRecords);
    out.AppendU16BE(v.smallPageRecords);
    out.AppendU16BE(v.largePageRecords);
    out.AppendU16BE(v.imageRecords);
    out.AppendU16BE(v.linkRecords);
    out.AppendU16BE(1);
    out.AppendU16BE(v.indexRecords);
    out.AppendU16BE(v.footnoteRecords);
    out.AppendU16BE(v.sidebarRecords);
    out.AppendU16BE(v.firstChapter);
    out.AppendU8(10);
    out.AppendU8(0);
    out.AppendU16BE(v.firstSmallPage);
    out.AppendU16BE(v.firstLargePage);
    out.AppendU16BE(v.firstImage);
    out.AppendU16BE(v.firstLink);
    out.AppendU16BE(v.metadataRecord);
    out.AppendU16BE(v.firstIndex);
    out.AppendU16BE(v.firstFootnote);
    out.AppendU16BE(v.firstSidebar);
    out.AppendU16BE(v.textSizeRecord);
    out.AppendU16BE(1);
    out.AppendU32BE(0);
    out.AppendU32BE(v.randomValue);
    static const uint8_t zeros[68] = {};
    out.Append(zeros, sizeof zeros);
}

// End marker record, 9 bytes:
//   offset width  field
//      0   8      "MeTaInFo"
//      8   1      NUL
void AppendEndMarker(CMemBuffer& out)
{
    out.Append("MeTaInFo", kEndMarkerSize); // with its NUL
}
