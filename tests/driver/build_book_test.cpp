#include "driver/BuildBook.h"
#include "tests/PortableEnv.h"
#include "tests/PortablePaths.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "book/BuildOptions.h"
#include "framework/io/File.h"
#include "tests/book/BookFileBytes.h"
#include "tests/driver/IncompressibleText.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

// A book file taken apart by its container layout.
struct Book {
    std::string bytes;
    std::vector<std::string> records;

    std::string Name() const { return std::string(bytes.substr(0, 32).c_str()); }
    std::string Type() const { return bytes.substr(60, 4); }
    uint32_t TextRecordCount() const { return U16(records[0], 12) - 1; }

    // The text records decompressed and put back together.
    std::string Text() const
    {
        std::string text;
        for (uint32_t i = 1; i <= TextRecordCount(); ++i) {
            std::string out(8192, '\0');
            uLongf length = out.size();
            const std::string& record = records[i];
            EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length,
                                 reinterpret_cast<const Bytef*>(record.data()), record.size()),
                      Z_OK);
            text.append(out, 0, length);
        }
        return text;
    }
};

Book ParseBook(const fs::path& path)
{
    Book book;
    book.bytes = ReadFileBytes(path);
    const std::string& b = book.bytes;
    if (b.size() < 80)
        ADD_FAILURE() << "book too short: " << b.size();
    book.records = CutBookRecords(b);
    for (uint32_t i = 0; i < book.records.size(); ++i)
        EXPECT_EQ(U32(b, 78 + 8 * i + 4), 0x6F8000u + i);
    return book;
}

class BuildBookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_driver_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        m_info.title.Assign(u"A Test Book");
        unsetenv("SOURCE_DATE_EPOCH");
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    fs::path WriteSource(const std::string& text, const char* name = "book.lml")
    {
        const fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    // Builds source into output (default: book.ldb beside it).
    uint32_t Build(const fs::path& source, const fs::path& output, uint32_t options = 0)
    {
        CFile sourceFile = FileAt(source);
        CFile outputFile = FileAt(output);
        return BuildBook(&sourceFile, &outputFile, &m_info, options);
    }

    Book BuildText(const std::string& text, uint32_t options = 0)
    {
        const fs::path out = Output();
        EXPECT_EQ(Build(WriteSource(text), out, options), kBookWritten);
        return ParseBook(out);
    }

    fs::path Output() const { return m_dir / "book.ldb"; }

    fs::path m_dir;
    CBookInfo m_info;
};

TEST_F(BuildBookTest, AsciiSourceBecomesABook)
{
    ReportCapture capture;
    const std::string source = "TITLE=\"A Test Book\"\nThe first line.\nThe second line.\n";
    const Book book = BuildText(source);
    EXPECT_EQ(book.Name(), "A Test Book");
    EXPECT_EQ(book.Type(), "VxBk");
    EXPECT_EQ(book.bytes.substr(64, 4), "VxCr");
    EXPECT_EQ(book.TextRecordCount(), 1u);
    EXPECT_EQ(book.Text(), source);
    EXPECT_EQ(book.records.back(), "MeTaInFo\0"s);
    EXPECT_TRUE(capture.errors().empty());
    EXPECT_TRUE(capture.warnings().empty());
    const std::vector<std::string> expected = {
        "Writing book <A Test Book> from file <" + (m_dir / "book.lml").string() + ">...",
        "Generating page tables for the small font...",
        "Generating page tables for the large font...",
        "Done.",
    };
    EXPECT_EQ(capture.statuses(), expected);
}

TEST_F(BuildBookTest, BookHoldsThePreparedText)
{
    ReportCapture capture;
    const Book book = BuildText("one\r\ntwo\rthree\n\tfour\0five \\a065\\\\a066 caf\xE9\x80"s);
    EXPECT_EQ(book.Text(), "one\ntwo\nthree\n    fourfive A\\\\a066 caf\xE9\x80");
    EXPECT_EQ(capture.CountWarnings("Tab characters"), 1u);
    EXPECT_EQ(capture.CountWarnings("Non-ASCII"), 1u);
    EXPECT_EQ(capture.CountWarnings("The Euro symbol"), 1u);
    EXPECT_TRUE(capture.errors().empty());
}

