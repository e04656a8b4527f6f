// Page tables: where pages begin, the record, offset and style word of
// each entry, chapters on lines that move to the next page, images, and
// the options that leave the tables out.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <utility>

#include "book/BuildOptions.h"
#include "tests/book/PngTestImages.h"
#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;

const std::string kTwelveLines = ShortLines(12); // 24 bytes

TEST(PaginatePages, PageBreakCodeNeverMakesAnEmptyPage)
{
    ReportCapture capture;
    // \p at the top of a page is ignored, and so is the second of two.
    const auto run = Scan("\\pa\\p\\pb");
    EXPECT_EQ(SmallPages(*run), OneRecord({0, 5}));
    EXPECT_EQ(LargePages(*run), OneRecord({0, 5}, kEntryLargeFont));
}

TEST(PaginatePages, StyleWordHoldsStyleAlignmentAndFont)
{
    ReportCapture capture(true);
    // Bold font 1, italic, centered: 0x8000 | 1 | 1 << 3 in both passes
    // (font 1 has 11-pixel lines, so 13 lines a page in both).
    const auto bold = Scan("\\b\\i\\c" + ShortLines(13) + "a");
    EXPECT_EQ(SmallPages(*bold), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 32, 32, kEntryItalic | 1 | 1 << 3}}));
    EXPECT_EQ(LargePages(*bold), (PageTable{{0, 1, 0, 0, kEntryLargeFont}, {1, 1, 32, 32, kEntryItalic | 1 | 1 << 3}}));
    // Indented and right-aligned; the large font's 14-pixel lines give
    // ten a page.
    const auto right = Scan("\\t\\r" + ShortLines(13) + "a");
    EXPECT_EQ(SmallPages(*right), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 30, 30, kEntryIndented | 2}}));
    EXPECT_EQ(LargePages(*right),
              (PageTable{{0, 1, 0, 0, kEntryLargeFont}, {1, 1, 24, 24, kEntryIndented | 2 | kEntryLargeFont}}));
}

TEST(PaginatePages, MovedLineStartsItsPageInTheStateOfItsStart)
{
    ReportCapture capture;
    // Line 14 turns italic on and moves; its page starts before the code,
    // in the upright style.
    const auto run = Scan(ShortLines(13) + "a\\ib\nc\\i");
    EXPECT_EQ(SmallPages(*run), OneRecord({0, 26}));
}

TEST(PaginatePages, EntryNamesTheRecordHoldingThePageStart)
{
    ReportCapture capture;
    // Records end at 10 and 15. A page at 10 is the end of record 1; one
    // at 13 lies 3 bytes into record 2.
    const auto run = Scan("aaaaaaaa\\pb\\pcc", 0, kNoImageDirectory, {10, 15});
    const PageTable expected{{0, 1, 0, 0, 0}, {1, 1, 10, 10, 0}, {2, 2, 3, 13, 0}};
    EXPECT_EQ(SmallPages(*run), expected);
    ASSERT_EQ(LargePages(*run).size(), 3u);
    EXPECT_EQ(LargePages(*run)[2], (PageEntry{2, 2, 3, 13, kEntryLargeFont}));
}

TEST(PaginatePages, ChapterCodeStartsAPageAtItsCode)
{
    ReportCapture capture;
    const auto run = Scan("a\n\\xOne\\x text");
    EXPECT_EQ(SmallPages(*run), OneRecord({0, 2}));
    EXPECT_EQ(LargePages(*run), OneRecord({0, 2}, kEntryLargeFont));
    EXPECT_EQ(Chapters(*run), (ChapterRows{{2, "One"}}));

    // At the top of a page it makes no new page.
    const auto top = Scan("\\xOne\\x text\n\\xTwo\\x");
    EXPECT_EQ(SmallPages(*top), OneRecord({0, 13}));
    EXPECT_EQ(Chapters(*top), (ChapterRows{{0, "One"}, {13, "Two"}}));
}

TEST(PaginatePages, HeadingOnAMovedLineIsRecordedOnce)
{
    ReportCapture capture;
    // The code opens line 14, which moves: scanned again from the line
    // start, the code is not skipped and its closing code still closes.
    const auto start = Scan("\\C0=\"Zero\"" + ShortLines(13) + "\\X1Head\\X1 text");
    EXPECT_EQ(SmallPages(*start), OneRecord({0, 36}));
    EXPECT_EQ(Chapters(*start), (ChapterRows{{0, "Zero"}, {36, "    Head"}}));

    // Within the line, and several on one line.
    const auto middle = Scan(ShortLines(13) + "b \\X2Sub\\X2 \\C0=\"A\"\\C1=\"B\"c");
    EXPECT_EQ(SmallPages(*middle), OneRecord({0, 26}));
    EXPECT_EQ(Chapters(*middle), (ChapterRows{{28, "        Sub"}, {38, "A"}, {45, "    B"}}));
    EXPECT_TRUE(capture.errors().empty());
    EXPECT_TRUE(capture.warnings().empty());
}

TEST(PaginatePages, HeadingThatOverflowsAfterSpacesBeginsTheNextLine)
{
    ReportCapture capture;
    // 155 pixels of text and two spaces: the heading code closes the space
    // run, the line is too wide and breaks before the code. The code is
    // scanned again as the 14th line, which begins page 1.
    const std::string line = kTwelveLines + std::string(31, 'a') + "  ";
    const auto heading = Scan(line + "\\X1Head\\X1 tail");
    EXPECT_FALSE(heading->failed);
    EXPECT_EQ(SmallPages(*heading), OneRecord({0, 57}));
    EXPECT_EQ(Chapters(*heading), (ChapterRows{{57, "    Head"}}));

    // \x: the page break comes before the code, which then opens page 1.
    const auto chapter = Scan(line + "\\xHead\\x tail");
    EXPECT_FALSE(chapter->failed);
    EXPECT_EQ(SmallPages(*chapter), OneRecord({0, 57}));
    EXPECT_EQ(Chapters(*chapter), (ChapterRows{{57, "Head"}}));
    EXPECT_TRUE(capture.errors().empty());
}

