#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ByteHelpers.h"
#include "ReportCapture.h"
#include "TempDir.h"
#include "book/AssembleBook.h"
#include "book/BookInfo.h"
#include "book/BookRecLists.h"
#include "book/BuildLists.h"
#include "book/BuildOptions.h"
#include "book/Compressor.h"
#include "book/Container.h"
#include "book/LDBFile.h"
#include "framework/io/File.h"

namespace {

// A small book: two text records, two chapters, two links, a two-entry
// index, two small-font pages, no large-font pages, no images or notes.
struct SmallBook {
    BuildLists lists;
    BookRecLists rec;
    CMemBuffer text{8192};
    CMemBuffer sidebarText;
    CMemBuffer footnoteText;
    CBookInfo info;

    SmallBook()
    {
        lists.textRecordEnds.AppendU32(0);
        lists.textRecordSizes.AppendU32(0);
        AddTextRecord("Chapter one text ");   // 17 bytes
        AddTextRecord("and the rest of it."); // 19 bytes
        rec.chapters.Add(0, "One");
        rec.chapters.Add(17, "Two");
        rec.links.Add(5, "Here");
        rec.links.Add(kUndefinedPosition, "here");
        rec.links.Add(kUndefinedPosition, "Missing");
        rec.links.Finish();
        rec.index.Add(2, 3, "rest");
        rec.index.Add(1, 0, "chapter");
        rec.smallPages.Add(0, 1, 0, 0, 0);
        rec.smallPages.Add(1, 2, 4, 21, 0x10);
        info.title.Assign("T", kEncodingDeviceLatin);
        info.author.Assign("A", kEncodingDeviceLatin);
    }
    void AddTextRecord(const std::string& chunk)
    {
        uint8_t out[8200];
        const uint32_t size = CompressRecord(chunk.data(), uint32_t(chunk.size()), out, 8192);
        text.Append(out, size);
        lists.textRecordSizes.AppendU32(size);
        lists.textRecordEnds.AppendU32(lists.textRecordEnds.GetU32(lists.textRecordEnds.GetCount() - 1) +
                                       uint32_t(chunk.size()));
    }
    AssembleInputs Inputs(const CFile& output, uint32_t options = 0)
    {
        AssembleInputs in;
        in.text = &text;
        in.sidebarText = &sidebarText;
        in.footnoteText = &footnoteText;
        in.output = &output;
        in.databaseName = "Small Book";
        in.info = &info;
        in.recLists = &rec;
        in.buildLists = &lists;
        in.options = options;
        in.creationTime = 1700000000;
        in.randomValue = 0x00290048;
        return in;
    }
};

TEST(AssembleBook, SmallBookLayoutByHand)
{
    ReportCapture capture;
    TempDir dir;
    SmallBook book;
    const std::string path = dir.File("small.ldb");
    const CFile output(path.c_str());
    ASSERT_TRUE(AssembleBook(book.Inputs(output)));
    EXPECT_EQ(ReportCapture::Messages().back(), "S:Done.");
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"small.ldb"}); // no temporary left

    const std::string s = ReadBytes(path);
    const std::vector<uint8_t> f(s.begin(), s.end());
    // Records: 0 header, 1-2 text, 3 small pages, (large pages none at 4),
    // 4-5 chapters, 6-7 links, (images none at 8), 8-9 index, 10 metadata,
    // (sidebars, footnotes none at 11), 11 text sizes, 12 end marker.
    const uint32_t n = 13;
    const uint32_t c1 = book.lists.textRecordSizes.GetU32(1);
    const uint32_t c2 = book.lists.textRecordSizes.GetU32(2);
    const std::vector<uint32_t> sizes = {132, c1, c2, 24, 8, 8, 9, 12, 8 /*"chapter"+NUL*/, 9 + 12, 7, 4, 9};
    uint32_t total = 80 + 8 * n;
    for (uint32_t v : sizes)
        total += v;
    ASSERT_EQ(f.size(), total);

    Expect header;
    header.cstr("Small Book")
        .zeros(32 - 11)
        .u16(8)
        .u16(0)
        .u32(1700000000)
        .u32(1700000001)
        .u32(0)
        .u32(0)
        .u32(0)
        .u32(0)
        .str("VxBk")
        .str("VxCr")
        .u32(0)
        .u32(0)
        .u16(n);
    EXPECT_EQ(std::vector<uint8_t>(f.begin(), f.begin() + 78), header.bytes);
    uint32_t offset = 80 + 8 * n;
    for (uint32_t i = 0; i < n; ++i) {
        EXPECT_EQ(U32At(f, 78 + 8 * i), offset) << "record " << i;
        EXPECT_EQ(U32At(f, 78 + 8 * i + 4), 0x6F8000 + i) << "record " << i;
        offset += sizes[i];
    }
    EXPECT_EQ(U16At(f, 78 + 8 * n), 0);

    const size_t r0 = 80 + 8 * n;
    const auto record0 = Expect()
                             .u16(10)
                             .u16(0)
                             .u32(0x6240)
                             .u16(2)
                             .u16(0)
                             .u16(3)
                             .u16(2)
                             .u16(1)
                             .u16(0)
                             .u16(0)
                             .u16(2)
                             .u16(1)
                             .u16(2)
                             .u16(0)
                             .u16(0)
                             .u16(4)
                             .u8(10)
                             .u8(0)
                             .u16(3)
                             .u16(4)
                             .u16(8)
                             .u16(6)
                             .u16(10)
                             .u16(8)
                             .u16(11)
                             .u16(11)
                             .u16(11)
                             .u16(1)
                             .u32(0)
                             .u32(0x00290048)
                             .zeros(68)
                             .bytes;
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + r0, f.begin() + r0 + 132), record0);

    // The text records unchanged, then the sections, then the marker.
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + r0 + 132, f.begin() + r0 + 132 + c1 + c2), Bytes(book.text));
    size_t at = r0 + 132 + c1 + c2;
    const auto rest = Expect()
                          .u16(0)
                          .u16(1)
                          .u16(0)
                          .u32(0)
                          .u16(0)
                          .u16(1)
                          .u16(2)
                          .u16(4)
                          .u32(21)
                          .u16(0x10) // pages
                          .u32(0)
                          .cstr("One")
                          .u32(17)
                          .cstr("Two") // chapters
                          .u32(5)
                          .cstr("here")
                          .u32(0xFFFFFFFF)
                          .cstr("missing") // links
                          .cstr("chapter") // index heading
                          .u16(1)
                          .u16(0)
                          .cstr("chapter")
                          .u16(2)
                          .u16(3)
                          .cstr("rest") // index group
                          .cstr("T")
                          .cstr("A")
                          .u8(0)
                          .u8(0)
                          .u8(0) // metadata
                          .u16(17)
                          .u16(19) // text sizes
                          .cstr("MeTaInFo")
                          .bytes;
    EXPECT_EQ(std::vector<uint8_t>(f.begin() + at, f.end()), rest);

    // The reader sees the same records.
    CLDBFile reader(output);
    ASSERT_TRUE(reader.IsValid());
    EXPECT_STREQ(reader.GetName(), "Small Book");
    EXPECT_EQ(reader.GetType(), FourCC("VxBk"));
    EXPECT_EQ(reader.GetCreator(), FourCC("VxCr"));
    EXPECT_EQ(reader.GetVersion(), 0);
    EXPECT_EQ(reader.GetHeader().modificationTime, reader.GetHeader().creationTime + 1);
    ASSERT_EQ(reader.GetRecordCount(), n);
    uint64_t sum = 80 + 8 * n;
    for (uint32_t i = 0; i < n; ++i) {
        EXPECT_EQ(reader.GetRecordSize(i), sizes[i]) << "record " << i;
        sum += reader.GetRecordSize(i);
    }
    EXPECT_EQ(sum, f.size());
    EXPECT_TRUE(reader.IsComplete());
    CMemBuffer last;
    ASSERT_EQ(reader.ReadRecord(n - 1, last), 0u);
    EXPECT_EQ(Bytes(last), Expect().cstr("MeTaInFo").bytes);
    CMemBuffer first;
    ASSERT_EQ(reader.ReadRecord(1, first), 0u);
    CZLibUncompressor unz;
    CMemBuffer* plain = unz.Uncompress(first, 8192);
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(plain->GetData()), plain->GetSize()), "Chapter one text ");
    plain->Release();
    EXPECT_EQ(reader.ReadRecord(n, last), 1u);
    reader.Close();
    CRkString name;
    EXPECT_TRUE(CLDBFile::ProbeName(output, name));
    EXPECT_EQ(name.GetLength(), 10u);
    EXPECT_EQ(CLDBFile::ProbeType(output), FourCC("VxBk"));
    EXPECT_EQ(CLDBFile::ProbeCreator(output), FourCC("VxCr"));
}