TEST_F(BuildBookTest, LongSourceIsDividedIntoRecords)
{
    ReportCapture capture;
    std::string source;
    for (int i = 0; source.size() < 100000; ++i)
        source += "Word " + std::to_string(i) + ((i % 17) ? " \\i" : "\n");
    const Book book = BuildText(source);
    EXPECT_GE(book.TextRecordCount(), 13u);
    EXPECT_EQ(book.Text(), source);
    // The text-size record holds each record's uncompressed length.
    const std::string& sizes = book.records[book.records.size() - 2];
    ASSERT_EQ(sizes.size(), 2 * book.TextRecordCount());
    uint32_t total = 0;
    for (uint32_t i = 0; i < book.TextRecordCount(); ++i)
        total += U16(sizes, 2 * i);
    EXPECT_EQ(total, source.size());
}

TEST_F(BuildBookTest, EmptySourceGivesABookWithoutText)
{
    ReportCapture capture;
    const Book book = BuildText("");
    EXPECT_EQ(book.TextRecordCount(), 0u);
    EXPECT_EQ(book.Text(), "");
    EXPECT_TRUE(capture.errors().empty());
}

TEST_F(BuildBookTest, DictionaryIsTypedAsSuch)
{
    ReportCapture capture;
    EXPECT_EQ(BuildText("words", Dictionary).Type(), "VxDc");
}

TEST_F(BuildBookTest, TitleRulesGiveTheDatabaseName)
{
    {
        ReportCapture capture;
        m_info.title.Assign(u"12345678901234567890123456789");
        EXPECT_EQ(BuildText("x").Name(), "12345678901234567890123456789");
        EXPECT_TRUE(capture.warnings().empty());
    }
    {
        ReportCapture capture;
        m_info.title.Assign(u"ABCDEFGHIJKLMnopqrstuvwxyzZYXWVU");
        EXPECT_EQ(BuildText("x").Name(), "ABCDEFGHIJKLM...tuvwxyzZYXWVU");
        m_info.title.Assign(u"ABCDEFGHIJKLM_0123456789abcdefghijklm");
        EXPECT_EQ(BuildText("x").Name(), "ABCDEFGHIJKLM...abcdefghijklm");
        ASSERT_EQ(capture.warnings().size(), 2u);
        EXPECT_EQ(capture.warnings()[1],
                  "Book name is greater than 29 characters.  Truncating to \"ABCDEFGHIJKLM...abcdefghijklm\".");
    }
    {
        ReportCapture capture;
        m_info.title.Assign(u"Part 1: Intro: Again");
        EXPECT_EQ(BuildText("x").Name(), "Part 1- Intro- Again");
        ASSERT_EQ(capture.warnings().size(), 1u);
        EXPECT_EQ(capture.warnings()[0],
                  "Colons are not currently permitted in the book title. Translating colons to hyphens.");
    }
    {
        ReportCapture capture(true);
        m_info.title.Assign(u"A:very long title that is shortened:x");
        EXPECT_EQ(BuildText("x").Name(), "A-very long t...s shortened-x");
        EXPECT_TRUE(capture.warnings().empty());
    }
}

// A title character without a device Latin code (L with stroke, z with
// acute) must not end the name or the stored title early.
TEST_F(BuildBookTest, TitleCharacterOutsideDeviceLatinDoesNotEndTheTitle)
{
    ReportCapture capture;
    m_info.title.Assign(u"\u0141\u00F3d\u017A Tales");
    const Book book = BuildText("x");
    EXPECT_EQ(book.Name(), "-\xF3"
                           "d- Tales");
    const std::string& metadata = book.records[U16(book.records[0], 44)];
    EXPECT_EQ(std::string(metadata.c_str()), "-\xF3"
                                             "d- Tales");
}

// A path character without a device Latin code (Greek capital omega) must
// not cut the path short in messages.
TEST_F(BuildBookTest, MessagesShowTheWholePath)
{
    ReportCapture capture;
    const fs::path folder = m_dir / fs::path(u8"\u03A9");
    fs::create_directories(folder);
    const fs::path source = folder / "book.lml";
    std::ofstream(source, std::ios::binary) << "x";
    EXPECT_EQ(Build(source, folder / "book.ldb"), kBookWritten);
    ASSERT_FALSE(capture.statuses().empty());
    EXPECT_EQ(capture.statuses()[0],
              "Writing book <A Test Book> from file <" + (m_dir / "-" / "book.lml").string() + ">...");
}

