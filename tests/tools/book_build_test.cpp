#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "driver/BuildBook.h"
#include "framework/io/File.h"
#include "tests/PortableEnv.h"
#include "tests/tools/ToolRun.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookImage.h"
#include "tools/book/BookText.h"
#include "tools/book/BookTool.h"
#include "tools/book/ReportToStream.h"

namespace {

namespace fs = std::filesystem;

// The five metadata strings of a built book, in file order.
std::vector<std::string> Metadata(const fs::path& path)
{
    CBookImage book(ReadBytes(path));
    std::vector<std::string> fields;
    const BookSection* section = book.FindSection(SectionKind::Metadata);
    const CBookRecord record = section ? book.ReadRecord(section->first) : CBookRecord();
    if (!record.Data())
        return fields;
    const char* p = reinterpret_cast<const char*>(record.Data());
    uint32_t size = book.RecordSize(section->first);
    for (uint32_t at = 0; at < size;) {
        fields.emplace_back(p + at);
        at += uint32_t(fields.back().size()) + 1;
    }
    return fields;
}

class BookBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("vx_tools_build_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& text)
    {
        fs::path path = m_dir / name;
        std::ofstream(path, std::ios::binary) << text;
        return path.string();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    fs::path m_dir;
};

const char kKeyedSource[] = "TITLE=\"Key Title\"\nAUTHOR=\"Key Author\"\nPUBLISHER=\"Key Pub\"\n"
                            "EISBN=\"Key ISBN\"\nCOPYRIGHT=\"Key Copy\"\n\nA short paragraph of text.\n";

TEST_F(BookBuild, EightBitSourceWithTabsAndMixedLineEnds)
{
    std::string source = Write("mixed.lml", "TITLE=\"Mixed \\a233\"\r\nCOPYRIGHT=\"\\a169 2024\"\r\n\r\n"
                                            "\tCaf\xe9 au lait\r\nLine two\rLine three\n\tAna\\a239s\n");
    std::string out = Path("mixed.ldb");
    ToolRun build = RunTool({"build", source, "-o", out});
    ASSERT_EQ(build.status, 0) << build.err;
    EXPECT_NE(build.err.find("Writing book <Mixed \xc3\xa9> from file <"), std::string::npos) << build.err;
    EXPECT_NE(build.err.find("\nDone.\n"), std::string::npos) << build.err;
    // Tabs and 8-bit letters are announced outside batch mode, not in it.
    EXPECT_NE(build.err.find("warning: Tab characters are being mapped to four spaces.\n"), std::string::npos);
    EXPECT_NE(build.err.find("warning: Non-ASCII characters in file; attempting to map them\n"), std::string::npos);
    ToolRun batch = RunTool({"build", source, "-o", out, "--batch"});
    ASSERT_EQ(batch.status, 0) << batch.err;
    EXPECT_EQ(batch.err.find("warning:"), std::string::npos) << batch.err;

    ToolRun check = RunTool({"check", out});
    EXPECT_EQ(check.status, 0) << check.out;
    std::vector<std::string> meta = Metadata(out);
    ASSERT_EQ(meta.size(), 5u);
    EXPECT_EQ(meta[2], "\xa9 2024");

    // The text records hold the prepared text: CR LF and CR became LF, tabs
    // four spaces, and the escapes their bytes.
    ToolRun dump = RunTool({"dump", "--text", out});
    ASSERT_EQ(dump.status, 0);
    EXPECT_NE(dump.out.find("\n    Caf\xc3\xa9 au lait\nLine two\nLine three\n    Ana\xc3\xafs\n"), std::string::npos)
        << dump.out;
    EXPECT_EQ(dump.out.find("\\x0D"), std::string::npos);
}

// An empty text (or one that preparation empties) has no text records, yet
// each page table holds its first page: record 1, offset 0.
TEST_F(BookBuild, EmptyTextsGiveSoundBooks)
{
    for (const std::string& text : {std::string(), std::string(1, '\0')}) {
        std::string out = Path("empty.ldb");
        ToolRun build = RunTool({"build", Write("empty.lml", text), "-o", out, "--title", "Empty"});
        ASSERT_EQ(build.status, 0) << build.err;
        ToolRun check = RunTool({"check", out});
        EXPECT_EQ(check.status, 0) << check.out;
        CBookImage book(ReadBytes(out));
        EXPECT_EQ(book.BookHeader().firstAfterText, 1u);
        EXPECT_EQ(book.BookHeader().smallEntries, 1u);
        EXPECT_EQ(book.BookHeader().largeEntries, 1u);
    }
    // A page entry of an empty text that points anywhere else is wrong.
    std::string out = Path("empty.ldb");
    ASSERT_EQ(RunTool({"build", Write("empty.lml", ""), "-o", out, "--title", "Empty"}).status, 0);
    std::vector<uint8_t> bytes = ReadBytes(out);
    CBookImage good(bytes);
    const uint32_t page = good.Entries()[good.BookHeader().firstSmall].offset;
    bytes[page + 5] = 1; // offset 1 in record 1
    std::vector<std::string> problems = CheckBook(CBookImage(bytes));
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("small-font page table"), std::string::npos) << problems[0];
}

TEST_F(BookBuild, OptionsReplaceTheirFieldOnly)
{
    std::string source = Write("keyed.lml", kKeyedSource);
    std::string out = Path("keyed.ldb");
    ToolRun build = RunTool({"build", source, "--author", "Opt Author", "--eisbn=Opt ISBN", "--copyright", "Opt Copy"});
    ASSERT_EQ(build.status, 0) << build.err;
    // Metadata order: title, author, copyright, publisher, eISBN.
    EXPECT_EQ(Metadata(out), (std::vector<std::string>{"Key Title", "Opt Author", "Opt Copy", "Key Pub", "Opt ISBN"}));

    ASSERT_EQ(RunTool({"build", source, "--title", "Opt Title"}).status, 0);
    EXPECT_EQ(Metadata(out), (std::vector<std::string>{"Opt Title", "Key Author", "Key Copy", "Key Pub", "Key ISBN"}));
    CBookImage book(ReadBytes(out));
    EXPECT_STREQ(reinterpret_cast<const char*>(book.Header().name), "Opt Title");

    // UTF-8 on the command line becomes device Latin in the book.
    ASSERT_EQ(RunTool({"build", source, "--author", "Ren\xc3\xa9"}).status, 0);
    EXPECT_EQ(Metadata(out)[1], "Ren\xe9");
    // Bytes that are no well-formed UTF-8 are Latin-1 letters, one each: a
    // lone 8-bit letter, an encoded surrogate, an overlong form, a cut
    // sequence at the end.
    ASSERT_EQ(RunTool({"build", source, "--author", "Ren\xe9 \xed\xbf\xbf \xc0\xaf \xc3"}).status, 0);
    EXPECT_EQ(Metadata(out)[1], "Ren\xe9 \xed\xbf\xbf \xc0\xaf \xc3");
}

TEST_F(BookBuild, ABookNeedsATitle)
{
    std::string source = Write("untitled.lml", "AUTHOR=\"Someone\"\nText without a title line.\n");
    ToolRun build = RunTool({"build", source});
    EXPECT_EQ(build.status, 1);
    EXPECT_NE(build.err.find("error: the book has no title"), std::string::npos) << build.err;
    EXPECT_NE(build.err.find("--title"), std::string::npos);
    EXPECT_FALSE(fs::exists(Path("untitled.ldb")));

    // An empty value is a usage error, not an empty title.
    std::string keyed = Write("keyed.lml", kKeyedSource);
    EXPECT_EQ(RunTool({"build", keyed, "--title="}).status, 2);
    EXPECT_FALSE(fs::exists(Path("keyed.ldb")));

    ToolRun titled = RunTool({"build", source, "--title", "Given"});
    EXPECT_EQ(titled.status, 0) << titled.err;
    EXPECT_TRUE(fs::exists(Path("untitled.ldb")));
}

TEST_F(BookBuild, FailuresAreErrorsAndExitOne)
{
    std::string missing = Path("missing.lml");
    ToolRun build = RunTool({"build", missing});
    EXPECT_EQ(build.status, 1);
    EXPECT_NE(build.err.find("error: the source file \"" + missing + "\" does not exist"), std::string::npos);

    std::string source = Write("same.lml", kKeyedSource);
    ToolRun same = RunTool({"build", source, "-o", source});
    EXPECT_EQ(same.status, 1);
    EXPECT_NE(same.err.find("error: The input and output files are the same!"), std::string::npos) << same.err;

    ToolRun unwritable = RunTool({"build", source, "-o", Path("no/such/dir/out.ldb")});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("error: The file \""), std::string::npos) << unwritable.err;
}

