// Page tables: where pages begin, the record, offset and style word of
// each entry, chapters on lines that move to the next page, images, and
// the options that leave the tables out.
#include <gtest/gtest.h>

#include <utility>
#include <string>

#include "book/BuildOptions.h"
#include "tests/book/PngTestImages.h"
#include "tests/book/TempDir.h"
#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"

namespace {

constexpr uint16_t kLarge = 2 << 3; // font 2 in the style word
constexpr uint16_t kItalic = 0x8000;
constexpr uint16_t kIndented = 0x2000;
const std::string kTwelveLines = ShortLines(12); // 24 bytes

struct Chapter {
    uint32_t position;
    std::string title;
    bool operator==(const Chapter&) const = default;
};

void PrintTo(const Chapter& c, std::ostream* out)
{
    *out << "{" << c.position << ", \"" << c.title << "\"}";
}

std::vector<Chapter> Chapters(const Pagination& run)
{
    std::vector<Chapter> chapters;
    for (uint32_t i = 0; i < run.lists.chapters.GetCount(); ++i)
        chapters.push_back({run.lists.chapters.GetPosition(i), run.lists.chapters.GetTitle(i)});
    return chapters;
}

TEST(PaginatePages, PageBreakCodeNeverMakesAnEmptyPage)
{
    ReportCapture capture;
    Pagination run;
    // \p at the top of a page is ignored, and so is the second of two.
    Paginate(run, "\\pa\\p\\pb");
    EXPECT_EQ(run.Small(), OneRecord({0, 5}));
    EXPECT_EQ(run.Large(), OneRecord({0, 5}, kLarge));
}

TEST(PaginatePages, StyleWordHoldsStyleAlignmentAndFont)
{
    ReportCapture capture(true);
    // Bold font 1, italic, centered: 0x8000 | 1 | 1 << 3 in both passes
    // (font 1 has 11-pixel lines, so 13 lines a page in both).
    Pagination bold;
    Paginate(bold, "\\b\\i\\c" + ShortLines(13) + "a");
    EXPECT_EQ(bold.Small(), (std::vector<PageEntry>{{0, 1, 0, 0, 0}, {1, 1, 32, 32, kItalic | 1 | 1 << 3}}));
    EXPECT_EQ(bold.Large(), (std::vector<PageEntry>{{0, 1, 0, 0, kLarge}, {1, 1, 32, 32, kItalic | 1 | 1 << 3}}));
    // Indented and right-aligned; the large font's 14-pixel lines give
    // ten a page.
    Pagination right;
    Paginate(right, "\\t\\r" + ShortLines(13) + "a");
    EXPECT_EQ(right.Small(), (std::vector<PageEntry>{{0, 1, 0, 0, 0}, {1, 1, 30, 30, kIndented | 2}}));
    EXPECT_EQ(right.Large(), (std::vector<PageEntry>{{0, 1, 0, 0, kLarge}, {1, 1, 24, 24, kIndented | 2 | kLarge}}));
}

TEST(PaginatePages, MovedLineStartsItsPageInTheStateOfItsStart)
{
    ReportCapture capture;
    Pagination run;
    // Line 14 turns italic on; its page starts before that.
    Paginate(run, ShortLines(13) + "a\\ib\\i\nc");
    EXPECT_EQ(run.Small(), OneRecord({0, 26}));
}

TEST(PaginatePages, EntryNamesTheRecordHoldingThePageStart)
{
    ReportCapture capture;
    Pagination run;
    // Records end at 10 and 15. A page at 10 is the end of record 1; one
    // at 13 lies 3 bytes into record 2.
    Paginate(run, "aaaaaaaa\\pb\\pcc", 0, {10, 15});
    const std::vector<PageEntry> expected{{0, 1, 0, 0, 0}, {1, 1, 10, 10, 0}, {2, 2, 3, 13, 0}};
    EXPECT_EQ(run.Small(), expected);
    ASSERT_EQ(run.Large().size(), 3u);
    EXPECT_EQ(run.Large()[2], (PageEntry{2, 2, 3, 13, kLarge}));
}

TEST(PaginatePages, ChapterCodeStartsAPageAtItsCode)
{
    ReportCapture capture;
    Pagination run;
    Paginate(run, "a\n\\xOne\\x text");
    EXPECT_EQ(run.Small(), OneRecord({0, 2}));
    EXPECT_EQ(run.Large(), OneRecord({0, 2}, kLarge));
    EXPECT_EQ(Chapters(run), (std::vector<Chapter>{{2, "One"}}));

    // At the top of a page it makes no new page.
    Pagination top;
    Paginate(top, "\\xOne\\x text\n\\xTwo\\x");
    EXPECT_EQ(top.Small(), OneRecord({0, 13}));
    EXPECT_EQ(Chapters(top), (std::vector<Chapter>{{0, "One"}, {13, "Two"}}));
}

TEST(PaginatePages, HeadingOnAMovedLineIsRecordedOnce)
{
    ReportCapture capture;
    // The code opens line 14, which moves: scanned again from the line
    // start, the code is not skipped and its closing code still closes.
    Pagination start;
    Paginate(start, "\\C0=\"Zero\"" + ShortLines(13) + "\\X1Head\\X1 text");
    EXPECT_EQ(start.Small(), OneRecord({0, 36}));
    EXPECT_EQ(Chapters(start), (std::vector<Chapter>{{0, "Zero"}, {36, "    Head"}}));

    // Within the line, and several on one line.
    Pagination middle;
    Paginate(middle, ShortLines(13) + "b \\X2Sub\\X2 \\C0=\"A\"\\C1=\"B\"c");
    EXPECT_EQ(middle.Small(), OneRecord({0, 26}));
    EXPECT_EQ(Chapters(middle), (std::vector<Chapter>{{28, "        Sub"}, {38, "A"}, {45, "    B"}}));
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
    Pagination heading;
    Paginate(heading, line + "\\X1Head\\X1 tail");
    EXPECT_FALSE(heading.failed);
    EXPECT_EQ(heading.Small(), OneRecord({0, 57}));
    EXPECT_EQ(Chapters(heading), (std::vector<Chapter>{{57, "    Head"}}));

    // \x: the page break comes before the code, which then opens page 1.
    Pagination chapter;
    Paginate(chapter, line + "\\xHead\\x tail");
    EXPECT_FALSE(chapter.failed);
    EXPECT_EQ(chapter.Small(), OneRecord({0, 57}));
    EXPECT_EQ(Chapters(chapter), (std::vector<Chapter>{{57, "Head"}}));
    EXPECT_TRUE(capture.errors().empty());
}

TEST(PaginatePages, ExcludedPageTablesStayEmptyWhileTheScanRuns)
{
    ReportCapture capture;
    Pagination run;
    Paginate(run, "\\xOne\\x a\n\\xTwo\\x b", ExcludePageTables);
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.Small().empty());
    EXPECT_TRUE(run.Large().empty());
    EXPECT_EQ(Chapters(run), (std::vector<Chapter>{{0, "One"}, {10, "Two"}}));
    EXPECT_EQ(capture.statuses(), (std::vector<std::string>{"Generating page tables for the small font...",
                                                            "Generating page tables for the large font..."}));
}