TEST(AssembleBook, NotesDictionaryAndReplacement)
{
    ReportCapture capture;
    TempDir dir;
    SmallBook book;
    book.rec.smallPages = PageRecList(); // a dictionary has no page tables
    book.rec.sidebars.Add("Map");
    book.rec.sidebars.SortAndRemoveDuplicates();
    book.rec.sidebars.SetRecordCount(0, 2);
    book.lists.sidebarRecordSizes.AppendU32(0);
    book.lists.sidebarRecordSizes.AppendU32(3);
    book.lists.sidebarRecordSizes.AppendU32(2);
    book.sidebarText.Append("abcde", 5);

    const std::string path = dir.File("dict.ldb");
    WriteBytes(path, "old contents");
    const CFile output(path.c_str());
    ASSERT_TRUE(AssembleBook(book.Inputs(output, Dictionary)));

    CLDBFile reader(output);
    ASSERT_TRUE(reader.IsValid());
    EXPECT_EQ(reader.GetType(), FourCC("VxDc"));
    // Header, 2 text, 2 chapters, 2 links, 2 index, metadata, 3 sidebar,
    // text sizes, end marker.
    ASSERT_EQ(reader.GetRecordCount(), 15u);
    CMemBuffer r0;
    ASSERT_EQ(reader.ReadRecord(0, r0), 0u);
    const auto h = Bytes(r0);
    EXPECT_EQ(U32At(h, 4), 0x00046240u);
    EXPECT_EQ(U16At(h, 8), 0);   // small-font entries
    EXPECT_EQ(U16At(h, 16), 0);  // small-font records
    EXPECT_EQ(U16At(h, 36), 3);  // where they would start
    EXPECT_EQ(U16At(h, 30), 3);  // sidebar records, table included
    EXPECT_EQ(U16At(h, 50), 10); // first sidebar record
    EXPECT_EQ(U16At(h, 28), 0);  // no footnotes
    EXPECT_EQ(U16At(h, 48), 13);
    EXPECT_EQ(U16At(h, 52), 13); // text sizes
    CMemBuffer table;
    ASSERT_EQ(reader.ReadRecord(10, table), 0u);
    EXPECT_EQ(Bytes(table), Expect().u16(2).u8(3).cstr("map").bytes);
    CMemBuffer second;
    ASSERT_EQ(reader.ReadRecord(12, second), 0u);
    EXPECT_EQ(Bytes(second), Expect().str("de").bytes);
    EXPECT_TRUE(reader.IsComplete());
}

