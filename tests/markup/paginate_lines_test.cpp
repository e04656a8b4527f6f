// Line breaking and line heights, seen through where the second page
// begins: the texts put the line under test at the 13th line of the first
// page (the last that fits with the 11-pixel lines of the standard font),
// so the page that follows begins exactly where that line was broken.
// Widths in the standard font: "a" 5, "A" 5, "b" 5, space 2, "-" 4, "_" 4,
// "\" 5, soft hyphen 4.
#include <gtest/gtest.h>

#include <string>

#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"

namespace {

const std::string kTwelveLines = ShortLines(12); // 24 bytes

// Small-font page table of `text`.
PageTable Pages(const std::string& text)
{
    ReportCapture capture(true);
    const auto run = Scan(text);
    EXPECT_FALSE(run->failed) << text;
    EXPECT_TRUE(capture.errors().empty()) << capture.errors().front();
    return SmallPages(*run);
}

TEST(PaginateLines, EmptyTextHasOnePagePerFont)
{
    ReportCapture capture;
    const auto run = Scan("");
    EXPECT_FALSE(run->failed);
    EXPECT_EQ(SmallPages(*run), (PageTable{{0, 1, 0, 0, 0}}));
    EXPECT_EQ(LargePages(*run), (PageTable{{0, 1, 0, 0, kEntryLargeFont}}));
    EXPECT_EQ(capture.statuses(), (std::vector<std::string>{"Generating page tables for the small font...",
                                                            "Generating page tables for the large font..."}));
    EXPECT_TRUE(capture.warnings().empty());
    EXPECT_TRUE(capture.errors().empty());
}

TEST(PaginateLines, PagesHoldThirteenSmallOrTenLargeLines)
{
    ReportCapture capture;
    const auto run = Scan(ShortLines(30));
    EXPECT_EQ(SmallPages(*run), OneRecord({0, 26, 52}));
    EXPECT_EQ(LargePages(*run), OneRecord({0, 20, 40}, kEntryLargeFont));
}

TEST(PaginateLines, BlankLinesTakeRoomOnlyBelowThePageTop)
{
    // Three blank lines at the top, then 13 lines: one page for all.
    EXPECT_EQ(Pages("\n\n\n" + ShortLines(13)), OneRecord({0}));
    EXPECT_EQ(Pages("\n\n\n" + ShortLines(13) + "b"), OneRecord({0, 29}));
    // A blank line in the middle of a page is a line of 11 pixels.
    EXPECT_EQ(Pages(ShortLines(12) + "\nb"), OneRecord({0, 25}));
    // A blank line that does not fit begins the next page, where it and
    // the blank line after it take no room: "b" and 12 lines fill page 1.
    EXPECT_EQ(Pages(ShortLines(13) + "\n\nb\n" + ShortLines(12) + "c"), OneRecord({0, 26, 54}));
    // With the indented style the empty line starts at 8 pixels.
    EXPECT_EQ(Pages("\\t\n\n" + ShortLines(13) + "b"), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 30, 30, kEntryIndented}}));
}

TEST(PaginateLines, LinesBreakAtTheLastSpaceOrHyphen)
{
    // Words of 50 pixels: three and their spaces make 154, the fourth
    // begins the next line.
    const std::string word(10, 'a');
    EXPECT_EQ(Pages(kTwelveLines + word + " " + word + " " + word + " " + word), OneRecord({0, 24 + 33}));
    // After "-" or "_" (150 + 4 = 154) the next byte may begin a line.
    EXPECT_EQ(Pages(kTwelveLines + std::string(30, 'a') + "-bbbb"), OneRecord({0, 24 + 31}));
    EXPECT_EQ(Pages(kTwelveLines + std::string(30, 'a') + "_bbbb"), OneRecord({0, 24 + 31}));
    // A run of spaces belongs to the line before it.
    EXPECT_EQ(Pages(kTwelveLines + std::string(31, 'a') + "    b"), OneRecord({0, 24 + 35}));
}

