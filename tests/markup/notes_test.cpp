#include <zlib.h>

#include <gtest/gtest.h>

#include "ReportCapture.h"
#include "book/ImageRecList.h"
#include "book/SidebarSet.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/Report.h"
#include "framework/core/RkString.h"
#include "markup/NoteRecords.h"
#include "tests/book/PngTestImages.h"
#include "tests/book/TempDir.h"

namespace {

using Strings = std::vector<std::string>;

CMemBuffer Buffer(const std::string& text)
{
    CMemBuffer buffer(64, 64);
    buffer.Append(text.data(), static_cast<uint32_t>(text.size()));
    return buffer;
}

void Fill(CMemBuffer& buffer, const std::string& text)
{
    buffer.SetSize(0);
    buffer.Append(text.data(), static_cast<uint32_t>(text.size()));
}

std::string Str(const CMemBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

std::vector<uint32_t> Sizes(const CMemBuffer& list)
{
    std::vector<uint32_t> sizes;
    for (uint32_t i = 0; i < list.GetSize() / 4; ++i)
        sizes.push_back(list.GetU32(i));
    return sizes;
}

// The records of `buffer` cut by the sizes list (element 0 skipped), each
// decompressed.
Strings Records(const CMemBuffer& buffer, const CMemBuffer& sizes)
{
    Strings texts;
    uint32_t at = 0;
    for (uint32_t i = 1; i < sizes.GetSize() / 4; ++i) {
        const uint32_t size = sizes.GetU32(i);
        EXPECT_LE(size, 8192u);
        std::string out(8192, '\0');
        uLongf length = out.size();
        EXPECT_EQ(uncompress(reinterpret_cast<Bytef*>(out.data()), &length, buffer.GetData() + at, size), Z_OK);
        out.resize(length);
        texts.push_back(out);
        at += size;
    }
    EXPECT_EQ(at, buffer.GetSize());
    return texts;
}

std::string TableRecord(const SidebarSet& set)
{
    CMemBuffer out(64, 64);
    set.AppendTableRecord(out);
    EXPECT_EQ(out.GetSize(), set.GetTableRecordSize());
    return Str(out);
}

// ---- Cutting off the notes block

TEST(SplitOffNotes, BlockStartsAtTheFirstTagWithTheLineFeedsBeforeIt)
{
    CMemBuffer prepared = Buffer("Body.\n\n\n<footnote id=\"f\">F</footnote>\n<sidebar id=\"s\">S</sidebar>\n");
    CMemBuffer notes;
    SplitOffNotes(prepared, notes);
    EXPECT_EQ(Str(prepared), "Body.");
    EXPECT_EQ(Str(notes), "\n\n\n<footnote id=\"f\">F</footnote>\n<sidebar id=\"s\">S</sidebar>\n");

    Fill(prepared, "A\nB\n<sidebar id=\"s\">S</sidebar><footnote id=\"f\">F</footnote>");
    SplitOffNotes(prepared, notes);
    EXPECT_EQ(Str(prepared), "A\nB");
    EXPECT_EQ(Str(notes), "\n<sidebar id=\"s\">S</sidebar><footnote id=\"f\">F</footnote>");

    Fill(prepared, "<sidebar id=\"s\">only notes</sidebar>");
    SplitOffNotes(prepared, notes);
    EXPECT_EQ(Str(prepared), "");
    EXPECT_EQ(Str(notes), "<sidebar id=\"s\">only notes</sidebar>");
}

TEST(SplitOffNotes, TextWithoutAnExactStartTagIsNotCut)
{
    for (const std::string text : {"", "Plain text.\n", "x\n<Sidebar id=\"s\">S</Sidebar>", "<FOOTNOTE id=\"f\">",
                                   "<sidebar id=s>S</sidebar>", "<footnote  id=\"f\">", "</sidebar>"}) {
        CMemBuffer prepared = Buffer(text);
        CMemBuffer notes = Buffer("stale");
        SplitOffNotes(prepared, notes);
        EXPECT_EQ(Str(prepared), text);
        EXPECT_EQ(notes.GetSize(), 0u) << text;
    }
}

// ---- Resolving the references

TEST(ResolveNotes, NamesAreFoundWithoutRegardToAsciiCaseOncePerName)
{
    ReportCapture capture;
    const std::string block = "\n<SIDEBAR ID=\"MAP\">\n\nThe map.</sidebar>\n<footnote id=\"One\">Note.</footnote>"
                              "<sidebar id=\"b\">B</sidebar>";
    const CMemBuffer notes = Buffer(block);
    SidebarSet sidebars;
    FootnoteSet footnotes;
    sidebars.Add("Map");
    sidebars.Add("map");
    sidebars.Add("B");
    footnotes.Add("ONE");
    footnotes.Add("one");
    EXPECT_FALSE(ResolveNotes(notes, sidebars, footnotes));
    EXPECT_TRUE(capture.errors().empty());

    ASSERT_EQ(sidebars.GetCount(), 2u);
    EXPECT_EQ(sidebars.GetName(0), "b");
    EXPECT_EQ(sidebars.GetPosition(0), block.find("\">B") + 2);
    EXPECT_EQ(sidebars.GetName(1), "map");
    EXPECT_EQ(sidebars.GetPosition(1), block.find("The map."));
    ASSERT_EQ(footnotes.GetCount(), 1u);
    EXPECT_EQ(footnotes.GetName(0), "one");
    EXPECT_EQ(footnotes.GetPosition(0), block.find("Note."));
}

TEST(ResolveNotes, EveryMissingNameIsReported)
{
    ReportCapture capture;
    // A footnote tag does not satisfy a sidebar reference, and only ASCII
    // letters are folded: E acute (0xC9) and e acute (0xE9) differ.
    const CMemBuffer notes = Buffer("<footnote id=\"map\">x</footnote><sidebar id=\"\xE9t\xE9\">y</sidebar>");
    SidebarSet sidebars;
    FootnoteSet footnotes;
    sidebars.Add("map");
    sidebars.Add("\xC9t\xE9");
    footnotes.Add("gone");
    footnotes.Add("map");
    EXPECT_TRUE(ResolveNotes(notes, sidebars, footnotes));
    EXPECT_EQ(capture.errors(),
              (Strings{"No sidebar named \"map\" was found.", "No sidebar named \"\xC9t\xE9\" was found.",
                       "No footnote named \"gone\" was found."}));
    EXPECT_EQ(footnotes.GetPosition(1), 19u);
}

TEST(ResolveNotes, OnlyAWholeStartTagCountsAndTheFirstOneWins)
{
    ReportCapture capture;
    const std::string block = "<sidebar id=\"ab\">1</sidebar><sidebar id=\"a\" >2</sidebar>"
                              "<sidebar id=\"a\">3</sidebar><Sidebar Id=\"A\">4</sidebar>"
                              "<sidebar id=\"<sidebar id=\"c\">5</sidebar><sidebar id=\"d";
    SidebarSet sidebars;
    FootnoteSet footnotes;
    sidebars.Add("a");
    sidebars.Add("c");
    sidebars.Add("d");
    EXPECT_TRUE(ResolveNotes(Buffer(block), sidebars, footnotes));
    EXPECT_EQ(sidebars.GetPosition(0), block.find('3'));
    EXPECT_EQ(sidebars.GetPosition(1), block.find('5'));
    EXPECT_EQ(capture.errors(), Strings{"No sidebar named \"d\" was found."});
}

TEST(ResolveNotes, WithoutANotesBlockEveryReferenceIsMissing)
{
    ReportCapture capture;
    SidebarSet sidebars;
    FootnoteSet footnotes;
    EXPECT_FALSE(ResolveNotes(CMemBuffer(), sidebars, footnotes));
    footnotes.Add("f");
    EXPECT_TRUE(ResolveNotes(CMemBuffer(), sidebars, footnotes));
    EXPECT_EQ(capture.errors(), Strings{"No footnote named \"f\" was found."});
}

// ---- Building the records

class NoteBuildTest : public ::testing::Test {
protected:
    TempDir dir;
    CRkString imageDirectory{dir.Path().string().c_str(), kEncodingDeviceLatin};
    ImageRecList images;
    CMemBuffer sizes{64, 64};
    CMemBuffer buffer{64, 64};
    std::string Shown(const std::string& name) const { return dir.Path().string() + "/" + name; }

    // Resolves the entries of `sidebars` against `block` and builds them.
    uint32_t Build(const std::string& block, SidebarSet& sidebars)
    {
        Fill(m_notes, block);
        FootnoteSet none;
        EXPECT_FALSE(ResolveNotes(m_notes, sidebars, none));
        return BuildSidebarRecords(m_notes, sidebars, sizes, images, imageDirectory, buffer);
    }
    uint32_t Build(const std::string& block, FootnoteSet& footnotes)
    {
        Fill(m_notes, block);
        SidebarSet none;
        EXPECT_FALSE(ResolveNotes(m_notes, none, footnotes));
        return BuildFootnoteRecords(m_notes, footnotes, sizes, images, imageDirectory, buffer);
    }

private:
    CMemBuffer m_notes;
};

TEST_F(NoteBuildTest, EachEntryBecomesItsOwnRecordsInNameOrder)
{
    ReportCapture capture;
    SidebarSet set;
    set.Add("Zulu");
    set.Add("alpha");
    set.Add("ZULU");
    ASSERT_EQ(Build("\n\n<sidebar id=\"zulu\">\n\nZ text\nline two\n\n</sidebar>ignored between\n"
                    "<sidebar id=\"alpha\">A text</sidebar>\n",
                    set),
              0u);
    EXPECT_TRUE(capture.errors().empty());
    EXPECT_TRUE(capture.warnings().empty());
    EXPECT_EQ(Records(buffer, sizes), (Strings{"A text", "Z text\nline two"}));
    EXPECT_EQ(Sizes(sizes)[0], 0u);
    EXPECT_EQ(Sizes(sizes).size(), 3u);
    EXPECT_EQ(set.GetRecordCount(0), 1u);
    EXPECT_EQ(set.GetRecordCount(1), 1u);
    EXPECT_EQ(TableRecord(set), std::string("\0\1\5alpha\0\0\1\4zulu\0", 17));
}

TEST_F(NoteBuildTest, LongSidebarIsCutLikeTheRunningText)
{
    ReportCapture capture;
    std::string text;
    while (text.size() < 20000)
        text += "Words of a long sidebar \\bbold\\b and more. ";
    text.resize(20000);
    SidebarSet set;
    set.Add("long");
    ASSERT_EQ(Build("<sidebar id=\"long\">" + text + "</sidebar>", set), 0u);
    const Strings records = Records(buffer, sizes);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(set.GetRecordCount(0), 3u);
    std::string joined;
    for (const std::string& r : records) {
        EXPECT_LE(r.size(), 8192u);
        joined += r;
    }
    EXPECT_EQ(joined, text);
    // No record ends inside a control code.
    EXPECT_NE(records[0].back(), '\\');
    EXPECT_NE(records[1].back(), '\\');
    EXPECT_EQ(TableRecord(set), std::string("\0\3\4long\0", 8));
}

TEST_F(NoteBuildTest, EntryWithoutEndTagIsAnErrorAndTheRestIsStillBuilt)
{
    ReportCapture capture;
    FootnoteSet set;
    set.Add("a");
    set.Add("b");
    set.Add("empty");
    ASSERT_NE(Build("<footnote id=\"empty\">\n\n</footnote><footnote id=\"a\">A</footnote><footnote id=\"b\">B", set),
              0u);
    EXPECT_EQ(capture.errors(), Strings{"No end tag for sidebar or footnote named b was found."});
    EXPECT_EQ(Records(buffer, sizes), Strings{"A"});
    EXPECT_EQ(set.GetRecordCount(0), 1u);
    EXPECT_EQ(set.GetRecordCount(1), 0u);
    EXPECT_EQ(set.GetRecordCount(2), 0u);
    EXPECT_EQ(TableRecord(set), std::string("\0\1\1a\0\0\0\1b\0\0\0\5empty\0", 19));
}

TEST_F(NoteBuildTest, EntryThatRunsIntoTheNextStartTagHasNoEndTag)
{
    ReportCapture capture;
    SidebarSet set;
    set.Add("a");
    set.Add("b");
    set.Add("c");
    // The start tag that ends "a" is found without regard to case, as the
    // references are; a footnote, or an opening that is not a whole tag,
    // does not end a sidebar.
    const std::string c = "C <footnote id=\"f\">F</footnote> <sidebar id=\"x\" oops";
    ASSERT_NE(Build("<sidebar id=\"a\">A\n<SIDEBAR id=\"b\">B</sidebar><sidebar id=\"c\">" + c + "</sidebar>", set),
              0u);
    EXPECT_EQ(capture.errors(), Strings{"No end tag for sidebar or footnote named a was found."});
    EXPECT_EQ(Records(buffer, sizes), (Strings{"B", c}));
    EXPECT_EQ(TableRecord(set), std::string("\0\0\1a\0\0\1\1b\0\0\1\1c\0", 15));
}

TEST_F(NoteBuildTest, ThousandsOfEntriesWithoutTheirOwnEndTags)
{
    // Every entry but the last runs into the next start tag; the last one
    // has the only end tag. Each entry is looked at once.
    const int count = 20000;
    for (const bool closed : {false, true}) {
        ReportCapture capture;
        SidebarSet set;
        std::string block;
        Strings expected;
        for (int i = 0; i < count; ++i) {
            const std::string name = "s" + std::to_string(100000 + i);
            set.Add(name);
            block += "<sidebar id=\"" + name + "\">text " + name + "\n";
            if (i + 1 < count || !closed)
                expected.push_back("No end tag for sidebar or footnote named " + name + " was found.");
        }
        if (closed)
            block += "</sidebar>";
        sizes.SetSize(0);
        buffer.SetSize(0);
        ASSERT_NE(Build(block, set), 0u);
        EXPECT_EQ(capture.errors(), expected);
        EXPECT_EQ(Records(buffer, sizes), closed ? Strings{"text s119999"} : Strings{});
    }
}

TEST_F(NoteBuildTest, ImagesAreLoadedEvenWhenAnEndTagIsMissing)
{
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 30, 30));
    WriteBytes(dir.File("cut.png"), good.substr(0, good.size() - 30));
    ReportCapture capture;
    SidebarSet set;
    set.Add("a");
    set.Add("b");
    EXPECT_NE(Build("<sidebar id=\"a\">open <sidebar id=\"b\">\\m=\"cut.png\"</sidebar>", set), 0u);
    EXPECT_EQ(capture.errors(), (Strings{"No end tag for sidebar or footnote named a was found.",
                                         "Could not read the file \"" + Shown("cut.png") + "\""}));
}

