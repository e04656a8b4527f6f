// Chapters: \Cn="title", \x ... \x and \Xn ... \Xn.
#include <gtest/gtest.h>

#include <string>

#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

TEST(ScanQuotedChapters, LevelIndentsTheTitleByFourSpaces)
{
    ReportCapture capture;
    auto r = Scan("\\C0=\"One\"text\n\\C2=\"Two\"more\n\\C4=\"Four\"");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "One"}, {14, "        Two"}, {28, "                Four"}}));
    EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
}

TEST(ScanQuotedChapters, BadLevelIsReportedAndTheTitleKept)
{
    ReportCapture capture;
    auto r = Scan("x \\C5=\"T\" y \\CA=\"U\"");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{2, "T"}, {12, "U"}}));
    EXPECT_EQ(capture.problems(), (Messages{"E:Chapter syntax is \\Cn (0 <= n <= 4); you have \"C5=\"T\"",
                                            "E:Chapter syntax is \\Cn (0 <= n <= 4); you have \"CA=\"U\""}));
}

TEST(ScanQuotedChapters, MissingQuoteRecordsNothingAndGoesOnAfterTheLevel)
{
    ReportCapture capture;
    auto r = Scan("\\C1Title \\C2=Other \\e");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Chapters(*r), ChapterRows{});
    EXPECT_EQ(capture.problems(), (Messages{"E:Chapter syntax is \\Cx=\"chapter title\"; you have \"C1Tit\"",
                                            "E:Chapter syntax is \\Cx=\"chapter title\"; you have \"C2=Ot\"",
                                            "E:Illegal control code starting at \"\\e\""}));
}

TEST(ScanQuotedChapters, EscapesInTheTitleStandForOneByte)
{
    ReportCapture capture;
    auto r = Scan("ab\\C0=\"A\\\\B\\a065\\U0141\\U03B1z\"");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{2, "A\\BALz"}}));
    const std::string u = "W:Unicode characters currently aren't allowed in chapter or index specifications! "
                          "Mapping them. Begins with \"";
    EXPECT_EQ(capture.all(), (Messages{kSmall, u + "65\\U0141\\U03B1z\"\"", u + "41\\U03B1z\"\"", kLarge}));
}

TEST(ScanQuotedChapters, OtherCodesAndReturnsAreErrors)
{
    ReportCapture capture;
    const std::string text = "0123456789\\C0=\"Bold \\btitle\nsecond\"";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{10, "Bold title second"}}));
    const std::string tags = "E:Tags are not allowed inside \\C definitions!";
    const size_t lf = text.find('\n');
    EXPECT_EQ(capture.all(),
              (Messages{kSmall, tags,
                        "E:Returns are not permitted in \\C definitions.  See '" + text.substr(lf - 10, 20) + "'.",
                        kLarge, tags}));
}

TEST(ScanQuotedChapters, UnmappableUnicodeIsAnErrorAndASpace)
{
    ReportCapture capture;
    auto r = Scan("\\C0=\"a\\U00E9b\\U01f0c\"");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "a bc"}}));
    const std::string u = "W:Unicode characters currently aren't allowed in chapter or index specifications! "
                          "Mapping them. Begins with \"";
    const std::string map = "E:Don't know how to map unicode character 00E9";
    EXPECT_EQ(capture.all(), (Messages{kSmall, u + "\"a\\U00E9b\\U01f0c\"\"", map, u + "9b\\U01f0c\"\"",
                                       "E:Error in \\U specification: \"\\U01f0\"", kLarge, map}));
}

TEST(ScanQuotedChapters, LongTitleIsCutWarnedAndCheckedForSpanningRecords)
{
    const std::string title(81, 't');
    const std::string text = "abcd\\C1=\"" + title + "\" after";
    {
        ReportCapture capture;
        auto r = Scan(text);
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(Chapters(*r), (ChapterRows{{4, "    " + title.substr(0, 76)}}));
        EXPECT_EQ(capture.problems(), (Messages{"W:Chapter name is > 80 characters; mismatched chapter markers? "
                                                "Begins with \"    " +
                                                title.substr(0, 36) + "\""}));
    }
    {
        // a record boundary inside the title
        ReportCapture capture;
        auto r = Scan(text, 0, kNoImageDirectory, {50, static_cast<uint32_t>(text.size())});
        EXPECT_TRUE(r->failed);
        EXPECT_EQ(capture.problems(),
                  (Messages{"E:Chapter tag spans text records -- reduce chapter to 80 characters. \"" +
                                title.substr(0, 40) + "\"",
                            "W:Chapter name is > 80 characters; mismatched chapter markers? Begins with \"    " +
                                title.substr(0, 36) + "\""}));
    }
    {
        // the boundary just after the closing quote still counts the quote's
        // record; batch mode silences the warning only
        ReportCapture capture(true);
        const uint32_t afterQuote = static_cast<uint32_t>(text.find("\" after") + 1);
        auto r = Scan(text, 0, kNoImageDirectory, {afterQuote, static_cast<uint32_t>(text.size())});
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(capture.problems(), Messages{});
        auto s = Scan(text, 0, kNoImageDirectory, {afterQuote - 1, static_cast<uint32_t>(text.size())});
        EXPECT_TRUE(s->failed);
        EXPECT_EQ(capture.problems(),
                  (Messages{"E:Chapter tag spans text records -- reduce chapter to 80 characters. \"" +
                            title.substr(0, 40) + "\""}));
    }
}