// A name the system refuses as too long says so, for the source, the
// output and a book to check, and nothing is written.
TEST_F(BookBuild, NamesTooLongSayTheirCause)
{
    const std::string longName = Path(std::string(300, 'n') + ".lml");
    const std::string source = Write("short.lml", kKeyedSource);

    ToolRun build = RunTool({"build", longName});
    EXPECT_EQ(build.status, 1);
    EXPECT_NE(build.err.find("cannot be opened: its name is too long"), std::string::npos) << build.err;

    ToolRun output = RunTool({"build", source, "-o", longName});
    EXPECT_EQ(output.status, 1);
    EXPECT_NE(output.err.find("error: The file \"" + longName.substr(0, 40)), std::string::npos) << output.err;
    EXPECT_NE(output.err.find("could not be opened for writing: its name is too long."), std::string::npos)
        << output.err;

    ToolRun check = RunTool({"check", longName});
    EXPECT_EQ(check.status, 1);
    EXPECT_NE(check.err.find("its name is too long"), std::string::npos) << check.err;

    // The build itself, given the long name.
    std::ostringstream messages;
    {
        CReportToStream capture(messages);
        CFile longSource(longName.c_str());
        CFile book(Path("short.ldb").c_str());
        EXPECT_EQ(BuildBook(&longSource, &book, nullptr, 0), kBookNotWritten);
    }
    EXPECT_NE(messages.str().find("could not be opened: its name is too long."), std::string::npos) << messages.str();
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

TEST_F(BookBuild, SidebarWithoutEndTagExitsOneAndWritesNoBook)
{
    const std::string source = Write("notes.lml", "TITLE=\"Notes\"\nSee \\Sd=\"s\"x\\Sd.\n<sidebar id=\"s\">S\n");
    const std::string out = Path("notes.ldb");
    for (const char* batch : {"", "--batch"}) {
        std::vector<std::string> words = {"build", source, "-o", out};
        if (*batch)
            words.push_back(batch);
        ToolRun build = RunTool(words);
        EXPECT_EQ(build.status, 1) << batch;
        EXPECT_FALSE(fs::exists(out)) << batch;
        EXPECT_EQ(build.err, "Writing book <Notes> from file <" + source +
                                 ">...\n"
                                 "Generating page tables for the small font...\n"
                                 "Generating page tables for the large font...\n" +
                                 source + ":3:1: error: No end tag for sidebar or footnote named s was found.\n" +
                                 source +
                                 ": error: Errors occurred while building the sidebars and footnotes. "
                                 "No output file generated.\n"
                                 "Done.\n")
            << batch;
    }
}

TEST_F(BookBuild, DictionaryAndPageTableOptions)
{
    std::string source = Write("dict.lml", kKeyedSource);
    std::string out = Path("dict.ldb");
    ASSERT_EQ(RunTool({"build", source, "--dictionary"}).status, 0);
    CBookImage dictionary(ReadBytes(out));
    EXPECT_EQ(FourCCText(dictionary.Header().type), "VxDc");
    EXPECT_EQ(dictionary.BookHeader().largeRecords, 0);
    EXPECT_TRUE(CheckBook(dictionary).empty());

    ASSERT_EQ(RunTool({"build", source}).status, 0);
    CBookImage plain(ReadBytes(out));
    EXPECT_EQ(FourCCText(plain.Header().type), "VxBk");
    EXPECT_TRUE(CheckBook(plain).empty());

    ASSERT_EQ(RunTool({"build", source, "--exclude-page-tables"}).status, 0);
    CBookImage noPages(ReadBytes(out));
    EXPECT_EQ(noPages.BookHeader().smallRecords + noPages.BookHeader().largeRecords, 0);
    EXPECT_TRUE(CheckBook(noPages).empty());
}

TEST_F(BookBuild, SameSourceDateEpochGivesIdenticalBooks)
{
    std::string source = Write("repro.lml", kKeyedSource);
    const char* saved = std::getenv("SOURCE_DATE_EPOCH");
    std::string savedValue = saved ? saved : "";
    setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    ToolRun first = RunTool({"build", source, "-o", Path("one.ldb")});
    ToolRun second = RunTool({"build", source, "-o", Path("two.ldb")});
    if (saved)
        setenv("SOURCE_DATE_EPOCH", savedValue.c_str(), 1);
    else
        unsetenv("SOURCE_DATE_EPOCH");
    ASSERT_EQ(first.status, 0) << first.err;
    ASSERT_EQ(second.status, 0) << second.err;
    std::vector<uint8_t> one = ReadBytes(Path("one.ldb"));
    EXPECT_FALSE(one.empty());
    EXPECT_EQ(one, ReadBytes(Path("two.ldb")));
    CBookImage book(std::move(one));
    EXPECT_EQ(book.Header().creationTime, 1700000000u);
    EXPECT_EQ(book.Header().modificationTime, 1700000001u);
}

} // namespace