TEST_F(NoteBuildTest, EmptySetAddsNothing)
{
    SidebarSet set;
    EXPECT_EQ(BuildSidebarRecords(CMemBuffer(), set, sizes, images, imageDirectory, buffer), 0u);
    EXPECT_EQ(sizes.GetSize(), 0u);
    EXPECT_EQ(buffer.GetSize(), 0u);
    EXPECT_EQ(set.GetTableRecordSize(), 0u);
}

TEST_F(NoteBuildTest, ForbiddenCodesWarnAndTheTextIsKept)
{
    const std::string text = "\\Cn=\"x\" \\F \\I \\Q \\X1 \\d \\q \\x \\Sd=\"y\" \\Sq \\\\C \\b ok\\S";
    {
        ReportCapture capture;
        FootnoteSet set;
        set.Add("n");
        ASSERT_EQ(Build("<footnote id=\"n\">" + text + "</footnote>", set), 0u);
        Strings expected;
        for (char c : std::string("CFIQXdqxd"))
            expected.push_back(std::string("Illegal tag \"\\") + c + "\" in sidebar or footnote \"n\"");
        expected.push_back("Illegal tag \"\\S\" in sidebar or footnote \"n\"");
        EXPECT_EQ(capture.warnings(), expected);
        EXPECT_EQ(Records(buffer, sizes), Strings{text});
    }
    {
        ReportCapture capture(true);
        CheckNoteTags(reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint32_t>(text.size()), "n");
        EXPECT_TRUE(capture.warnings().empty());
    }
}

