#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "tests/tools/SyntheticBook.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookDump.h"
#include "tools/book/BookImage.h"

namespace {

using synthetic::Bytes;

std::vector<std::string> Check(const Bytes& bytes)
{
    return CheckBook(CBookImage(bytes));
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

// True when some problem line contains every one of the pieces.
bool HasProblem(const std::vector<std::string>& problems, std::initializer_list<const char*> pieces)
{
    for (const std::string& line : problems) {
        bool all = true;
        for (const char* piece : pieces)
            all = all && line.find(piece) != std::string::npos;
        if (all)
            return true;
    }
    return false;
}

TEST(BookCheck, AcceptsWellFormedBooks)
{
    synthetic::Book book;
    EXPECT_EQ(Joined(Check(synthetic::Compose(book))), "");
    book.withIndex = false;
    book.withSidebar = false;
    book.dictionary = true;
    book.links.clear();
    EXPECT_EQ(Joined(Check(synthetic::Compose(book))), "");
}

TEST(BookCheck, ReportsWrongOffsets)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    Bytes bad = good;
    synthetic::SetU32(bad, synthetic::EntryOffset(3), uint32_t(good.size()) + 100);
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 3: offset", "expected at most the file size"})) << Joined(problems);

    // Shifting the start of the second text record damages both text records.
    bad = good;
    size_t at = synthetic::EntryOffset(2);
    synthetic::SetU32(bad, at, synthetic::GetU32(good, at) + 1);
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 1 (text record 1)"})) << Joined(problems);
    EXPECT_TRUE(HasProblem(problems, {"record 2 (text record 2)"})) << Joined(problems);

    bad = good;
    synthetic::SetU32(bad, synthetic::EntryOffset(0), synthetic::GetU32(good, synthetic::EntryOffset(0)) - 2);
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 0: offset: expected 200", "found 198"})) << Joined(problems);

    // Offsets running backwards.
    bad = good;
    synthetic::SetU32(bad, synthetic::EntryOffset(6), synthetic::GetU32(good, synthetic::EntryOffset(4)));
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 6: offset: expected at least"})) << Joined(problems);
}

TEST(BookCheck, ReportsTruncatedFiles)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    Bytes bad(good.begin(), good.end() - 4);
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"(end marker): size: expected 9 bytes, found 5"})) << Joined(problems);

    bad.assign(good.begin(), good.begin() + 100);
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record list: expected 200 bytes", "found a file of 100 bytes"}))
        << Joined(problems);

    bad.assign(good.begin(), good.begin() + 40);
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"container header: expected 78 bytes", "40 bytes"})) << Joined(problems);

    // Every shorter prefix of a good book is found faulty.
    for (size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(Check(Bytes(good.begin(), good.begin() + n)).empty()) << "prefix of " << n << " bytes";
}

TEST(BookCheck, ReportsBadEndMarker)
{
    Bytes bad = synthetic::Compose(synthetic::Book());
    bad[bad.size() - 3] = 'X';
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 14 (end marker)", "MeTaInXo"})) << Joined(problems);

    // A marker of the right bytes followed by one more byte is 10 bytes long.
    bad = synthetic::Compose(synthetic::Book());
    bad.push_back(0);
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 14 (end marker): size: expected 9 bytes, found 10"})) << Joined(problems);
}

TEST(BookCheck, ReportsWrongTextSize)
{
    synthetic::Book book;
    Bytes bad = synthetic::Compose(book);
    // The text-size record is record 13; its second entry gives record 2's length.
    size_t at = synthetic::GetU32(bad, synthetic::EntryOffset(13)) + 2;
    uint16_t real = uint16_t(book.texts[1].size());
    bad[at + 1] = uint8_t(real + 1);
    auto problems = Check(bad);
    std::string expected = "decompressed length: expected " + std::to_string(real + 1) + " (text-size record), found " +
                           std::to_string(real);
    EXPECT_TRUE(HasProblem(problems, {"record 2 (text record 2)", expected.c_str()})) << Joined(problems);
    // The page entries sit at offset 0 of each record, so only the text
    // record is at fault.
    EXPECT_EQ(problems.size(), 1u) << Joined(problems);
}

