// The table of control codes and the scan function on their own, and the
// places where each code may stand as the scanner and the note checks
// enforce them.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "markup/ControlCodes.h"
#include "markup/NoteRecords.h"
#include "tests/markup/ReportCapture.h"
#include "tests/markup/ScanHarness.h"

namespace {

ScanItem ScanString(const std::string& text, uint32_t pos = 0)
{
    return ScanAt(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()), pos);
}

struct CodeCase {
    std::string text; // begins with the code
    CodeId id;        // its row
    uint32_t letters; // where its argument begins
    std::string argument;
    uint32_t end; // where the next item begins
    bool hasArgument;
    bool changesStyle;
};

// One well-formed instance of every code, followed by text that is not
// part of it.
const std::vector<CodeCase> kEveryCode = {
    {"\\pz", CodeId::PageBreak, 2, "", 2, false, false},
    {"\\xz", CodeId::Chapter, 2, "", 2, false, false},
    {"\\X3z", CodeId::Heading, 2, "3", 3, true, false},
    {"\\C2=\"Ti tle\"z", CodeId::ChapterTag, 2, "Ti tle", 12, true, false},
    {"\\Iz", CodeId::IndexItem, 2, "", 2, false, false},
    {"\\m=\"a.png\"z", CodeId::Image, 2, "a.png", 10, true, false},
    {"\\My=\"b.png\"z", CodeId::ImageY, 3, "b.png", 11, true, false},
    {"\\Mz=\"c.png\"z", CodeId::ImageZ, 3, "c.png", 11, true, false},
    {"\\Mxz", CodeId::ImageOther, 2, "", 2, false, false},
    {"\\q=\"#t\"z", CodeId::Link, 2, "#t", 7, true, true},
    {"\\Q=\"t\"z", CodeId::Anchor, 2, "t", 6, true, false},
    {"\\w=\"50%\"z", CodeId::Rule, 2, "50", 8, true, false},
    {"\\T=\"5%\"z", CodeId::Indent, 2, "5", 7, true, false},
    {"\\cz", CodeId::Center, 2, "", 2, false, true},
    {"\\rz", CodeId::Right, 2, "", 2, false, true},
    {"\\iz", CodeId::Italic, 2, "", 2, false, true},
    {"\\uz", CodeId::Underline, 2, "", 2, false, true},
    {"\\oz", CodeId::Overstrike, 2, "", 2, false, true},
    {"\\vz", CodeId::Invisible, 2, "", 2, false, true},
    {"\\kz", CodeId::SmallCaps, 2, "", 2, false, true},
    {"\\tz", CodeId::IndentedText, 2, "", 2, false, true},
    {"\\Bz", CodeId::BoldStyle, 2, "", 2, false, true},
    {"\\bz", CodeId::BoldFont, 2, "", 2, false, true},
    {"\\lz", CodeId::LargeFont, 2, "", 2, false, true},
    {"\\sz", CodeId::StandardFont, 2, "", 2, false, true},
    {"\\nz", CodeId::NormalFont, 2, "", 2, false, true},
    {"\\Spz", CodeId::Superscript, 3, "", 3, false, true},
    {"\\Sbz", CodeId::Subscript, 3, "", 3, false, true},
    {"\\Sd=\"side\"z", CodeId::Sidebar, 3, "side", 10, true, true},
    {"\\Sxz", CodeId::StyleOther, 3, "", 3, false, false},
    {"\\Fn=\"foot\"z", CodeId::Footnote, 3, "foot", 10, true, true},
    {"\\Fxz", CodeId::FootnoteOther, 2, "", 2, false, false},
    {"\\\\z", CodeId::Backslash, 2, "", 2, false, false},
    {"\\a065z", CodeId::ByteEscape, 2, "065", 5, true, false},
    {"\\U0141z", CodeId::Unicode, 2, "0141", 6, true, false},
    {"\\dz", CodeId::Divider, 2, "", 2, false, false},
    {"\\-z", CodeId::SoftHyphen, 2, "", 2, false, false},
};