TEST_F(NoteBuildTest, ImagesOfTheNotesAreProbedListedAndLoaded)
{
    const TestPng pic = MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 12, 8);
    const TestPng gray = MakeTestPng(PNG_COLOR_TYPE_GRAY, 8, 3, 4);
    WriteBytes(dir.File("pic.png"), EncodeTestPng(pic));
    WriteBytes(dir.File("Gray.PNG"), EncodeTestPng(gray));
    ReportCapture capture;
    SidebarSet set;
    set.Add("s");
    ASSERT_EQ(Build("<sidebar id=\"s\">\\m=\"pic.png\" \\My=\"Gray.PNG\" \\Mz=\"pic.png\" \\m \\Mq</sidebar>", set),
              0u);
    EXPECT_TRUE(capture.errors().empty());
    EXPECT_EQ(capture.warnings(), Strings{"Image syntax incorrect.  It should be \\m=\""});
    ASSERT_EQ(images.GetCount(), 2u);
    EXPECT_EQ(images.GetPath(0), Shown("Gray.PNG"));
    EXPECT_EQ(images.GetPath(1), Shown("pic.png"));
    EXPECT_EQ(images.GetWidth(1), 12u);
    EXPECT_EQ(images.GetHeight(1), 8u);
    EXPECT_EQ(DecodeTestPng(images.GetData(0), images.GetDataSize(0)).pixels, gray.pixels);
    EXPECT_EQ(DecodeTestPng(images.GetData(1), images.GetDataSize(1)).pixels, pic.pixels);
}