TEST(BookCheck, ReportsHeaderRecordAgainstRecordList)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    size_t header = synthetic::GetU32(good, synthetic::EntryOffset(0));

    Bytes bad = good;
    bad[header + 15] += 1; // one chapter more than there are
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"first links record: expected index 7, found 6"})) << Joined(problems);

    bad = good;
    bad[header + 44 + 1] += 1; // metadata index
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"first metadata record: expected index 10, found 11"})) << Joined(problems);

    bad = good;
    bad[header + 9] = 7; // small-font page entries
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"small-font page table entries: expected 2", "found 7"})) << Joined(problems);

    bad = good;
    bad[header + 1] = 9; // format version
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"format version: expected 10, found 9"})) << Joined(problems);
}

TEST(BookCheck, ReportsRecordContents)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    // Duplicate unique ID: record 5 takes record 4's.
    Bytes bad = good;
    bad[synthetic::EntryOffset(5) + 7] = bad[synthetic::EntryOffset(4) + 7];
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 5: unique ID: expected 0x6F8005", "found 0x6F8004"})) << Joined(problems);

    // A chapter title without its NUL.
    bad = good;
    bad[synthetic::GetU32(good, synthetic::EntryOffset(6)) - 1] = 'x';
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 5 (chapters)", "no NUL"})) << Joined(problems);

    // A page entry whose position disagrees with its record and offset.
    bad = good;
    size_t page = synthetic::GetU32(good, synthetic::EntryOffset(3)) + 12;
    bad[page + 9] += 1;
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 3 (small-font page table), entry 1: position"})) << Joined(problems);

    // Wrong type code.
    bad = good;
    bad[62] = 'X';
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"type code", "found \"VxXk\""})) << Joined(problems);

    // Sidebar table claiming two text records for one.
    bad = good;
    bad[synthetic::GetU32(good, synthetic::EntryOffset(11)) + 1] = 2;
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"sidebars table", "expected 1", "found 2"})) << Joined(problems);
}

// Record numbers of the synthetic book: 0 header, 1-2 text, 3 small pages,
// 4 large pages, 5 chapter, 6-7 links, then (with an image) 8 image, index
// 9-10, metadata 11, sidebar table 12.
size_t RecordStart(const Bytes& book, uint32_t record)
{
    return synthetic::GetU32(book, synthetic::EntryOffset(record));
}

TEST(BookCheck, ReportsPageNumbersAndOrder)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    Bytes bad = good;
    bad[RecordStart(good, 3) + 12 + 1] = 5; // second page numbered 5
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 3 (small-font page table), entry 1: page number: expected 1, found 5"}))
        << Joined(problems);

    // The second large-font page placed before the first: its position and
    // its record/offset both move, so only the order is wrong.
    bad = good;
    size_t second = RecordStart(good, 4) + 12;
    synthetic::SetU32(bad, second + 6, 0);
    bad[second + 3] = 1;
    problems = Check(bad);
    EXPECT_FALSE(HasProblem(problems, {"expected at least"})) << Joined(problems);
    synthetic::SetU32(bad, RecordStart(good, 4) + 6, 30); // first page now at 30
    bad[RecordStart(good, 4) + 5] = 30;
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 4 (large-font page table), entry 1: position: expected at least 30 "
                                      "(the page before), found 0"}))
        << Joined(problems);

    bad = good;
    bad[RecordStart(good, 3) + 11] = 0x1B; // alignment 3, font 3
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 3 (small-font page table), entry 0: style word: expected alignment 0-2, "
                                      "font 0-2 and bit 0x0004 clear, found 0x001B"}))
        << Joined(problems);
    std::ostringstream out;
    bad[RecordStart(good, 3) + 10] = 0x84;
    bad[RecordStart(good, 3) + 11] = 0x12; // 0x8412: italic, reference, font 2, right
    DumpBook(CBookImage(bad), DumpOptions{}, out);
    EXPECT_NE(out.str().find("0x8412  right, font 2, italic, reference"), std::string::npos) << out.str();

    // A dictionary carries no page tables.
    synthetic::Book dictionary;
    dictionary.dictionary = true;
    bad = synthetic::Compose(dictionary);
    bad[8 + RecordStart(bad, 0) + 1] = 2; // small-font entries
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"page entries: expected none in a dictionary, found 2 small"}))
        << Joined(problems);
}

