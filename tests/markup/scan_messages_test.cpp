// Control codes without arguments: illegal codes, style and font switches,
// alignment, the end-of-text repair, and which pass logs what.
#include <gtest/gtest.h>

#include <string>

#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

TEST(ScanIllegalCodes, UnknownLetterIsOneErrorInTheSmallFontPass)
{
    ReportCapture capture;
    auto r = Scan("one \\e two");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.all(), (Messages{kSmall, "E:Illegal control code starting at \"\\e two\"", kLarge}));
}

TEST(ScanIllegalCodes, CodesAreCaseSensitiveAndContextIsFortyBytes)
{
    ReportCapture capture;
    const std::string tail(50, 'z');
    auto r = Scan("\\P\\A\\" + std::string("e") + tail);
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Illegal control code starting at \"\\P\\A\\e" + tail.substr(0, 35) + "\"",
                        "E:Illegal control code starting at \"\\A\\e" + tail.substr(0, 37) + "\"",
                        "E:Illegal control code starting at \"\\e" + tail.substr(0, 39) + "\""}));
}

TEST(ScanIllegalCodes, UpperMNeedsYOrZ)
{
    ReportCapture capture;
    auto r = Scan("a\\Mq b\\M");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.problems(), (Messages{"E:Illegal control code starting at \"\\Mq b\\M\"",
                                            "E:Illegal control code starting at \"\\M\""}));
}

TEST(ScanIllegalCodes, UpperSNeedsPBOrDAndSkipsThreeBytes)
{
    ReportCapture capture;
    auto r = Scan("x\\Sxyz \\S");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.problems(), (Messages{"E:Illegal control code: \\Sx", "E:Illegal control code: \\S"}));
}

TEST(ScanIllegalCodes, UpperFWithoutNIsSkippedSilently)
{
    ReportCapture capture;
    auto r = Scan("x\\Fx\\F");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
}

TEST(ScanFonts, MixingBoldFontAndBoldStyleIsReportedOncePerParse)
{
    ReportCapture capture;
    auto r = Scan("\\bbold\\b and \\Bstrong\\B and \\bagain\\b");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.all(), (Messages{kSmall, "E:You can't use \\b and \\B in the same file.", kLarge}));
}

TEST(ScanFonts, BoldStyleFirstThenBoldFontIsTheSameError)
{
    ReportCapture capture;
    auto r = Scan("\\Bstrong\\B \\bbold\\b");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.problems(), (Messages{"E:You can't use \\b and \\B in the same file."}));
}

TEST(ScanFonts, EndingOutsideTheNormalFontWarnsPerPass)
{
    {
        ReportCapture capture;
        // \l in the large-font pass switches back to the normal (large) font.
        auto r = Scan("\\lbig");
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(capture.all(), (Messages{kSmall, "W:This file does not end in the normal font!", kLarge}));
    }
    {
        ReportCapture capture;
        auto r = Scan("\\bbold");
        EXPECT_EQ(capture.all(), (Messages{kSmall, "W:This file does not end in the normal font!", kLarge,
                                           "W:This file does not end in the normal font!"}));
    }
    {
        ReportCapture capture;
        auto r = Scan("\\sfine\\n \\l\\n");
        EXPECT_EQ(capture.problems(), Messages{});
    }
    {
        ReportCapture capture(true);
        auto r = Scan("\\bbold");
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
    }
}

TEST(ScanStyles, SuperscriptWithSubscriptIsAnErrorInEveryPass)
{
    ReportCapture capture;
    auto r = Scan("H\\Sb2\\SbO x\\Spa\\Sbb\\Sb\\Sp y\\Sba\\Spb\\Sp\\Sb");
    EXPECT_TRUE(r->failed);
    const std::string e = "E:Can't have superscript and subscript at the same time!";
    EXPECT_EQ(capture.all(), (Messages{kSmall, e, e, kLarge, e, e}));
}

TEST(ScanStyles, SmallCapsInsideSuperscriptShowsSixtyBytesFromTenBefore)
{
    ReportCapture capture;
    const std::string text = "0123456789abcdef\\Spx\\ky\\k\\Sp" + std::string(60, '.');
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    // the \k that switches small caps off again is no error
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Can't have superscript/subscript and small caps at the same time! Near \"" +
                        text.substr(10, 60) + "\""}));
}

TEST(ScanStyles, SmallCapsBeforeSuperscriptIsAllowed)
{
    ReportCapture capture;
    const std::string text = "\\kA\\Sp1\\Sp\\k \\Sb\\k\\k\\Sb";
    auto r = Scan(text);
    // only the \k inside the subscript counts (at 16)
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Can't have superscript/subscript and small caps at the same time! Near \"" + text.substr(6) +
                        "\""}));
}

TEST(ScanAlignment, SwitchingWithoutClosingWarnsOncePerPass)
{
    ReportCapture capture;
    const std::string text = "\\cabc\\rdef ghi jkl mno pqr stu vwx yz0 123 456\\r";
    auto r = Scan(text);
    EXPECT_FALSE(r->failed);
    const std::string w =
        "W:Should close alignment tag before switching to another, before \"" + text.substr(5, 30) + "\"";
    EXPECT_EQ(capture.all(), (Messages{kSmall, w, kLarge, w}));
}