TEST_F(BuildBookTest, MissingFileObjectDoesNothing)
{
    ReportCapture capture;
    CFile file(WriteSource("x").string().c_str());
    EXPECT_EQ(BuildBook(nullptr, &file, &m_info, 0), kBuildNotRun);
    EXPECT_EQ(BuildBook(&file, nullptr, &m_info, 0), kBuildNotRun);
    EXPECT_TRUE(capture.errors().empty());
    EXPECT_TRUE(capture.statuses().empty());
}

TEST_F(BuildBookTest, SameFileIsRefused)
{
    ReportCapture capture;
    const fs::path source = WriteSource("keep me");
    EXPECT_EQ(Build(source, source), kBookNotWritten);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0], "The input and output files are the same! (" + source.string() + ")");
    EXPECT_TRUE(capture.statuses().empty());
    EXPECT_EQ(ReadFileBytes(source), "keep me");
}

TEST_F(BuildBookTest, UnreadableSourceLeavesNoOutput)
{
    ReportCapture capture;
    const fs::path missing = m_dir / "missing.lml";
    EXPECT_EQ(Build(missing, Output()), kBookNotWritten);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0], "The input file \"" + missing.string() + "\" could not be opened.");
    EXPECT_FALSE(fs::exists(Output()));
    EXPECT_TRUE(capture.statuses().empty());

    // An output that was there before the checks stays.
    std::ofstream(Output()) << "old";
    EXPECT_EQ(Build(missing, Output()), kBookNotWritten);
    EXPECT_EQ(ReadFileBytes(Output()), "old");
}

TEST_F(BuildBookTest, OutputThatCannotBeWrittenIsReported)
{
    ReportCapture capture;
    const fs::path output = m_dir / "no such folder" / "book.ldb";
    EXPECT_EQ(Build(WriteSource("x"), output), kBookNotWritten);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0], "The file \"" + output.string() + "\" could not be opened for writing.");
}

TEST_F(BuildBookTest, FailedBuildKeepsTheOldBookAndGivesNoDone)
{
    const std::string noise = IncompressibleText();
    ReportCapture capture;
    std::ofstream(Output()) << "an old book";
    EXPECT_EQ(Build(WriteSource(noise), Output()), kBookNotWritten);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.CountErrors("The text beginning \""), 1u);
    EXPECT_EQ(ReadFileBytes(Output()), "an old book");
    EXPECT_EQ(capture.CountStatuses("Done."), 0u);
    // Nothing else is left beside the source and the old book.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 2);
}

TEST_F(BuildBookTest, ExistingOutputIsReplaced)
{
    ReportCapture capture;
    std::ofstream(Output()) << "an old book";
    EXPECT_EQ(BuildText("new text").Text(), "new text");
}

TEST_F(BuildBookTest, FixedSourceDateGivesIdenticalBooks)
{
    ReportCapture capture;
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    const Book first = BuildText("Same text \\a065 twice.\n");
    fs::rename(Output(), m_dir / "first.ldb");
    const Book second = BuildText("Same text \\a065 twice.\n");
    EXPECT_EQ(first.bytes, second.bytes);
    EXPECT_EQ(U32(first.bytes, 36), 1700000000u);
    EXPECT_EQ(U32(first.bytes, 40), 1700000001u);
    setenv("SOURCE_DATE_EPOCH", "1700000005", 1);
    EXPECT_NE(BuildText("Same text \\a065 twice.\n").bytes, first.bytes);
}

TEST_F(BuildBookTest, ImagePathThatIsNoDirectoryIsAWarning)
{
    ReportCapture capture;
    const fs::path source = WriteSource("text", "story.LML");
    std::ofstream(m_dir / "story_img") << "a file";
    EXPECT_EQ(Build(source, Output()), kBookWritten);
    ASSERT_EQ(capture.warnings().size(), 1u);
    EXPECT_EQ(capture.warnings()[0],
              "The image directory \"" + (m_dir / "story_img").string() + "\" isn't a directory.");

    fs::remove(m_dir / "story_img");
    fs::create_directory(m_dir / "story_img");
    EXPECT_EQ(Build(source, Output()), kBookWritten);
    EXPECT_EQ(capture.warnings().size(), 1u);
}

} // namespace