TEST(BookCheck, ReportsLinkAndNoteNameOrder)
{
    synthetic::Book book;
    book.links = {{10, "zebra"}, {20, "apple"}};
    auto problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 7 (links): name: expected a name after \"zebra\"", "\"apple\""}))
        << Joined(problems);
    book.links = {{10, "Apple"}, {20, "apple"}};
    problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 6 (links): name: expected lower case, found \"Apple\""}))
        << Joined(problems);
    // Same name twice.
    book.links = {{10, "apple"}, {20, "apple"}};
    problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 7 (links): name: expected a name after"})) << Joined(problems);

    Bytes bad = synthetic::Compose(synthetic::Book());
    bad[RecordStart(bad, 11) + 3] = 'N'; // sidebar "note" becomes "Note"
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 11 (sidebars table), byte 0: name: expected lower case", "\"Note\""}))
        << Joined(problems);
}

TEST(BookCheck, ReportsImageRecordsAgainstTheirPng)
{
    synthetic::Book book;
    book.imagePng = synthetic::TinyPng(20, 10);
    book.imageWidth = 20;
    book.imageHeight = 10;
    EXPECT_EQ(Joined(Check(synthetic::Compose(book))), "");

    book.imageHeight = 11;
    auto problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 8 (images): size: expected 20x10 (the PNG header), found 20x11"}))
        << Joined(problems);

    book.imageHeight = 10;
    book.imagePng = synthetic::TinyPng(20, 10, "tEXt");
    problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 8 (images): PNG chunks: expected no ancillary chunk, found tEXt"}))
        << Joined(problems);

    book.imagePng = synthetic::TinyPng(20, 10);
    book.imagePng.resize(book.imagePng.size() - 12); // no IEND
    problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 8 (images): expected a PNG file at byte 62, found no IEND chunk"}))
        << Joined(problems);

    book.imagePng = synthetic::TinyPng(20, 10);
    book.imagePng[25] = 2; // truecolour
    book.imagePng[28] = 1; // interlaced
    problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"PNG colour type: expected 0 or 3, found 2"})) << Joined(problems);
    EXPECT_TRUE(HasProblem(problems, {"PNG interlace method: expected 0, found 1"})) << Joined(problems);

    std::ostringstream out;
    book.imagePng = synthetic::TinyPng(20, 10);
    DumpBook(CBookImage(synthetic::Compose(book)), DumpOptions{}, out);
    EXPECT_NE(out.str().find("  record 8: \"picture.png\", tag \"PNG \", 20x10, "), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("    PNG 20x10, bit depth 8, colour type 3 (palette), not interlaced, 2 palette entries"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("    chunks: IHDR PLTE IDAT IEND\n"), std::string::npos);
}

TEST(BookCheck, ReportsIndexHeadingsAndFeatureBits)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    Bytes bad = good;
    bad[RecordStart(good, 8)] = 'b'; // heading "bpple", group starts with "apple"
    auto problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 9 (index entries): first term: expected \"bpple\" (the group heading), "
                                      "found \"apple\""}))
        << Joined(problems);

    bad = good;
    bad[RecordStart(good, 0) + 5] = 0x04; // 0x00046240: a dictionary's bits on a book
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"feature bits: expected 0x00006240 (a book), found 0x00046240"}))
        << Joined(problems);
}

