// Where the messages of a build point: SOURCE:LINE:COLUMN in the source as
// written (before its tabs, line ends and escapes were prepared), SOURCE:
// for the source as a whole, and file, line and column in JSON.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/tools/ToolFolderTest.h"
#include "tests/tools/ToolRun.h"
#include "tools/book/SourceLocation.h"

namespace {

using BookPlaces = ToolFolderTest;

TEST_F(BookPlaces, ColumnsCountTheSourceAsWrittenAfterTabsCrLfAndEscapes)
{
    // The code is the 9th character of line 2: tab, "A", the five bytes of
    // the escape, a space.
    const std::string source = Write("written.lml", "TITLE=\"Places\"\r\n\tA\\a065 \\e and more\r\n");
    const ToolRun build = RunTool({"build", source, "-o", Path("written.ldb")});
    EXPECT_EQ(build.status, 1);
    EXPECT_EQ(
        build.err,
        Lines({"Writing book <Places> from file <" + source + ">...",
               source + ":2:1: warning: Tab characters are being mapped to four spaces.",
               "Generating page tables for the small font...",
               source + ":2:9: error: Illegal control code starting at \"\\e and more \"",
               "Generating page tables for the large font...",
               source + ": error: Errors occurred while paginating the book. No output file generated.", "Done."}));

    // pages shows the same places; its own closing error has none.
    const ToolRun pages = RunTool({"pages", source});
    EXPECT_EQ(pages.status, 1);
    EXPECT_EQ(pages.err, Lines({source + ":2:1: warning: Tab characters are being mapped to four spaces.",
                                "Generating page tables for the small font...",
                                source + ":2:9: error: Illegal control code starting at \"\\e and more \"",
                                "Generating page tables for the large font...",
                                "error: the layout failed; see the errors above"}));
}

TEST_F(BookPlaces, NotesPointIntoTheNotesBlockAndLoneCrEndsALine)
{
    const std::string source = Write("notes.lml", "TITLE=\"Notes\"\rSee \\Fn=\"f\"x\\Fn.\r\r<footnote id=\"f\">\r"
                                                  "Text \\Cn=\"x\" here.\r</footnote>\r");
    const ToolRun build = RunTool({"build", source, "-o", Path("notes.ldb")});
    EXPECT_EQ(build.status, 0) << build.err;
    EXPECT_EQ(build.err,
              Lines({"Writing book <Notes> from file <" + source + ">...",
                     "Generating page tables for the small font...", "Generating page tables for the large font...",
                     source + ":5:6: warning: Illegal tag \"\\C\" in sidebar or footnote \"f\"", "Done."}));

    // A missing sidebar is reported at its reference, in JSON here.
    const std::string missing = Write("missing.lml", "TITLE=\"Side\"\nSee \\Sd=\"gone\"y\\Sd.\n");
    const ToolRun json = RunTool({"build", missing, "-o", Path("missing.ldb"), "--message-format", "json"});
    EXPECT_EQ(json.status, 1);
    const std::string file = "\"file\": \"" + JsonText(missing) + "\"";
    EXPECT_EQ(json.err, Lines({"{\"level\": \"status\", \"message\": \"Writing book <Side> from file <" +
                                   JsonText(missing) + ">...\"}",
                               "{\"level\": \"status\", \"message\": \"Generating page tables for the small font...\"}",
                               "{\"level\": \"status\", \"message\": \"Generating page tables for the large font...\"}",
                               "{\"level\": \"error\", \"message\": \"No sidebar named \\\"gone\\\" was found.\", " +
                                   file + ", \"line\": 2, \"column\": 5}"}));
}

TEST_F(BookPlaces, ListsAndImagesPointAtTheirCodesAndTheWholeSourceHasNoLine)
{
    const std::string source = Write("lists.lml", "TITLE=\"Lists\"\nGo \\q=\"#nowhere\"there\\q.\n"
                                                  "\\m=\"pic.png\" \\l Big\n\x80\n");
    const ToolRun build = RunTool({"build", source, "-o", Path("lists.ldb")});
    EXPECT_EQ(build.status, 1);
    EXPECT_EQ(
        build.err,
        Lines({"Writing book <Lists> from file <" + source + ">...",
               source + ":4:1: warning: Non-ASCII characters in file; attempting to map them",
               source + ":4:1: warning: The Euro symbol may not be on all Lumo OS devices",
               "Generating page tables for the small font...",
               source + ":3:1: error: Image \"" + Path("lists_img") + "/pic.png\" doesn't exist!",
               source + ": warning: This file does not end in the normal font!",
               "Generating page tables for the large font...",
               source + ":2:4: warning: Link \"nowhere\" has not been defined",
               source + ": error: Errors occurred while paginating the book. No output file generated.", "Done."}));

    // In batch mode the same source gives only what batch mode keeps.
    const ToolRun batch = RunTool({"build", source, "-o", Path("lists.ldb"), "--batch"});
    EXPECT_EQ(
        batch.err,
        Lines({"Writing book <Lists> from file <" + source + ">...", "Generating page tables for the small font...",
               source + ":3:1: error: Image \"" + Path("lists_img") + "/pic.png\" doesn't exist!",
               "Generating page tables for the large font...",
               source + ": error: Errors occurred while paginating the book. No output file generated.", "Done."}));
}

TEST_F(BookPlaces, TitleIndexAndRuleMessagesPointAtTheirCodesAndBytes)
{
    const std::string source = Write("dict.lml", "TITLE=\"Dict\"\n"
                                                 "\\i\\Iword\\I\n"
                                                 "\\w=\"12a%\"\n"
                                                 "\\C2=\"A\\qB\"\n"
                                                 "x \\I@at\\I\n");
    const ToolRun build = RunTool({"build", source, "-o", Path("dict.ldb"), "--dictionary"});
    EXPECT_EQ(build.status, 1);
    EXPECT_EQ(
        build.err,
        Lines({"Writing book <Dict> from file <" + source + ">...", "Generating page tables for the small font...",
               source + ":2:3: error: No styles permitted before \"\\Iword\\I \\w=\"12a%\" \\\"",
               source + ":3:7: error: Rule width specifier must be only digits!",
               source + ":4:7: error: Tags are not allowed inside \\C definitions!",
               source + ":5:5: warning: Should this character be in an index item? Begins with \"@at\\I \"",
               "Processing index records...",
               source + ": error: Errors occurred while paginating the book. No output file generated.", "Done."}));
}

TEST(SourceLocation, LinesEndAtLfCrLfAndLoneCrAndColumnsCountCharacters)
{
    const std::string text = "ab\r\ncd\ref\n\rg\xC3\xA9h\t!";
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto at = [&](size_t offset, bool utf8) {
        const SourceLocation l = LocateInSource(bytes, text.size(), offset, utf8);
        return std::to_string(l.line) + ":" + std::to_string(l.column);
    };
    EXPECT_EQ(at(0, false), "1:1");
    EXPECT_EQ(at(2, false), "1:3"); // the CR of CR LF
    EXPECT_EQ(at(3, false), "1:3"); // its LF: one line end, one place
    EXPECT_EQ(at(4, false), "2:1");
    EXPECT_EQ(at(7, false), "3:1");  // after a lone CR
    EXPECT_EQ(at(10, false), "4:1"); // LF CR is two line ends
    EXPECT_EQ(at(11, false), "5:1");
    EXPECT_EQ(at(14, false), "5:4"); // "g" and the two bytes of the e acute
    EXPECT_EQ(at(14, true), "5:3");  // one character as UTF-8
    EXPECT_EQ(at(16, true), "5:5");  // the tab is one
    EXPECT_EQ(at(999, true), "5:6"); // past the end: the end
}

} // namespace