TEST(PaginatePages, DictionaryRunsOnlyTheSmallFontPass)
{
    ReportCapture capture;
    Pagination run;
    // The large font left open would be warned about in a large-font pass.
    Paginate(run, "\\xOne\\x \\l" + ShortLines(20), Dictionary);
    EXPECT_FALSE(run.failed);
    EXPECT_TRUE(run.Small().empty());
    EXPECT_TRUE(run.Large().empty());
    EXPECT_EQ(Chapters(run), (std::vector<Chapter>{{0, "One"}}));
    EXPECT_EQ(capture.statuses(), (std::vector<std::string>{"Generating page tables for the small font..."}));
    EXPECT_EQ(capture.warnings(), (std::vector<std::string>{"This file does not end in the normal font!"}));
}

TEST(PaginatePages, TextEndingInAnotherFontIsWarnedAboutPerPass)
{
    const std::string warning = "This file does not end in the normal font!";
    {
        // \l in the large-font pass switches back to that pass's font.
        ReportCapture capture;
        Pagination run;
        Paginate(run, "\\la");
        EXPECT_FALSE(run.failed);
        EXPECT_EQ(capture.warnings(), (std::vector<std::string>{warning}));
    }
    {
        ReportCapture capture;
        Pagination run;
        Paginate(run, "\\ba");
        EXPECT_EQ(capture.warnings(), (std::vector<std::string>{warning, warning}));
    }
    {
        ReportCapture capture(true);
        Pagination run;
        Paginate(run, "\\ba");
        EXPECT_TRUE(capture.warnings().empty());
    }
}

