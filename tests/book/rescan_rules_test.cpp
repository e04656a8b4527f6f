// How each record list survives the layout scanning a line again (the
// rules written beside BookRecLists): the calls a rescan makes, and what
// the list holds once it is finished.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ReportCapture.h"
#include "book/BookRecLists.h"
#include "framework/core/RkString.h"

namespace {

TEST(RescanRules, ChaptersRecordedSinceTheReturnAreRemovedAndRecordedAgain)
{
    ChapterRecList chapters;
    chapters.Add(0, "One");
    chapters.Add(40, "Two"); // on a line that then moves to the next page
    chapters.RemoveLast();   // the layout goes back to the line's start
    chapters.Add(40, "Two"); // and meets the code again there
    chapters.Add(90, "Three");
    chapters.Add(90, "Three"); // a repeat the layout left behind
    chapters.RemoveDuplicates();
    ASSERT_EQ(chapters.GetCount(), 3u);
    EXPECT_EQ(chapters.GetTitle(1), "Two");
    EXPECT_EQ(chapters.GetPosition(2), 90u);
    // The same title at another place is another chapter.
    chapters.Add(120, "Three");
    chapters.RemoveDuplicates();
    EXPECT_EQ(chapters.GetCount(), 4u);
}

TEST(RescanRules, TheFirstDefinitionOfALinkIsKeptAndReferencesCountOnce)
{
    ReportCapture capture;
    LinkRecList links;
    links.Add(kUndefinedPosition, "Target");
    links.Add(12, "target");
    links.Add(kUndefinedPosition, "target"); // the reference scanned again
    links.Add(12, "TARGET");                 // the same anchor at the same place: silent
    EXPECT_TRUE(capture.Messages().empty());
    links.Add(30, "target"); // at another place: a second definition
    EXPECT_EQ(capture.Messages(), (std::vector<std::string>{"W:Link \"target\" defined more than once"}));
    links.Finish();
    ASSERT_EQ(links.GetCount(), 1u);
    EXPECT_EQ(links.GetPosition(0), 12u);
}

TEST(RescanRules, NotesKeepEachNameOnce)
{
    SidebarSet sidebars;
    FootnoteSet footnotes;
    for (const char* name : {"b", "a", "B", "a"}) {
        sidebars.Add(name);
        footnotes.Add(name);
    }
    sidebars.SortAndRemoveDuplicates();
    footnotes.SortAndRemoveDuplicates();
    ASSERT_EQ(sidebars.GetCount(), 2u);
    EXPECT_EQ(sidebars.GetName(0), "a");
    EXPECT_EQ(sidebars.GetName(1), "b");
    EXPECT_EQ(footnotes.GetCount(), 2u);
}

TEST(RescanRules, IndexRepeatsAreDroppedButNotTheSameTermElsewhere)
{
    IndexRecList index;
    index.Add(1, 10, "word");
    index.Add(1, 10, "word"); // scanned again
    index.Add(1, 50, "word"); // the same term at another place
    index.Add(2, 10, "other");
    index.Group();
    ASSERT_EQ(index.GetCount(), 3u);
    EXPECT_EQ(index.GetTerm(0), "other");
    EXPECT_EQ(index.GetOffset(1), 10u);
    EXPECT_EQ(index.GetOffset(2), 50u);
}

TEST(RescanRules, AnImageMetAgainIsListedOnce)
{
    ImageRecList images;
    const CRkString directory("/pictures", kEncodingDeviceLatin);
    images.Add(directory, "a.png", 10, 12);
    images.Add(directory, "a.png", 10, 12);
    images.Add(directory, "b.png", 3, 4);
    EXPECT_EQ(images.GetCount(), 2u);
}

} // namespace