TEST(ControlCodeScan, EveryCodeOfTheTableItsLengthAndArgument)
{
    std::set<CodeId> seen;
    for (const CodeCase& c : kEveryCode) {
        SCOPED_TRACE(c.text);
        const ScanItem item = ScanString(c.text);
        ASSERT_EQ(item.kind, ScanItem::Code);
        EXPECT_EQ(item.code->id, c.id);
        EXPECT_EQ(item.start, 0u);
        EXPECT_EQ(item.letters, c.letters);
        EXPECT_EQ(c.text.substr(item.argBegin, item.argEnd - item.argBegin), c.argument);
        EXPECT_EQ(item.end, c.end);
        // (the "other" rows of \M and \F leave the letter after them)
        EXPECT_EQ(c.text[item.end], c.id == CodeId::ImageOther || c.id == CodeId::FootnoteOther ? 'x' : 'z');
        EXPECT_EQ(item.hasArgument, c.hasArgument);
        EXPECT_FALSE(item.cut);
        EXPECT_EQ(item.code->changesStyle, c.changesStyle);
        seen.insert(c.id);
        // The same code further into a text is read the same way.
        const ScanItem later = ScanString("ab " + c.text, 3);
        EXPECT_EQ(later.code, item.code);
        EXPECT_EQ(later.end, item.end + 3);
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(CodeId::Count));
}

TEST(ControlCodeScan, PlainTextUnknownCodesAndABareBackslash)
{
    ScanItem item = ScanString("plain words\nmore\\iz");
    EXPECT_EQ(item.kind, ScanItem::PlainText);
    EXPECT_EQ(item.end, 16u); // up to the backslash, line ends included
    item = ScanString("x\\", 1);
    EXPECT_EQ(item.kind, ScanItem::BareBackslash);
    EXPECT_EQ(item.end, 2u);
    for (const char* unknown : {"\\e", "\\P", "\\A", "\\0", "\\ "}) {
        item = ScanString(std::string(unknown) + "zz");
        EXPECT_EQ(item.kind, ScanItem::UnknownCode) << unknown;
        EXPECT_EQ(item.end, 2u) << unknown;
    }
}

TEST(ControlCodeScan, MissingAndCutArguments)
{
    // No ="..." after a code that takes one: the code ends after its letters.
    ScanItem item = ScanString("\\m(x.png)");
    EXPECT_FALSE(item.hasArgument);
    EXPECT_EQ(item.end, 2u);
    item = ScanString("\\C2 title");
    EXPECT_FALSE(item.hasArgument);
    EXPECT_EQ(item.end, 3u); // the level digit is read
    EXPECT_EQ(item.argEnd - item.argBegin, 1u);
    // The end of the text comes before the closing quote.
    item = ScanString("\\Q=\"open");
    EXPECT_TRUE(item.hasArgument);
    EXPECT_TRUE(item.cut);
    EXPECT_EQ(item.end, 8u);
    // The byte after "%" closes a percent argument, whatever it is; a
    // quote first means the "%" is missing.
    item = ScanString("\\w=\"5%x\"z");
    EXPECT_EQ(item.end, 7u);
    item = ScanString("\\T=\"50\"z");
    EXPECT_EQ(item.end, 7u);
    EXPECT_EQ(item.argEnd, 6u);
    // Fixed-size arguments cut by the end of the text.
    item = ScanString("\\a06");
    EXPECT_TRUE(item.cut);
    EXPECT_EQ(item.end, 4u);
    item = ScanString("\\U01");
    EXPECT_TRUE(item.cut);
    // A family cut after its first letter gives its "other" row.
    EXPECT_EQ(ScanString("\\S").code->id, CodeId::StyleOther);
    EXPECT_EQ(ScanString("\\M").code->id, CodeId::ImageOther);
    EXPECT_EQ(ScanString("\\F").code->id, CodeId::FootnoteOther);
    EXPECT_TRUE(ScanString("\\S").cut);
}