// Chapters, anchors and index entries point at their codes in the text.
TEST(BookCheck, ReportsPositionsThatMissTheirCodes)
{
    synthetic::Book book;
    book.chapters = {{1, "Chapter one"}};
    book.links = {{13, "anchor"}, {0xFFFFFFFF, "missing"}};
    auto problems = Check(synthetic::Compose(book));
    EXPECT_TRUE(HasProblem(problems, {"record 5 (chapters): position 1: expected a chapter code (\\x, \\X or \\C), "
                                      "found \"x\\\\Q=\\\"anchor"}))
        << Joined(problems);
    EXPECT_TRUE(HasProblem(problems, {"record 6 (links): position 13: expected the closing quote of an anchor two "
                                      "bytes before, found \"r\\\"Chapter"}))
        << Joined(problems);
    // An anchor whose quote is the last byte of the text lies past its end.
    book = synthetic::Book();
    book.texts[1] = "Or \\Ipear\\I in the second record of the little book.\\Q=\"end\"";
    book.links = {{14, "anchor"}, {uint32_t(book.texts[0].size() + book.texts[1].size() + 1), "end"}};
    EXPECT_EQ(Joined(Check(synthetic::Compose(book))), "");

    Bytes bad = synthetic::Compose(synthetic::Book());
    bad[RecordStart(bad, 9) + 3] = 28; // first index entry one byte late
    problems = Check(bad);
    EXPECT_TRUE(HasProblem(problems, {"record 9 (index entries), byte 0: text record 1 offset 28: expected an index "
                                      "code (\\I), found \"Iapple"}))
        << Joined(problems);
}

TEST(BookCheck, SurvivesArbitraryBytes)
{
    Bytes good = synthetic::Compose(synthetic::Book());
    std::mt19937 random(12345);
    std::ostringstream sink;
    for (int round = 0; round < 3000; ++round) {
        Bytes bad = good;
        int changes = 1 + int(random() % 8);
        for (int k = 0; k < changes; ++k)
            bad[random() % bad.size()] = uint8_t(random());
        if (round % 3 == 0)
            bad.resize(random() % bad.size());
        CBookImage image(bad);
        CheckBook(image);
        DumpBook(image, DumpOptions{true}, sink);
    }
    // Random bytes of every small length.
    for (size_t n = 0; n < 300; ++n) {
        Bytes noise(n);
        for (uint8_t& b : noise)
            b = uint8_t(random());
        EXPECT_FALSE(Check(noise).empty());
        DumpBook(CBookImage(noise), DumpOptions{}, sink);
    }
}

TEST(BookDump, ListsEverySection)
{
    std::ostringstream out;
    DumpBook(CBookImage(synthetic::Compose(synthetic::Book())), DumpOptions{true}, out);
    std::string text = out.str();
    for (const char* expected : {
             "  name                 \"A Small Book\"",
             "  creation time        1700000000 (2023-11-14 22:13:20 UTC)",
             "  type                 \"VxBk\"",
             "  records              15",
             "       0        200      132  0x00  0x6F8000",
             "  feature bits         0x00006240",
             "Section text: records 1 to 2",
             "text record 1: ",
             "\\x\\Q=\"anchor\"Chapter one\\x\n\\Iapple\\I ok\n",
             "Section small-font page table: records 3 to 3",
             "         1      2      0         40 0x0001  centered, font 0",
             "  record 5: position 0, title \"Chapter one\"",
             "  record 7: position undefined, name \"missing\"",
             "Section images: no records",
             "    group 1: \"apple\"",
             "    text record 2, offset 3: \"pear\"",
             "  title      \"A Small Book\"",
             "  eISBN      \"978-0-00-000000-0\"",
             "    \"note\": 1 text records",
             "Section footnotes: no records",
             "  2 text records, 93 bytes of text in all",
             "    40 53",
             "  \"MeTaInFo\\x00\"",
         })
        EXPECT_NE(text.find(expected), std::string::npos) << "missing: " << expected << "\n" << text;
}

} // namespace