TEST(PaginatePages, ExcludedPageTablesStayEmptyWhileTheScanRuns)
{
    ReportCapture capture;
    const auto run = Scan("\\xOne\\x a\n\\xTwo\\x b", ExcludePageTables);
    EXPECT_FALSE(run->failed);
    EXPECT_TRUE(SmallPages(*run).empty());
    EXPECT_TRUE(LargePages(*run).empty());
    EXPECT_EQ(Chapters(*run), (ChapterRows{{0, "One"}, {10, "Two"}}));
    EXPECT_EQ(capture.statuses(), (std::vector<std::string>{"Generating page tables for the small font...",
                                                            "Generating page tables for the large font..."}));
}

TEST(PaginatePages, DictionaryRunsOnlyTheSmallFontPass)
{
    ReportCapture capture;
    // The large font left open would be warned about in a large-font pass.
    const auto run = Scan("\\xOne\\x \\l" + ShortLines(20), Dictionary);
    EXPECT_FALSE(run->failed);
    EXPECT_TRUE(SmallPages(*run).empty());
    EXPECT_TRUE(LargePages(*run).empty());
    EXPECT_EQ(Chapters(*run), (ChapterRows{{0, "One"}}));
    EXPECT_EQ(capture.statuses(), (std::vector<std::string>{"Generating page tables for the small font..."}));
    EXPECT_EQ(capture.warnings(), (std::vector<std::string>{"This file does not end in the normal font!"}));
}

TEST(PaginatePages, TextEndingInAnotherFontIsWarnedAboutPerPass)
{
    const std::string warning = "This file does not end in the normal font!";
    {
        // \l in the large-font pass switches back to that pass's font.
        ReportCapture capture;
        const auto run = Scan("\\la");
        EXPECT_FALSE(run->failed);
        EXPECT_EQ(capture.warnings(), (std::vector<std::string>{warning}));
    }
    {
        ReportCapture capture;
        const auto run = Scan("\\ba");
        EXPECT_EQ(capture.warnings(), (std::vector<std::string>{warning, warning}));
    }
    {
        ReportCapture capture(true);
        const auto run = Scan("\\ba");
        EXPECT_TRUE(capture.warnings().empty());
    }
}

// An image directory holding palette images named by their size, "WxH.png".
class PaginateImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("vx_paginate_img_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        for (const auto& [width, height] :
             {std::pair{150u, 140u}, {10u, 149u}, {10u, 148u}, {160u, 10u}, {150u, 10u}, {155u, 10u}, {151u, 10u}}) {
            const std::string name = std::to_string(width) + "x" + std::to_string(height) + ".png";
            std::ofstream(m_dir / name, std::ios::binary)
                << EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, width, height));
        }
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    PageTable Pages(const std::string& text)
    {
        const auto run = Scan(text, 0, m_dir.string());
        EXPECT_FALSE(run->failed) << text;
        EXPECT_EQ(run->lists.images.GetCount(), 1u) << text;
        return SmallPages(*run);
    }

    ReportCapture capture;
    fs::path m_dir;
};

TEST_F(PaginateImages, ImageRaisesTheLineToItsHeight)
{
    // A 140-pixel line and an 11-pixel one do not fit on one page.
    const std::string image = "\\m=\"150x140.png\"\n"; // 17 bytes
    EXPECT_EQ(Pages(image + "b"), OneRecord({0, 17}));
    EXPECT_EQ(Pages("\\My=\"150x140.png\"\nb"), OneRecord({0, 18}));
    // 149 pixels high is too high for a page: laid out as 16 x 16.
    EXPECT_EQ(Pages("\\m=\"10x149.png\"\nb"), OneRecord({0}));
    EXPECT_EQ(Pages("\\Mz=\"10x148.png\"\nb"), OneRecord({0, 17}));
}

TEST_F(PaginateImages, ImageTooWideForTheLineCountsAsSixteenPixels)
{
    // On line 13: 160 wide becomes 16, and "b" fits behind it; 150 + 5
    // fits too; 155 + 5 does not, and "b" begins line 14.
    EXPECT_EQ(Pages(kTwelveLines + "\\m=\"160x10.png\"b"), OneRecord({0}));
    EXPECT_EQ(Pages(kTwelveLines + "\\m=\"150x10.png\"b"), OneRecord({0}));
    EXPECT_EQ(Pages(kTwelveLines + "\\m=\"155x10.png\"b"), OneRecord({0, 24 + 15}));
    // With the indented style 8 pixels count: 151 is too wide, 150 fills
    // the line, and "b" breaks it before the image code.
    EXPECT_EQ(Pages(kTwelveLines + "\\t\\m=\"151x10.png\"b"), OneRecord({0}));
    EXPECT_EQ(Pages(kTwelveLines + "\\t\\m=\"150x10.png\"b"),
              (PageTable{{0, 1, 0, 0, 0}, {1, 1, 26, 26, kEntryIndented}}));
    // An image that does not fit behind text begins the next line.
    EXPECT_EQ(Pages(kTwelveLines + "aa\\m=\"150x10.png\""), OneRecord({0, 26}));
}

} // namespace
