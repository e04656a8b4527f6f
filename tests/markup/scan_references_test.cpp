// Links (\q="#name"), anchors (\Q="name"), sidebar (\Sd="name") and
// footnote (\Fn="name") references.
#include <gtest/gtest.h>

#include <string>

#include "tests/markup/PaginateHarness.h"
#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

TEST(ScanLinks, ReferencesMeetAnchorsWhateverTheirCase)
{
    ReportCapture capture;
    const std::string text = "See \\q=\"#Intro\"the start\\q and \\q=\"#ZETA\"z\\q.\n\\Q=\"intro\"Intro\n\\Q=\"zeta\"";
    auto r = Scan(text);
    EXPECT_FALSE(r->failed);
    // an anchor's position is two past its closing quote
    const uint32_t intro = static_cast<uint32_t>(text.find("\"Intro\n") + 2);
    const uint32_t zeta = static_cast<uint32_t>(text.size() + 1);
    EXPECT_EQ(Links(*r), (LinkRows{{"intro", intro}, {"zeta", zeta}}));
    EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
}

TEST(ScanLinks, UndefinedAndUnusedLinks)
{
    ReportCapture capture;
    auto r = Scan("\\Q=\"unused\"\\q=\"#Nowhere\"x\\q \\Q=\"Twice\"a \\Q=\"twice\"b \\q=\"#twice\"c\\q");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(Links(*r), (LinkRows{{"nowhere", 0xFFFFFFFFu}, {"twice", 39}}));
    EXPECT_EQ(capture.problems(),
              (Messages{"W:Link \"twice\" defined more than once", "W:Link \"nowhere\" has not been defined"}));
}

TEST(ScanLinks, DuplicateAnchorOnALineScannedAgainWarnsOnce)
{
    ReportCapture capture;
    // The second line does not fit under the four 33-pixel blocks: it is
    // laid out again on page 2, with its anchor.
    const std::string text = "TITLE=\"T\" \\Q=\"a\"\\d\\d\\d\\d\n\\Q=\"a\"x\n";
    auto r = Scan(text + "\\q=\"#a\"y\\q");
    EXPECT_FALSE(r->failed);
    const uint32_t second = static_cast<uint32_t>(text.find('\n') + 1);
    EXPECT_EQ(SmallPages(*r), OneRecord({0, second}));
    EXPECT_EQ(Links(*r), (LinkRows{{"a", static_cast<uint32_t>(text.find("\"a\"") + 4)}}));
    EXPECT_EQ(capture.all(), (Messages{kSmall, "W:Link \"a\" defined more than once", kLarge}));
}

TEST(ScanLinks, NamesAreLowerCasedInAsciiOnly)
{
    ReportCapture capture;
    auto r = Scan("\\q=\"#\xC9T\xC9\"x\\q\\Q=\"\xC9t\xC9\"\\Q=\"\xE9t\xE9\"");
    const std::string upper = "\xC9t\xC9";
    EXPECT_EQ(Links(*r), (LinkRows{{upper, 21}}));
}

TEST(ScanLinks, SyntaxErrorsShowTwentyBytesFromTenBeforeTheEquals)
{
    ReportCapture capture;
    const std::string text = "0123456789abc\\q=#x\\q \\q\"#y\"\\q \\Q=name";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Links(*r), LinkRows{});
    const size_t q2 = text.find("\\q\"");
    const size_t anchor = text.find("\\Q=");
    EXPECT_EQ(
        capture.problems(),
        (Messages{"E:Link syntax incorrect.  You have '" + text.substr(5, 20) + "' and it should be \\q=\"#",
                  "E:Link syntax incorrect.  You have '" + text.substr(q2 + 2 - 10, 20) + "' and it should be \\q=\"#",
                  "E:Link syntax incorrect.  You have '" + text.substr(anchor + 2 - 10, 20) +
                      "' and it should be \\Q=\""}));
}

TEST(ScanLinks, ReturnsInsideNamesAreErrors)
{
    ReportCapture capture;
    const std::string text = "0123456789\\q=\"#a\nb\"x\\q \\Q=\"c\rd\"";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    const size_t lf = text.find('\n');
    const size_t cr = text.find('\r');
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Returns are not permitted in link references.  See '" + text.substr(lf - 9, 20) + "'.",
                        "E:Returns are not permitted in link anchors.  See '" + text.substr(cr - 9, 20) + "'.",
                        "W:Link \"a\nb\" has not been defined"}));
    // the line ends stay in the names
    EXPECT_EQ(Links(*r), (LinkRows{{"a\nb", 0xFFFFFFFFu}}));
}

TEST(ScanLinks, LongNamesKeepSeventyNineBytes)
{
    ReportCapture capture;
    const std::string name(81, 'n');
    const std::string text = "ab \\q=\"#" + name + "\"x\\q \\Q=\"" + name + "\"";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(Links(*r), (LinkRows{{name.substr(0, 79), static_cast<uint32_t>(text.size() + 1)}}));
    const size_t refName = text.find('#') + 1;
    const size_t anchorName = text.find("\\Q=") + 4;
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Link reference is longer than 80 characters: \"" + text.substr(refName - 5, 40) + "\"",
                        "E:Link is longer than 80 characters: \"" + text.substr(anchorName - 5, 40) + "\""}));
}

TEST(ScanLinks, EightyBytesAreNotTooLong)
{
    ReportCapture capture;
    const std::string name(80, 'n');
    auto r = Scan("\\q=\"#" + name + "\"x\\q\\Q=\"" + name + "\"");
    EXPECT_FALSE(r->failed);
    ASSERT_EQ(r->lists.links.GetCount(), 1u);
    EXPECT_EQ(r->lists.links.GetName(0), name);
}

