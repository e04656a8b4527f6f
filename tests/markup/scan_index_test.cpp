// Index items of dictionaries: \I item \I.
#include <gtest/gtest.h>

#include <string>

#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

const std::string kProcessing = "S:Processing index records...";

TEST(ScanIndex, DictionaryItemsAreRecordedSortedWithTheirTextRecord)
{
    ReportCapture capture;
    const std::string text = "\\Izebra\\I a striped horse.\n\\I*apple\\I a fruit.\n\\IMango\\I another.";
    const uint32_t apple = static_cast<uint32_t>(text.find("\\I*apple"));
    const uint32_t mango = static_cast<uint32_t>(text.find("\\IMango"));
    // three text records; the apple item begins exactly at the end of the
    // first, so it belongs to it
    auto r = Scan(text, Dictionary, kNoImageDirectory, {apple, mango + 1, static_cast<uint32_t>(text.size())});
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(IndexEntries(*r), (IndexRows{{1, static_cast<uint16_t>(apple), "apple"},
                                           {2, static_cast<uint16_t>(mango - apple), "Mango"},
                                           {1, 0, "zebra"}}));
    // a dictionary has one pass and no page tables
    EXPECT_EQ(capture.all(), (Messages{kSmall, kProcessing}));
    EXPECT_EQ(r->lists.smallPages.GetEntryCount(), 0u);
    EXPECT_EQ(r->lists.largePages.GetEntryCount(), 0u);
}

TEST(ScanIndex, NoStatusLineWithoutItems)
{
    ReportCapture capture;
    auto r = Scan("plain text", Dictionary);
    EXPECT_EQ(capture.all(), (Messages{kSmall}));
}

TEST(ScanIndex, StylesBeforeAnItemAreErrorsAndSwitchedOff)
{
    ReportCapture capture;
    const std::string text = "\\i\\Iword\\I \\c\\Icentred\\I \\k\\Icaps\\I\\k";
    auto r = Scan(text, Dictionary);
    EXPECT_TRUE(r->failed);
    const auto word = static_cast<uint16_t>(text.find("\\Iword"));
    const auto centred = static_cast<uint16_t>(text.find("\\Icentred"));
    const auto caps = static_cast<uint16_t>(text.find("\\Icaps"));
    EXPECT_EQ(IndexEntries(*r), (IndexRows{{1, caps, "caps"}, {1, centred, "centred"}, {1, word, "word"}}));
    // small caps is allowed; the italic and the centring are switched off
    EXPECT_EQ(capture.problems(), (Messages{"E:No styles permitted before \"" + text.substr(word, 20) + "\"",
                                            "E:No styles permitted before \"" + text.substr(centred, 20) + "\""}));
}

TEST(ScanIndex, ItemTextDropsCodesAndJoinsLines)
{
    ReportCapture capture;
    auto r =
        Scan("\\IH\\Sb2\\SbO and\nx\\Sp2\\Sp \\i\\Q=\"a\"\\m=\"p.png\"\\w=\"9%\"\\T=\"9%\"\\q=\"#a\"l\\q\\qk\\Sd\\I",
             Dictionary);
    ASSERT_EQ(r->lists.index.GetCount(), 1u);
    // \Sp and \Sb give brackets in turn; \Sd goes whole
    EXPECT_EQ(r->lists.index.GetTerm(0), "H[2]O and x[2] lk");
}

TEST(ScanIndex, ImageAndNoteCodesGoWithTheirNames)
{
    ReportCapture capture;
    auto r = Scan("\\Ia\\Fn=\"n1\"1\\Fn b\\Sd=\"s\"2\\Sd c\\My=\"p.png\"\\Mz=\"q.png\"\\Sx\\Fy\\I", Dictionary);
    ASSERT_EQ(r->lists.index.GetCount(), 1u);
    // other \S and \F codes still drop two bytes only
    EXPECT_EQ(r->lists.index.GetTerm(0), "a1 b2 cxy");
}

TEST(ScanIndex, ByteClassesDropOrWarn)
{
    ReportCapture capture;
    const std::string text = "\\I*star\x95 \x99 a+b \\a042c \\a043d\\I";
    auto r = Scan(text, Dictionary);
    EXPECT_FALSE(r->failed);
    ASSERT_EQ(r->lists.index.GetCount(), 1u);
    EXPECT_EQ(r->lists.index.GetTerm(0), "star  a+b c +d");
    const size_t plus = text.find('+');
    const size_t escape = text.find("\\a043");
    EXPECT_EQ(
        capture.problems(),
        (Messages{"W:Should this character be in an index item? Begins with \"" + text.substr(plus, 40) + "\"",
                  "W:Should this character be in an index item? Begins with \"" + text.substr(escape, 40) + "\""}));
    ReportCapture batch(true);
    auto s = Scan(text, Dictionary);
    EXPECT_EQ(batch.problems(), Messages{});
}

TEST(ScanIndex, LongItemIsCutAndWarned)
{
    ReportCapture capture;
    const std::string item(90, 'w');
    auto r = Scan("\\I" + item + "\\I", Dictionary);
    EXPECT_FALSE(r->failed);
    EXPECT_EQ(IndexEntries(*r), (IndexRows{{1, 0, item.substr(0, 80)}}));
    EXPECT_EQ(capture.problems(),
              (Messages{"W:Indexed item is > 80 characters; mismatched index markers? Begins with \"" +
                        item.substr(0, 40) + "\""}));
}

TEST(ScanIndex, UnicodeIsMappedWithTheTitleWarnings)
{
    ReportCapture capture;
    std::string text;
    for (int i = 0; i < 102; ++i)
        text += "\\Ix\\U0141\\I\n";
    auto r = Scan(text, Dictionary);
    EXPECT_FALSE(r->failed);
    ASSERT_EQ(r->lists.index.GetCount(), 102u);
    EXPECT_EQ(r->lists.index.GetTerm(0), "xL");
    const Messages problems = capture.problems();
    ASSERT_EQ(problems.size(), 101u);
    EXPECT_EQ(problems[0], "W:Unicode characters currently aren't allowed in chapter or index specifications! "
                           "Mapping them. Begins with \"" +
                               text.substr(1, 20) + "\"");
    EXPECT_EQ(problems[100], "W:Showing only the first 100 mapping warnings.");
}

TEST(ScanIndex, ItemsOutsideDictionariesRecordNothing)
{
    ReportCapture capture;
    auto r = Scan("\\Iword\\I");
    EXPECT_TRUE(r->failed);
    EXPECT_EQ(r->lists.index.GetCount(), 0u);
    EXPECT_EQ(capture.problems(), (Messages{"E:Illegal control code starting at \"\\Iword\\I\"",
                                            "E:Illegal control code starting at \"\\I\""}));
}

} // namespace