TEST(ScanAlignment, ClosedAlignmentsAndBatchModeGiveNoWarning)
{
    {
        ReportCapture capture;
        auto r = Scan("\\cabc\\c\\rdef\\r\\rx\\r\\cy\\c");
        EXPECT_EQ(capture.problems(), Messages{});
    }
    {
        ReportCapture capture(true);
        auto r = Scan("\\cabc\\rdef\\r\\rghi\\cjkl\\c");
        EXPECT_EQ(capture.problems(), Messages{});
    }
}

TEST(ScanRepair, BareBackslashAtTheEndClosesTheOpenAlignment)
{
    ReportCapture capture;
    auto r = Scan("\\ccentered\\");
    EXPECT_FALSE(r->failed);
    // the large-font pass sees the completed \c: no second warning, and no
    // alignment or font is left open
    EXPECT_EQ(capture.all(), (Messages{kSmall, "W:Bare \\ at the end of the file -- attempting to repair", kLarge}));
    // the page tables never point past the text records
    for (const PageRecList* pages : {&r->lists.smallPages, &r->lists.largePages})
        for (uint32_t i = 0; i < pages->GetEntryCount(); ++i)
            EXPECT_LE(pages->GetPosition(i), 11u);
}

TEST(ScanRepair, LineFeedAfterTheFinalBackslashGoesFirst)
{
    ReportCapture capture;
    auto r = Scan("\\lbig\\\n");
    EXPECT_FALSE(r->failed);
    // "\l" is added: the large font is switched off, so the file ends in the
    // normal font in both passes
    EXPECT_EQ(capture.all(), (Messages{kSmall, "W:Bare \\ at the end of the file -- attempting to repair", kLarge}));
}

TEST(ScanRepair, RepairLettersFollowAlignmentThenFont)
{
    {
        ReportCapture capture;
        auto r = Scan("\\rright\\");
        EXPECT_EQ(capture.problems(), (Messages{"W:Bare \\ at the end of the file -- attempting to repair"}));
    }
    {
        // \b open: the repair adds "b", which closes the bold font
        ReportCapture capture;
        auto r = Scan("\\bbold\\");
        EXPECT_EQ(capture.problems(), (Messages{"W:Bare \\ at the end of the file -- attempting to repair"}));
    }
    {
        // a lone backslash is the whole text; the repair is silent in batch mode
        ReportCapture capture(true);
        auto r = Scan("\\");
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(capture.problems(), Messages{});
    }
}

TEST(ScanUnterminated, ArgumentCutByTheEndIsOneErrorAndRecordsNothing)
{
    struct Case {
        std::string text;
        std::string shown; // the bytes from the code's backslash
    };
    const std::string longName(60, 'n');
    const Case cases[] = {
        {"a \\C1=\"Title", "\\C1=\"Title"},
        {"a \\m=\"pic.png", "\\m=\"pic.png"},
        {"a \\My=\"pic.png", "\\My=\"pic.png"},
        {"a \\Mz=\"pic.png", "\\Mz=\"pic.png"},
        {"a \\q=\"#" + longName, ("\\q=\"#" + longName).substr(0, 40)},
        {"a \\Q=\"anchor", "\\Q=\"anchor"},
        {"a \\Sd=\"side", "\\Sd=\"side"},
        {"a \\Fn=\"foot", "\\Fn=\"foot"},
        {"a \\w=\"50", "\\w=\"50"},
        {"a \\T=\"25", "\\T=\"25"},
        {"a \\C0=\"" + std::string(100, 't'), ("\\C0=\"" + std::string(100, 't')).substr(0, 40)},
    };
    for (const Case& c : cases) {
        ReportCapture capture;
        auto r = Scan(c.text);
        EXPECT_TRUE(r->failed) << c.text;
        EXPECT_EQ(capture.all(),
                  (Messages{kSmall, "E:Unterminated argument at the end of the file: \"" + c.shown + "\"", kLarge}))
            << c.text;
        EXPECT_EQ(Chapters(*r), ChapterRows{}) << c.text;
        EXPECT_EQ(Images(*r), ImageRows{}) << c.text;
        EXPECT_EQ(SetNames(r->lists.sidebars), Names{}) << c.text;
        EXPECT_EQ(SetNames(r->lists.footnotes), Names{}) << c.text;
        EXPECT_EQ(r->lists.links.GetCount(), 0u) << c.text;
    }
}

TEST(ScanUnterminated, MessagesOfTheScanItselfStayAndTheScanEnds)
{
    ReportCapture capture;
    // the line end inside the indent is a non-digit (every pass); the scan
    // ends with the text
    auto r = Scan("\\T=\"2\n");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.all(), (Messages{kSmall, "E:Indent specifier must be only digits!",
                                       "E:Unterminated argument at the end of the file: \"\\T=\"2\n\"", kLarge,
                                       "E:Indent specifier must be only digits!"}));

    ReportCapture second;
    auto s = Scan("\\q=\"#ab\ncd");
    EXPECT_EQ(second.problems(), (Messages{"E:Returns are not permitted in link references.  See '\\q=\"#ab\ncd'.",
                                           "E:Unterminated argument at the end of the file: \"\\q=\"#ab\ncd\""}));
}