TEST(ScanLinks, LinkedTextMayNotHoldPageImageRuleIndexOrReferenceCodes)
{
    struct Case {
        std::string code;
        std::string message;
    };
    const Case cases[] = {
        {"\\w=\"50%\"", "E:Illegal tag \"\\w\" in link reference to \"T\""},
        {"\\Fn=\"f\"y\\Fn", "E:Illegal tag \"\\F\" in link reference to \"T\""},
        {"\\d", "E:Illegal tag \"\\d\" in link reference to \"T\""},
        {"\\m=\"p.png\"", "E:Illegal tag \"\\m\" in link reference to \"T\""},
        {"\\Ii\\I", "E:Illegal tag \"\\I\" in link reference to \"T\""},
        {"\\X1h\\X1", "E:Illegal tag \"\\X\" in link reference to \"T\""},
        {"\\x", "E:Illegal tag \"\\x\" in link reference to \"T\""},
        {"\\Sd=\"s\"y\\Sd", "E:Illegal tag \"\\Sd\" in link reference to \"T\""},
    };
    for (const Case& c : cases) {
        ReportCapture capture;
        auto r = Scan("\\q=\"#T\"x" + c.code + "\\q\\Q=\"t\"");
        EXPECT_TRUE(r->failed) << c.code;
        ASSERT_FALSE(capture.problems().empty()) << c.code;
        EXPECT_EQ(capture.problems().front(), c.message) << c.code;
        EXPECT_EQ(capture.CountErrors("Illegal tag"), 1u) << c.code;
    }
    // styles and \Sp are allowed
    ReportCapture capture;
    auto r = Scan("\\q=\"#t\"\\i\\Spx\\Sp\\i\\q\\Q=\"t\"");
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(capture.problems(), Messages{});
}

TEST(ScanLinks, OpenReferenceIsClosedByTheNextReferenceCode)
{
    ReportCapture capture;
    // the \Fn closes the open link and reads no argument; the text after it
    // is plain
    auto r = Scan("\\q=\"#a\"x\\Fn=\"note\" \\Q=\"a\"");
    EXPECT_EQ(SetNames(r->lists.footnotes), Names{});
    EXPECT_EQ(Links(*r), (LinkRows{{"a", 26}}));
}

TEST(ScanNotes, NamesAreCollectedLowerCasedSortedAndUnique)
{
    ReportCapture capture;
    auto r = Scan("a\\Sd=\"Zed\"\\Sd b\\Fn=\"B\"1\\Fn c\\Fn=\"a\"2\\Fn d\\Fn=\"b\"3\\Fn \\Sd=\"Alpha Side\"\\Sd "
                  "\\Sd=\"\xC9T\xC9\"\\Sd");
    EXPECT_FALSE(r->failed);
    // letters beyond ASCII keep their case
    EXPECT_EQ(SetNames(r->lists.sidebars), (Names{"alpha side", "zed", "\xC9t\xC9"}));
    EXPECT_EQ(SetNames(r->lists.footnotes), (Names{"a", "b"}));
    EXPECT_EQ(capture.all(), (Messages{kSmall, kLarge}));
}

TEST(ScanNotes, CodesInsideTheReferencedTextAreErrorsInEveryPass)
{
    ReportCapture capture;
    auto r = Scan("\\Fn=\"Foot\"see \\iit\\i\\Fn \\Sd=\"Side\"\\b\\Sd\\b");
    EXPECT_TRUE(r->failed);
    const std::string f = "E:Tags are not permitted within footnote references, see reference to Foot";
    const std::string s = "E:Tags are not permitted within sidebar references, see reference to Side";
    EXPECT_EQ(capture.all(), (Messages{kSmall, f, s, kLarge, f, s}));
}

TEST(ScanNotes, SyntaxErrorsRecordNothingButStillOpenTheReference)
{
    ReportCapture capture;
    const std::string text = "0123456789\\Sd\"x\"\\Sd \\Fn=x\\Fn";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(SetNames(r->lists.sidebars), Names{});
    EXPECT_EQ(SetNames(r->lists.footnotes), Names{});
    const size_t fn = text.find("\\Fn=");
    EXPECT_EQ(capture.problems(),
              (Messages{"E:Sidebar syntax incorrect.  You have '" + text.substr(3, 20) + "' and it should be \\Sd=\"",
                        "E:Footnote syntax incorrect.  You have '" + text.substr(fn + 3 - 10, 20) +
                            "' and it should be \\Fn=\""}));
}

TEST(ScanNotes, ReturnsInsideNamesAreErrorsAndLongNamesAreCut)
{
    ReportCapture capture;
    const std::string longName(300, 'L');
    const std::string text = "0123456789\\Sd=\"a\nb\"\\Sd \\Fn=\"" + longName + "\"\\Fn \\Fn=\"c\rd\"\\Fn";
    auto r = Scan(text);
    EXPECT_TRUE(r->failed);
    const size_t lf = text.find('\n');
    const size_t cr = text.find('\r');
    EXPECT_EQ(
        capture.problems(),
        (Messages{"E:Returns are not permitted in sidebar references.  See '" + text.substr(lf - 9, 20) + "'.",
                  "E:Returns are not permitted in footnote references.  See '" + text.substr(cr - 9, 20) + "'."}));
    EXPECT_EQ(SetNames(r->lists.sidebars), (Names{"a\nb"}));
    EXPECT_EQ(SetNames(r->lists.footnotes), (Names{"c\rd", std::string(255, 'l')}));
}

} // namespace
