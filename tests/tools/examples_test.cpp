// The bundled examples build without a warning into books that check
// accepts, with every kind of record they were written to show.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/tools/ToolRun.h"
#include "tools/book/BookCheck.h"
#include "tools/book/BookImage.h"

namespace {

namespace fs = std::filesystem;

class Examples : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() /
                ("vx_tools_examples_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Builds an example; the book's bytes, or empty after a test failure.
    std::vector<uint8_t> Build(const std::string& name, std::vector<std::string> options = {})
    {
        std::string out = (m_dir / (name + ".ldb")).string();
        std::vector<std::string> words = {"build", std::string(VX_EXAMPLES_DIR) + "/" + name + ".lml", "-o", out};
        words.insert(words.end(), options.begin(), options.end());
        ToolRun build = RunTool(words);
        EXPECT_EQ(build.status, 0) << build.err;
        EXPECT_EQ(build.err.find("warning:"), std::string::npos) << build.err;
        EXPECT_EQ(build.err.find("error:"), std::string::npos) << build.err;
        ToolRun check = RunTool({"check", out});
        EXPECT_EQ(check.status, 0) << check.out;
        return build.status == 0 ? ReadBytes(out) : std::vector<uint8_t>();
    }

    fs::path m_dir;
};

// Each record of a section as text: the string after a 4-byte position for
// chapters and links, the name field for images.
std::vector<std::string> SectionStrings(const CBookImage& book, SectionKind kind, size_t skip)
{
    std::vector<std::string> strings;
    const BookSection* section = book.FindSection(kind);
    for (uint32_t i = 0; section && i < section->count; ++i) {
        const CBookRecord record = book.ReadRecord(section->first + i);
        const uint8_t* p = record.Data();
        strings.emplace_back(p ? reinterpret_cast<const char*>(p + skip) : "");
    }
    return strings;
}

// Name and record count of each entry of a sidebar or footnote table.
std::vector<std::string> NoteTable(const CBookImage& book, SectionKind kind)
{
    std::vector<std::string> entries;
    const BookSection* section = book.FindSection(kind);
    if (!section || section->count == 0)
        return entries;
    const CBookRecord record = book.ReadRecord(section->first);
    const uint8_t* p = record.Data();
    uint32_t size = book.RecordSize(section->first);
    for (uint32_t at = 0; p && at + 4 <= size; at += p[at + 2] + 4u) {
        entries.push_back(std::string(reinterpret_cast<const char*>(p + at + 3), p[at + 2]) + ": " +
                          std::to_string(ReadU16At(p + at)));
    }
    return entries;
}

TEST_F(Examples, TheTideClock)
{
    CBookImage book(Build("example"));
    ASSERT_TRUE(book.HasBookHeader());
    EXPECT_EQ(FourCCText(book.Header().type), "VxBk");
    EXPECT_STREQ(reinterpret_cast<const char*>(book.Header().name), "The Tide Clock");
    EXPECT_EQ(SectionStrings(book, SectionKind::Chapters, 4),
              (std::vector<std::string>{"Title page", "I. The Clock on the Wall", "    How the clock is read",
                                        "II. The Week It Ran Fast", "    What the town did", "III. The Blue Note",
                                        "    The storm of 1953", "IV. Sunday", "A Note from the Author"}));
    EXPECT_EQ(SectionStrings(book, SectionKind::Links, 4),
              (std::vector<std::string>{"author", "note", "storm", "sunday", "wall", "week"}));
    // The tide picture is named in the text and in the sidebar: one record.
    EXPECT_EQ(SectionStrings(book, SectionKind::Images, 4), (std::vector<std::string>{"compass.png", "tide.png"}));
    EXPECT_EQ(NoteTable(book, SectionKind::Sidebars), (std::vector<std::string>{"harbour master: 1"}));
    EXPECT_EQ(NoteTable(book, SectionKind::Footnotes), (std::vector<std::string>{"prices: 1"}));
    EXPECT_EQ(book.BookHeader().indexCount, 0);
    // Several pages in each font, more in the large one.
    EXPECT_GT(book.BookHeader().smallEntries, 5);
    EXPECT_GT(book.BookHeader().largeEntries, book.BookHeader().smallEntries);
}

TEST_F(Examples, TheGlossaryIsADictionaryWithAnIndex)
{
    CBookImage book(Build("dictionary", {"--dictionary"}));
    ASSERT_TRUE(book.HasBookHeader());
    EXPECT_EQ(FourCCText(book.Header().type), "VxDc");
    EXPECT_EQ(book.BookHeader().smallEntries + book.BookHeader().largeEntries, 0);
    const BookSection* index = book.FindSection(SectionKind::Index);
    ASSERT_NE(index, nullptr);
    ASSERT_EQ(index->count, 2u); // the heading record and one group
    // Terms in index order: accents fold to their letter ("\xc9cluse" after
    // "ebb"), case is ignored.
    std::vector<std::string> terms;
    const CBookRecord record = book.ReadRecord(index->first + 1);
    const uint8_t* p = record.Data();
    uint32_t size = book.RecordSize(index->first + 1);
    for (uint32_t at = 0; p && at + 5 <= size;) {
        terms.emplace_back(reinterpret_cast<const char*>(p + at + 4));
        at += uint32_t(terms.back().size()) + 5;
    }
    EXPECT_EQ(terms, (std::vector<std::string>{"anchor", "avant-port", "bollard", "buoy", "cal\xe9", "crab pot", "ebb",
                                               "\xc9"
                                               "cluse",
                                               "flood", "mooring", "neap tide", "slack water", "spring tide",
                                               "tide clock", "tide table"}));
    // The heading record names the group's first term.
    EXPECT_EQ(SectionStrings(book, SectionKind::Index, 0).front(), "anchor");
}

TEST_F(Examples, PagesShowTheChapterStarts)
{
    std::string source = std::string(VX_EXAMPLES_DIR) + "/example.lml";
    ToolRun small = RunTool({"pages", source});
    ASSERT_EQ(small.status, 0) << small.err;
    EXPECT_EQ(small.err.find("warning:"), std::string::npos) << small.err;
    // Each chapter opens a page, which begins with the chapter's title.
    for (const char* start : {"\n1: The Tide Clock\n", ": I. The Clock on the Wall\n", ": II. The Week It Ran Fast\n",
                              ": III. The Blue Note\n", ": IV. Sunday\n", ": A Note from the Author\n"})
        EXPECT_NE(small.out.find(start), std::string::npos) << start << "\n" << small.out;
    ToolRun large = RunTool({"pages", "--large", source});
    ASSERT_EQ(large.status, 0) << large.err;
    EXPECT_EQ(large.out.rfind("Large font: ", 0), 0u) << large.out;
    EXPECT_NE(large.out.find(": IV. Sunday\n"), std::string::npos) << large.out;

    // A source with markup errors gives the errors and no page list.
    const fs::path broken = m_dir / "broken.lml";
    std::ofstream(broken) << "Some text \\e with an illegal code.\n";
    ToolRun failed = RunTool({"pages", broken.string()});
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.err.find("error: Illegal control code starting at"), std::string::npos) << failed.err;
    EXPECT_EQ(failed.out, "");

    // The page counts agree with the book's page tables.
    CBookImage book(Build("example"));
    EXPECT_EQ(small.out.rfind("Small font: " + std::to_string(book.BookHeader().smallEntries) + " pages\n", 0), 0u)
        << small.out;
    EXPECT_EQ(large.out.rfind("Large font: " + std::to_string(book.BookHeader().largeEntries) + " pages\n", 0), 0u);
}

} // namespace