TEST_F(NoteBuildTest, ImageFailuresStopTheBuildAfterEveryNoteIsSeen)
{
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 30, 30));
    const std::string name31 = std::string(27, 'a') + ".png";
    const std::string name32 = std::string(28, 'a') + ".png";
    WriteBytes(dir.File(name31), good);
    WriteBytes(dir.File(name32), good);
    WriteBytes(dir.File("rgb.png"), EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_RGB, 8, 3, 3)));
    ReportCapture capture;
    FootnoteSet set;
    set.Add("a");
    set.Add("b");
    ASSERT_NE(Build("<footnote id=\"a\">\\m=\"" + name32 + "\" \\m=\"" + name31 + "\" \\m=\"gone.png\"</footnote>" +
                        "<footnote id=\"b\">\\m=\"rgb.png\" \\m=\"pic.gif\" \\m=\"open.png</footnote>",
                    set),
              0u);
    EXPECT_EQ(
        capture.errors(),
        (Strings{"Image name \"" + name32 + "\" is longer than 31 characters! Please rename the image.",
                 "Image \"" + Shown("gone.png") + "\" doesn't exist!",
                 "Unrecognized PNG color type for " + Shown("rgb.png"), "Image file \"pic.gif\" doesn't end with .png!",
                 "Image name not closed in sidebar or footnote \"b\": \"\\m=\"open.png\""}));
    ASSERT_EQ(images.GetCount(), 1u);
    EXPECT_EQ(images.GetPath(0), Shown(name31));
}