TEST(PaginateLines, TrailingSpacesNeverPushALineOver)
{
    // 155 pixels of text and 8 of spaces: the line still ends at its line
    // feed, and "b" is the 14th line.
    EXPECT_EQ(Pages(kTwelveLines + std::string(31, 'a') + "    \nb"), OneRecord({0, 24 + 36}));
}

TEST(PaginateLines, OverlongWordBreaksBeforeTheOverflowingByte)
{
    // 31 x 5 = 155 fits, the 32nd byte begins the next line.
    EXPECT_EQ(Pages(kTwelveLines + std::string(40, 'a')), OneRecord({0, 24 + 31}));
    // With the indented style the line starts at 8: 30 bytes fit.
    EXPECT_EQ(Pages(kTwelveLines + "\\t" + std::string(40, 'a')),
              (PageTable{{0, 1, 0, 0, 0}, {1, 1, 56, 56, kEntryIndented}}));
}

TEST(PaginateLines, OverflowAtAMultiByteCodeEndsBeforeTheCode)
{
    // "\\" and "\a065" are measured as one byte of 5 pixels; the line ends
    // before the backslash, never inside the code.
    EXPECT_EQ(Pages(kTwelveLines + std::string(31, 'a') + "\\\\bb"), OneRecord({0, 24 + 31}));
    EXPECT_EQ(Pages(kTwelveLines + std::string(31, 'a') + "\\a065bb"), OneRecord({0, 24 + 31}));
    // A line of nothing but such codes breaks before the 32nd.
    EXPECT_EQ(Pages(kTwelveLines + Repeat("\\a065", 40)), OneRecord({0, 24 + 31 * 5}));
}

TEST(PaginateLines, SoftHyphenBreaksAfterItsCode)
{
    // 150 + 4 < 159: a break is possible after "\-"; the next line
    // begins after the code.
    EXPECT_EQ(Pages(kTwelveLines + std::string(30, 'a') + "\\-aaaa"), OneRecord({0, 24 + 32}));
    // 155 + 4 = 159: no break there; the byte that overflows begins the
    // next line.
    EXPECT_EQ(Pages(kTwelveLines + std::string(31, 'a') + "\\-aa"), OneRecord({0, 24 + 33}));
}

TEST(PaginateLines, BreakAtASoftHyphenAddsItsWidthButNotItsHeight)
{
    ReportCapture capture(true);
    // In the large font "w" is 10 pixels: 15 fit on a line. The first line
    // breaks at the soft hyphen before any "w" and shows only the hyphen;
    // it keeps the height of a line that measured nothing (11), so page 1
    // holds the title line, that line and nine lines of "w" (11 + 11 + 9 x
    // 14 = 148).
    const std::string text = "TITLE=\"T\"\n\\l\\-" + std::string(200, 'w') + "\\l\n";
    const auto run = Scan(text);
    EXPECT_FALSE(run->failed);
    EXPECT_EQ(capture.problems(), Messages{});
    EXPECT_EQ(SmallPages(*run), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 149, 149, kEntryLargeFont}}));
}

TEST(PaginateLines, InvisibleTextTakesNoRoomButEscapesDo)
{
    // Hidden bytes and line feeds do nothing: line 13 ends at the visible
    // line feed.
    EXPECT_EQ(Pages(kTwelveLines + "\\v" + std::string(100, 'a') + "\n\n\\v\nb"), OneRecord({0, 24 + 107}));
    // "\\" is measured also in hidden text.
    EXPECT_EQ(Pages(kTwelveLines + "\\v" + Repeat("\\\\", 40) + "\\v"),
              (PageTable{{0, 1, 0, 0, 0}, {1, 1, 88, 88, kEntryInvisible}}));
}

