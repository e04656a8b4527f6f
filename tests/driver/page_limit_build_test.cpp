// Books at the page-table limit: 65535 entries build, one more is refused
// unless the page tables are left out.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "book/BuildOptions.h"
#include "driver/BuildBook.h"
#include "framework/io/File.h"
#include "tests/book/BookFileBytes.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;

std::string Repeat(const std::string& piece, int n)
{
    std::string text;
    text.reserve(piece.size() * n);
    for (int i = 0; i < n; ++i)
        text += piece;
    return text;
}

const char kTooMany[] = "Too many pages (%u of them) for a .ldb file! Build it without page tables.";

std::string TooMany(unsigned pages)
{
    char text[128];
    std::snprintf(text, sizeof text, kTooMany, pages);
    return text;
}

class PageLimitBuild : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("vx_pagelimit_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        m_info.title.Assign(u"Many Pages");
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Builds `text`; true when the book was written.
    bool Build(const std::string& text, uint32_t options = 0)
    {
        const fs::path source = m_dir / "pages.lml";
        std::ofstream(source, std::ios::binary) << text;
        CFile sourceFile(source.string().c_str());
        CFile outputFile(Output().string().c_str());
        const uint32_t result = BuildBook(&sourceFile, &outputFile, &m_info, options);
        EXPECT_NE(result, kBuildNotRun);
        return result == kBookWritten;
    }

    fs::path Output() const { return m_dir / "pages.ldb"; }

    fs::path m_dir;
    CBookInfo m_info;
};

TEST_F(PageLimitBuild, TablesOf65535EntriesFillTheHeaderCounts)
{
    ReportCapture capture(true);
    // 65534 page breaks: page 0 and one entry after each, the last at the
    // very end of the text.
    const int breaks = 65534;
    ASSERT_TRUE(Build(Repeat("a\\p", breaks)));
    EXPECT_TRUE(capture.errors().empty());
    const std::vector<std::string> records = ReadBookRecords(Output());
    ASSERT_FALSE(records.empty());
    const std::string& header = records[0];
    EXPECT_EQ(U16(header, 8), 65535u);
    EXPECT_EQ(U16(header, 10), 65535u);
    EXPECT_EQ(U16(header, 16), 50u); // 49 x 1333 + 218
    EXPECT_EQ(U16(header, 18), 50u);

    // The last entry: page 65534 at the end of the text, in the last text
    // record at an offset equal to that record's length.
    const uint32_t textRecords = U16(header, 12) - 1;
    const std::string& lastText = records[textRecords];
    std::string out(8192, '\0');
    uLongf length = out.size();
    ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, reinterpret_cast<const Bytef*>(lastText.data()),
                         lastText.size()),
              Z_OK);
    for (const uint32_t first : {U16(header, 36), U16(header, 38)}) {
        const std::string& last = records.at(first + 49);
        ASSERT_EQ(last.size(), 218u * 12);
        const std::string entry = last.substr(last.size() - 12);
        EXPECT_EQ(U16(entry, 0), 65534u);
        EXPECT_EQ(U16(entry, 2), textRecords);
        EXPECT_EQ(U16(entry, 4), length);
        EXPECT_EQ(U32(entry, 6), 3u * breaks);
    }
}

TEST_F(PageLimitBuild, OneEntryMoreIsRefused)
{
    const std::string text = Repeat("a\\p", 65535);
    {
        ReportCapture capture(true);
        EXPECT_FALSE(Build(text));
        EXPECT_EQ(capture.errors(), (std::vector<std::string>{TooMany(65536)}));
        EXPECT_FALSE(fs::exists(Output()));
    }
    {
        // Without page tables the same text builds.
        ReportCapture capture(true);
        EXPECT_TRUE(Build(text, ExcludePageTables));
        EXPECT_TRUE(capture.errors().empty());
        const std::vector<std::string> records = ReadBookRecords(Output());
        ASSERT_FALSE(records.empty());
        EXPECT_EQ(U16(records[0], 8), 0u);
        EXPECT_EQ(U16(records[0], 10), 0u);
    }
}

TEST_F(PageLimitBuild, TheLargerTableIsCounted)
{
    // 655360 short lines: ten a page in the large font (65536 pages),
    // thirteen in the small one (50413).
    ReportCapture capture(true);
    EXPECT_FALSE(Build(Repeat("a\n", 655360)));
    EXPECT_EQ(capture.errors(), (std::vector<std::string>{TooMany(65536)}));
    EXPECT_FALSE(fs::exists(Output()));
}

} // namespace