TEST(AssembleBook, FailureLeavesNoFileAndNoDone)
{
    ReportCapture capture;
    TempDir dir;
    SmallBook book;
    const std::string missing = (dir.Path() / "no-such-folder" / "book.ldb").string();
    const CFile output(missing.c_str());
    EXPECT_FALSE(AssembleBook(book.Inputs(output)));
    ASSERT_FALSE(ReportCapture::Messages().empty());
    EXPECT_EQ(ReportCapture::Messages().back(), "E:An error occurred writing the file " + missing + ".");
    EXPECT_EQ(ReportCapture::Count("S:Done."), 0u);
    EXPECT_TRUE(dir.Names().empty());

    // The output name is taken by a folder: the finished file cannot be
    // moved there, and the temporary file is removed.
    ReportCapture::Messages().clear();
    std::filesystem::create_directory(dir.File("taken.ldb"));
    std::filesystem::create_directory(dir.File("taken.ldb/inside"));
    const CFile taken(dir.File("taken.ldb").c_str());
    EXPECT_FALSE(AssembleBook(book.Inputs(taken)));
    EXPECT_EQ(ReportCapture::Count("S:Done."), 0u);
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"taken.ldb"});
}

TEST(AssembleBook, SizeListsMustMatchTheBuffers)
{
    ReportCapture capture;
    TempDir dir;
    SmallBook book;
    book.lists.sidebarRecordSizes.AppendU32(0);
    book.lists.sidebarRecordSizes.AppendU32(10); // but no sidebar bytes
    const CFile output(dir.File("bad.ldb").c_str());
    EXPECT_FALSE(AssembleBook(book.Inputs(output)));
    EXPECT_TRUE(dir.Names().empty());
    EXPECT_EQ(ReportCapture::Count("S:Done."), 0u);
}

TEST(CountBookRecords, LimitIs65506)
{
    ReportCapture capture;
    SmallBook book;
    EXPECT_FALSE(CountBookRecords(book.lists, book.rec)); // 3 + 1 + 2 + 2 + 2 + 2 + 1 = 13
    // Add text-record slots up to a total of 65505, then one more.
    for (uint32_t i = 13; i < 65505; ++i)
        book.lists.textRecordSizes.AppendU32(1);
    EXPECT_FALSE(CountBookRecords(book.lists, book.rec));
    book.lists.textRecordSizes.AppendU32(1);
    EXPECT_TRUE(CountBookRecords(book.lists, book.rec));
    EXPECT_EQ(ReportCapture::Messages().back(), "E:Too many records (65506 of them) for a .ldb file!");
}

} // namespace