// Palette images named by their size, "WxH.png", in a folder of the test.
class PaginateImages : public ::testing::Test {
protected:
    PaginateImages()
    {
        const std::pair<uint32_t, uint32_t> sizes[] = {{150, 140}, {10, 149}, {10, 148}, {160, 10},
                                                       {150, 10},  {155, 10}, {151, 10}};
        for (const auto& [width, height] : sizes)
            WriteBytes(m_folder.File(std::to_string(width) + "x" + std::to_string(height) + ".png"),
                       EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, width, height)));
    }

    std::vector<PageEntry> SmallPages(const std::string& text)
    {
        Pagination run;
        Paginate(run, text, 0, {}, m_folder.Path().string());
        EXPECT_FALSE(run.failed) << text;
        return run.Small();
    }

    TempDir m_folder;
    ReportCapture capture;
};

TEST_F(PaginateImages, ImageRaisesTheLineToItsHeight)
{
    // A 140-pixel line and an 11-pixel one do not fit on one page.
    const std::string image = "\\m=\"150x140.png\"\n"; // 17 bytes
    EXPECT_EQ(SmallPages(image + "b"), OneRecord({0, 17}));
    EXPECT_EQ(SmallPages("\\My=\"150x140.png\"\nb"), OneRecord({0, 18}));
    // 149 pixels high is too high for a page: laid out as 16 x 16.
    EXPECT_EQ(SmallPages("\\m=\"10x149.png\"\nb"), OneRecord({0}));
    EXPECT_EQ(SmallPages("\\Mz=\"10x148.png\"\nb"), OneRecord({0, 17}));
}

TEST_F(PaginateImages, ImageTooWideForTheLineCountsAsSixteenPixels)
{
    // On line 13: 160 wide becomes 16, and "b" fits behind it; 150 + 5
    // fits too; 155 + 5 does not, and "b" begins line 14.
    EXPECT_EQ(SmallPages(kTwelveLines + "\\m=\"160x10.png\"b"), OneRecord({0}));
    EXPECT_EQ(SmallPages(kTwelveLines + "\\m=\"150x10.png\"b"), OneRecord({0}));
    EXPECT_EQ(SmallPages(kTwelveLines + "\\m=\"155x10.png\"b"), OneRecord({0, 24 + 15}));
    // With the indented style 8 pixels count: 151 is too wide, 150 fills
    // the line, and "b" breaks it before the image code.
    EXPECT_EQ(SmallPages(kTwelveLines + "\\t\\m=\"151x10.png\"b"), OneRecord({0}));
    EXPECT_EQ(SmallPages(kTwelveLines + "\\t\\m=\"150x10.png\"b"),
              (std::vector<PageEntry>{{0, 1, 0, 0, 0}, {1, 1, 26, 26, kIndented}}));
    // An image that does not fit behind text begins the next line.
    EXPECT_EQ(SmallPages(kTwelveLines + "aa\\m=\"150x10.png\""), OneRecord({0, 26}));
}

} // namespace