TEST(ControlCodeScan, WhatTheTitleCollectorsSkip)
{
    const auto skip = [](const std::string& text) {
        const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
        const auto length = static_cast<uint32_t>(text.size());
        return SkipInTitle(bytes, length, ScanAt(bytes, length, 0));
    };
    EXPECT_EQ(skip("\\Q=\"a\"z"), 6u);   // with its quoted argument
    EXPECT_EQ(skip("\\w=\"5%x\"z"), 8u); // to the closing quote
    EXPECT_EQ(skip("\\Sd=\"s\"z"), 7u);  // a note code with its name
    EXPECT_EQ(skip("\\X1z"), 2u);        // the level digit stays
    EXPECT_EQ(skip("\\C1=\"t\"z"), 2u);  // so does \C's
    EXPECT_EQ(skip("\\Sxz"), 2u);        // an illegal code: two bytes
    EXPECT_EQ(skip("\\ez"), 2u);
    EXPECT_EQ(skip("\\U0141z"), 6u);
    EXPECT_EQ(skip("\\a065z"), 5u);
}

std::string Sample(CodeId id)
{
    for (const CodeCase& c : kEveryCode)
        if (c.id == id)
            return c.text.substr(0, c.end);
    return {};
}

// The codes each place refuses, written out here apart from the table.
const std::set<CodeId> kRefusedInLinks = {CodeId::Footnote, CodeId::FootnoteOther, CodeId::IndexItem,
                                          CodeId::Heading,  CodeId::Divider,       CodeId::Image,
                                          CodeId::Rule,     CodeId::Chapter,       CodeId::Sidebar};
const std::set<CodeId> kRefusedInNotes = {
    CodeId::ChapterTag, CodeId::Footnote, CodeId::FootnoteOther, CodeId::IndexItem, CodeId::Anchor,
    CodeId::Heading,    CodeId::Divider,  CodeId::Link,          CodeId::Chapter,   CodeId::Sidebar};
const std::set<CodeId> kAllowedInChapterTags = {CodeId::Backslash, CodeId::ByteEscape, CodeId::Unicode};

TEST(ControlCodePlaces, LinkTextRefusesTheCodesThatStartAPageAnImageARuleAnIndexItemOrANote)
{
    for (int i = 0; i < static_cast<int>(CodeId::Count); ++i) {
        const auto id = static_cast<CodeId>(i);
        SCOPED_TRACE(Sample(id));
        ReportCapture capture;
        Scan("\\q=\"#t\"" + Sample(id) + "\\q \\Q=\"t\"");
        bool refused = false;
        for (const std::string& e : capture.errors())
            refused |= e.rfind("Illegal tag", 0) == 0;
        EXPECT_EQ(refused, kRefusedInLinks.count(id) == 1);
        EXPECT_EQ((ControlCodeRow(id).places & kInLinkText) == 0, kRefusedInLinks.count(id) == 1);
    }
}

TEST(ControlCodePlaces, NotesWarnAboutTheCodesTheyMayNotHold)
{
    for (int i = 0; i < static_cast<int>(CodeId::Count); ++i) {
        const auto id = static_cast<CodeId>(i);
        const std::string text = "a " + Sample(id) + " b";
        SCOPED_TRACE(text);
        ReportCapture capture;
        CheckNoteTags(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()), "n");
        EXPECT_EQ(capture.warnings().size(), kRefusedInNotes.count(id));
        EXPECT_EQ((ControlCodeRow(id).places & kInNote) == 0, kRefusedInNotes.count(id) == 1);
    }
}

TEST(ControlCodePlaces, ChapterTagTitlesHoldOnlyTheCodesThatStandForOneByte)
{
    for (int i = 0; i < static_cast<int>(CodeId::Count); ++i) {
        const auto id = static_cast<CodeId>(i);
        std::string code = Sample(id);
        if (code.find('"') != std::string::npos)
            code = code.substr(0, code.find('='));
        SCOPED_TRACE(code);
        ReportCapture capture;
        Scan("\\C0=\"a" + code + "b\"");
        bool refused = false;
        for (const std::string& e : capture.errors())
            refused |= e == "Tags are not allowed inside \\C definitions!";
        EXPECT_EQ(refused, kAllowedInChapterTags.count(id) == 0);
        EXPECT_EQ((ControlCodeRow(id).places & kInChapterTag) != 0, kAllowedInChapterTags.count(id) == 1);
    }
}

} // namespace