TEST_F(NoteBuildTest, LongImageNameIsRefusedAndItsFileStillLookedUp)
{
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 30, 30));
    const std::string present = std::string(28, 'p') + ".png";
    const std::string missing = std::string(40, 'm') + ".png";
    const std::string gif = std::string(32, 'g') + ".gif";
    WriteBytes(dir.File(present), good);
    ReportCapture capture;
    SidebarSet set;
    set.Add("s");
    ASSERT_NE(
        Build("<sidebar id=\"s\">\\m=\"" + present + "\" \\My=\"" + missing + "\" \\Mz=\"" + gif + "\"</sidebar>", set),
        0u);
    const auto tooLong = [](const std::string& name) {
        return "Image name \"" + name + "\" is longer than 31 characters! Please rename the image.";
    };
    EXPECT_EQ(capture.errors(),
              (Strings{tooLong(present), tooLong(missing), "Image \"" + Shown(missing) + "\" doesn't exist!",
                       tooLong(gif), "Image file \"" + gif + "\" doesn't end with .png!"}));
    EXPECT_EQ(images.GetCount(), 0u);
}

TEST_F(NoteBuildTest, ImageThatCannotBeLoadedStopsTheBuild)
{
    const std::string good = EncodeTestPng(MakeTestPng(PNG_COLOR_TYPE_PALETTE, 8, 30, 30));
    WriteBytes(dir.File("cut.png"), good.substr(0, good.size() - 30));
    ReportCapture capture;
    SidebarSet set;
    set.Add("s");
    EXPECT_NE(Build("<sidebar id=\"s\">\\m=\"cut.png\"</sidebar>", set), 0u);
    EXPECT_EQ(capture.errors(), Strings{"Could not read the file \"" + Shown("cut.png") + "\""});
}

TEST_F(NoteBuildTest, BatchModeSilencesTheSyntaxWarning)
{
    ReportCapture capture(true);
    SidebarSet set;
    set.Add("s");
    EXPECT_EQ(Build("<sidebar id=\"s\">\\m=x \\Cn=\"t\"</sidebar>", set), 0u);
    EXPECT_TRUE(capture.warnings().empty());
    EXPECT_EQ(images.GetCount(), 0u);
}

} // namespace