TEST(ScanHeadings, LevelDigitIndentsAndMustMatchTheClosingCode)
{
    ReportCapture capture;
    auto r = Scan("\\X1Heading\\X1 text \\X0Top\\X0\n\\X2Sub\\X3 rest");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "    Heading"}, {19, "Top"}, {29, "        Sub"}}));
    EXPECT_EQ(capture.problems(), (Messages{"E:\"\\X3 rest\" does not match closing \\X"}));
}

TEST(ScanHeadings, BadLevelDigitIsReportedWithoutIndent)
{
    ReportCapture capture;
    auto r = Scan("\\X7Bad\\X7");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "Bad"}}));
    EXPECT_EQ(capture.problems(), (Messages{"E:Chapter syntax is \\Xn (0 <= n <= 4); you have \"X7Bad\""}));
}

TEST(ScanHeadings, TitleLeavesOutCodesAndTheirArguments)
{
    ReportCapture capture;
    auto r = Scan("\\xThe \\iGreat\\i\nEscape\\Q=\"here\"\\T=\"99%\"\\w=\"50%\"\\m=\"x.png\"\\q=\"#here\"!\\q "
                  "\\a065\\\\\\x\nBody");
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "The Great Escape! A"}}));
    // the image and the link inside the title are scanned as usual (the
    // missing image is reported once and not listed for loading)
    EXPECT_EQ(capture.problems(), (Messages{"E:Image \"/nonexistent/vellumix_img/x.png\" doesn't exist!"}));
    EXPECT_EQ(Links(*r), (LinkRows{{"here", 32}}));
}

TEST(ScanHeadings, ThreeByteCodesGoWholeWithTheirNames)
{
    ReportCapture capture;
    auto r =
        Scan("\\X1Note\\Fn=\"n1\"1\\Fn and \\Sd=\"s\"side\\Sd H\\Sp2\\Sp\\Sb3\\Sb \\My=\"a.png\"\\Mz=\"b.png\"x\\X1");
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "    Note1 and side H23 x"}}));
}

TEST(ScanHeadings, LongTitleIsCutAndWarnedOnce)
{
    ReportCapture capture;
    const std::string words = "Lorem ipsum dolor sit amet consectetur adipiscing elit sed do eiusmod tempor "
                              "incididunt ut labore";
    auto r = Scan("\\x" + words + "\\x");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, words.substr(0, 80)}}));
    EXPECT_EQ(capture.all(), (Messages{kSmall,
                                       "W:Chapter name is > 80 characters; mismatched chapter markers? Begins with \"" +
                                           words.substr(0, 40) + "\"",
                                       kLarge}));
}

TEST(ScanHeadings, UnclosedTitleRunsToTheEnd)
{
    ReportCapture capture;
    auto r = Scan("intro\n\\xOpen end\nstill title");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{6, "Open end still title"}}));
}

TEST(ScanHeadings, ChapterStartsANewPageUnlessThePageIsEmpty)
{
    ReportCapture capture;
    auto r = Scan("\\xFirst\\x\nfirst page\n\\xSecond\\x\nsecond page", ExcludePageTables);
    EXPECT_EQ(Chapters(*r), (ChapterRows{{0, "First"}, {21, "Second"}}));
    auto s = Scan("\\xFirst\\x\nfirst page\n\\xSecond\\x\nsecond page");
    ASSERT_EQ(s->lists.smallPages.GetEntryCount(), 2u);
    EXPECT_EQ(s->lists.smallPages.GetPosition(1), 21u);
    EXPECT_EQ(r->lists.smallPages.GetEntryCount(), 0u);
}

} // namespace