// A line too long for the page goes back to its last break and is scanned
// again from there: what the first scan reported is not reported again.
TEST(ScanRescan, TextScannedAgainLogsNothingNew)
{
    ReportCapture capture;
    const std::string longWord(200, 'b');
    auto r = Scan("aaaa \\Sp\\Sb" + longWord + "\\Sb\\Sp \\cx\\ry\\r" + longWord + "\n");
    EXPECT_TRUE(r->failed);
    const std::string e = "E:Can't have superscript and subscript at the same time!";
    const std::string w =
        "W:Should close alignment tag before switching to another, before \"\\ry\\r" + longWord.substr(0, 25) + "\"";
    EXPECT_EQ(capture.all(), (Messages{kSmall, e, w, kLarge, e, w}));
}

TEST(ScanRescan, RescannedIndexCodesDoNotCountTowardsTheFifty)
{
    ReportCapture capture;
    std::string text;
    for (int i = 0; i < 47; ++i)
        text += "\\I" + std::to_string(i) + "\n";
    text += "aaaa \\I\\I" + std::string(200, 'b') + "\n\\Ilast";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    const Messages problems = capture.problems();
    ASSERT_EQ(problems.size(), 50u);
    EXPECT_EQ(problems.front(), "E:Illegal control code starting at \"\\" + text.substr(1, 40) + "\"");
    EXPECT_EQ(problems.back(), "E:Illegal control code starting at \"\\Ilast\"");
}

TEST(ScanIndexCodes, OutsideDictionariesOnlyTheFirstFiftyAreReported)
{
    ReportCapture capture;
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "\\Iw" + std::to_string(i) + " ";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    Messages expected{kSmall};
    for (int i = 0; i < 50; ++i) {
        const size_t at = text.find("\\Iw" + std::to_string(i) + " ");
        expected.push_back("E:Illegal control code starting at \"\\" + text.substr(at + 1, 40) + "\"");
    }
    expected.push_back(kLarge);
    EXPECT_EQ(capture.all(), expected);
    EXPECT_EQ(r->lists.index.GetCount(), 0u);
}

TEST(ScanUnicode, EscapesInTheTextAreCheckedInTheSmallFontPass)
{
    ReportCapture capture;
    auto r = Scan("ok \\U0141 \\UE02F bad \\U01f0 short \\U12");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(capture.all(), (Messages{kSmall, "E:Error in \\U specification: \"\\U01f0\"",
                                       "E:Error in \\U specification: \"\\U12\"", kLarge}));
}

// One text with every warning that batch mode silences: outside batch mode
// each appears where it belongs; in batch mode none does, and the image
// syntax error, which batch mode leaves out as well, no longer fails the
// parse.
TEST(ScanBatchMode, SilencesItsWarningsAndTheImageSyntaxError)
{
    const std::string heading(85, 'h');
    const std::string text = "\\cA\\rB\\r\n\\C0=\"\\U0141x\"\n\\x" + heading +
                             "\\x\n\\T=\"50%\"\\T=\"10%\"\n\\Q=\"a\"x\\Q=\"a\"y\\q=\"#a\"z\\q\\q=\"#b\"w\\q\n"
                             "\\m\"x.png\"\n\\b\\cbold\\";
    {
        ReportCapture capture;
        auto r = Scan(text);
        EXPECT_TRUE(r->failed);
        const std::string align = "W:Should close alignment tag before switching to another, before \"" +
                                  text.substr(text.find("\\rB"), 30) + "\"";
        const std::string indent =
            "W:You specified an indent of 10%, which is before the current position of 79 pixels";
        const std::string font = "W:This file does not end in the normal font!";
        const size_t equals = text.find("\\m\"") + 2;
        EXPECT_EQ(capture.all(),
                  (Messages{kSmall, align,
                            "W:Unicode characters currently aren't allowed in chapter or index specifications! "
                            "Mapping them. Begins with \"" +
                                text.substr(text.find("\\U0141") - 2, 20) + "\"",
                            "W:Chapter name is > 80 characters; mismatched chapter markers? Begins with \"" +
                                heading.substr(0, 40) + "\"",
                            indent, "W:Link \"a\" defined more than once",
                            "E:Image syntax incorrect.  You have '" + text.substr(equals - 10, 20) +
                                "' and it should be \\m=\"",
                            "W:Bare \\ at the end of the file -- attempting to repair", font, kLarge, align, indent,
                            font, "W:Link \"b\" has not been defined"}));
    }
    {
        ReportCapture capture(true);
        auto r = Scan(text);
        EXPECT_FALSE(r->failed);
        EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
        EXPECT_EQ(Links(*r), (LinkRows{{"a", static_cast<uint32_t>(text.find("\"x\\Q") + 2)}, {"b", 0xFFFFFFFFu}}));
    }
}

} // namespace