TEST(PaginateLines, LineHeightFollowsTheFont)
{
    ReportCapture capture(true);
    // Large font: 14 pixels, ten lines a page in both passes.
    const auto large = Scan(Repeat("\\lA\\l\n", 11));
    EXPECT_EQ(SmallPages(*large), OneRecord({0, 60}));
    EXPECT_EQ(LargePages(*large), OneRecord({0, 60}, kEntryLargeFont));
    // A wrapped line keeps its height: five words of large "aaaa " (24 +
    // 4 pixels) make a line of 14 pixels, and line 11 begins page 1.
    const auto wrapped = Scan("\\l" + Repeat("aaaa ", 60) + "\\l");
    EXPECT_EQ(SmallPages(*wrapped), (PageTable{{0, 1, 0, 0, 0}, {1, 1, 252, 252, kEntryLargeFont}}));
    // Large bold: 15 pixels, nine lines; the standard bold stays at 11.
    const auto bold = Scan(Repeat("\\BA\\B\n", 10));
    EXPECT_EQ(SmallPages(*bold), OneRecord({0}));
    EXPECT_EQ(LargePages(*bold), OneRecord({0, 54}, kEntryLargeFont));
    // Superscript needs 7 pixels, but a line is at least 11 high: 13 lines
    // a page even in the large-font pass.
    const auto script = Scan(Repeat("\\SpA\\Sp\n", 14));
    EXPECT_EQ(SmallPages(*script), OneRecord({0, 104}));
    EXPECT_EQ(LargePages(*script), OneRecord({0, 104}, kEntryLargeFont));
    // \U raises the line to 14 pixels. It has no width: at the top of a
    // page a line holding nothing else is still the empty first line,
    // whose line feed is ignored.
    const auto unicode = Scan(Repeat("\\U0041\n", 20) + Repeat("A\\U0041\n", 11));
    EXPECT_FALSE(unicode->failed);
    EXPECT_EQ(SmallPages(*unicode), OneRecord({0, 140 + 80}));
}

TEST(PaginateLines, BlocksThatOverfillAPageStayOnIt)
{
    // Five \d blocks (165 pixels) on the first line of a page stay there;
    // the next line goes to the next page.
    const std::string text = "\\d\\d\\d\\d\\d\nb";
    EXPECT_EQ(Pages(text), OneRecord({0, 11}));
    // A block low on a page moves with its line; on the next page the
    // block line (44) and "b" (55) leave room for 8 lines.
    EXPECT_EQ(Pages(ShortLines(10) + "\\d\nb\n" + ShortLines(11) + "c"), OneRecord({0, 20, 41}));
}

TEST(PaginateLines, RulesAndIndentsMoveTheLinePosition)
{
    const std::string elevenLines = ShortLines(11);
    // A rule is a line of its own: "a", the rule, then "b" as line 14.
    EXPECT_EQ(Pages(elevenLines + "a\\w=\"50%\"b"), OneRecord({0, 22 + 9}));
    // An indent of 50 % is 79 pixels: 15 bytes fit behind it, and the
    // line breaks after the code when the word does not.
    EXPECT_EQ(Pages(kTwelveLines + "\\T=\"50%\"" + std::string(15, 'a')), OneRecord({0}));
    EXPECT_EQ(Pages(kTwelveLines + "\\T=\"50%\"" + std::string(16, 'a')), OneRecord({0, 24 + 8}));
}

TEST(PaginateLines, SidebarIconTakesSixteenPixelsAndASpace)
{
    // 140 + 16 + 2 = 158 fits; 145 + 18 does not, and the code begins
    // the next line.
    EXPECT_EQ(Pages(kTwelveLines + std::string(28, 'a') + "\\Sd=\"n\"\\Sd"), OneRecord({0}));
    // The code is scanned again on the next line and opens its reference
    // there; the closing code still closes it.
    EXPECT_EQ(Pages(kTwelveLines + std::string(29, 'a') + "\\Sd=\"n\"x\\Sd"), OneRecord({0, 24 + 29}));
    // The icon line is 16 pixels high: 9 such lines and a 10th of 11 make
    // 155, so the 10th line begins page 1.
    EXPECT_EQ(Pages(Repeat("\\Sd=\"n\"x\\Sd\n", 9) + "b"), OneRecord({0, 9 * 12}));
}

} // namespace
