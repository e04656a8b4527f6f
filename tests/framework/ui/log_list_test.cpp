// The log window's list as a person uses it: its rows, what it paints,
// selecting with the mouse and the arrow keys, scrolling by wheel and by
// the bars, emptying it, and how the window lays it out.
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "framework/core/RkMessage.h"
#include "framework/ui/RkControls.h"

using log_test::LogFixture;
using log_test::Rect;
using Strings = std::vector<std::string>;

namespace {

// The list of a 512 x 384 log shows 496 x 368: the bars are 16 thick.
constexpr int32_t kVisibleHeight = 368;

class LogList : public LogFixture {
protected:
    // `count` one-line warnings "row 0", "row 1", ...: 22 pixels each.
    void ReportRows(int count)
    {
        for (int i = 0; i < count; ++i)
            ReportWarning("row %d", i);
    }
    bool Press(uint16_t key) { return driver->PressKey(LogImp(), key) && Settle(); }
    int32_t OriginY() const { return List().GetOrigin().y; }
    int32_t Bar(uint32_t id, uint32_t property) const { return CRkTestDriver::GetProperty(Control(id), property); }
};

TEST_F(LogList, RowsStackWithTheirMeasuredSizes)
{
    ReportStatus("one");
    ReportWarning("a\r\nb");      // CR LF: a, an empty line, b
    ReportError("%s", "");        // an empty text is one line
    ReportStatus("x\ny\rlonger"); // a lone LF and a lone CR end lines too
    EXPECT_EQ(Rows(),
              (Strings{"0,0 40x22 0:one", "0,22 28x45 1:a\r\nb", "0,67 22x22 2:", "0,89 58x45 0:x\ny\rlonger"}));
    EXPECT_EQ(List().GetContentSize(), (RkSize{58, 134}));
}

TEST_F(LogList, PaintsLinesIconsAndTextsAndTheSelectionInSystemColours)
{
    ReportStatus("one");
    ReportWarning("a\r\nb");
    ReportError("%s", "");
    EXPECT_EQ(PaintList(), (Strings{
                               "Erase 0,0 496x368 rgb(255,255,255)",
                               "Line 0,21 496x0 rgb(192,192,192)",
                               "Image 3,3 16x16 #10005 (16x16)",
                               "Text 22,3 18x13 rgb(0,0,0) \"one\"",
                               "Line 0,66 496x0 rgb(192,192,192)",
                               "Image 3,25 16x16 #10004 (16x16)",
                               "Text 22,25 6x13 rgb(0,0,0) \"a\"",
                               "Text 22,51 6x13 rgb(0,0,0) \"b\"",
                               "Line 0,88 496x0 rgb(192,192,192)",
                               "Image 3,70 16x16 #10003 (16x16)",
                           }));

    ASSERT_TRUE(driver->MouseClick(ListNode(), 100, 30));
    EXPECT_EQ(List().GetSelection(), 1u);
    Strings painted = PaintList();
    ASSERT_EQ(painted.size(), 11u);
    EXPECT_EQ(Strings(painted.begin() + 4, painted.begin() + 9), (Strings{
                                                                     "Fill 0,22 28x45 rgb(0,120,215)",
                                                                     "Line 0,66 496x0 rgb(192,192,192)",
                                                                     "Image 3,25 16x16 #10004 (16x16)",
                                                                     "Text 22,25 6x13 rgb(255,255,255) \"a\"",
                                                                     "Text 22,51 6x13 rgb(255,255,255) \"b\"",
                                                                 }));
}

TEST_F(LogList, PaintsOnlyTheRowsInViewMovedByTheOrigin)
{
    ReportRows(30);
    List().SetOrigin(0, 30); // row 1 (22-43) is partly in view
    Strings painted = PaintList();
    ASSERT_GE(painted.size(), 4u);
    EXPECT_EQ(Strings(painted.begin(), painted.begin() + 4), (Strings{
                                                                 "Erase 0,0 496x368 rgb(255,255,255)",
                                                                 "Line 0,13 496x0 rgb(192,192,192)",
                                                                 "Image 3,-5 16x16 #10004 (16x16)",
                                                                 "Text 22,-5 30x13 rgb(0,0,0) \"row 1\"",
                                                             }));
    // Rows 1 to 18 reach into the 368 pixels from 30 (row 18 starts at 396 - 30 = 366).
    EXPECT_EQ(ShownTexts().front(), "row 1");
    EXPECT_EQ(ShownTexts().back(), "row 18");
    EXPECT_EQ(ShownTexts().size(), 18u);
}

TEST_F(LogList, ArrowKeysMoveTheSelectionAndStopAtBothEnds)
{
    ReportRows(3);
    ASSERT_EQ(List().GetSelection(), kLogNoSelection);
    ASSERT_TRUE(Press(kKeyDown));
    EXPECT_EQ(List().GetSelection(), 0u); // the first row when none was selected
    ASSERT_TRUE(Press(kKeyUp));
    EXPECT_EQ(List().GetSelection(), 0u); // no row above the first
    ASSERT_TRUE(Press(kKeyDown));
    ASSERT_TRUE(Press(kKeyDown));
    ASSERT_TRUE(Press(kKeyDown));
    EXPECT_EQ(List().GetSelection(), 2u); // none below the last

    List().SetSelection(kLogNoSelection);
    ASSERT_TRUE(Press(kKeyUp));
    EXPECT_EQ(List().GetSelection(), 2u); // the last row when none was selected

    // Only presses and repeats move it.
    CRkKeyboardMessage release(kKeyUp, 0);
    release.value1 = 2;
    List().HandleMessage(kMsgKeyDown, &release);
    EXPECT_EQ(List().GetSelection(), 2u);
    CRkKeyboardMessage repeat(kKeyUp, 0);
    repeat.value1 = kKeyRepeat;
    EXPECT_TRUE(List().HandleMessage(kMsgKeyDown, &repeat));
    EXPECT_EQ(List().GetSelection(), 1u);
}

TEST_F(LogList, ArrowKeysReachTheListWhereverTheFocusIsInTheWindow)
{
    ReportRows(3);
    CRkHeadlessNode* bar = Control(kLogVerticalScrollbarId);
    bar->SetFocus();
    ASSERT_EQ(CRkTestDriver::GetFocusedControl(LogImp()), bar);
    ASSERT_TRUE(Press(kKeyDown));
    EXPECT_EQ(List().GetSelection(), 0u);
    // Keys the list does not use still reach the application once.
    ASSERT_TRUE(Press('A'));
    EXPECT_EQ(List().GetSelection(), 0u);
}

TEST_F(LogList, TheSelectedRowIsScrolledIntoView)
{
    ReportRows(30); // 660 pixels of rows in 368
    ASSERT_TRUE(Press(kKeyUp));
    EXPECT_EQ(List().GetSelection(), 29u);
    EXPECT_EQ(OriginY(), 660 - kVisibleHeight); // the last row ends at the bottom
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropValue), 292);

    // A click at the top picks the row under it in the content: 292 is in row 13.
    ASSERT_TRUE(driver->MouseClick(ListNode(), 5, 0));
    EXPECT_EQ(List().GetSelection(), 13u);
    EXPECT_EQ(OriginY(), 292); // a click does not scroll
    ASSERT_TRUE(Press(kKeyUp));
    EXPECT_EQ(OriginY(), 12 * 22); // row 12 starts at the top
    ASSERT_TRUE(Press(kKeyDown));
    EXPECT_EQ(OriginY(), 12 * 22); // row 13 is in view already
}

TEST_F(LogList, ClickingBelowTheLastRowSelectsNothing)
{
    ReportRows(2);
    ASSERT_TRUE(driver->MouseClick(ListNode(), 5, 25));
    EXPECT_EQ(List().GetSelection(), 1u);
    ASSERT_TRUE(driver->MouseClick(ListNode(), 5, 44));
    EXPECT_EQ(List().GetSelection(), kLogNoSelection);
    // Only the button going down selects.
    ASSERT_TRUE(driver->MouseEvent(ListNode(), kMouseMove, 0, 5, 0));
    EXPECT_EQ(List().GetSelection(), kLogNoSelection);
}

TEST_F(LogList, WheelScrollsByLinesWithinTheContent)
{
    ReportRows(30);
    ASSERT_TRUE(driver->LineScroll(ListNode(), true));
    EXPECT_EQ(OriginY(), 22);
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropValue), 22);
    ASSERT_TRUE(driver->LineScroll(ListNode(), true, 20));
    EXPECT_EQ(OriginY(), 292); // no further than the content's end
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropValue), 292);
    ASSERT_TRUE(driver->LineScroll(ListNode(), false, 3));
    EXPECT_EQ(OriginY(), 292 - 66);
    ASSERT_TRUE(driver->LineScroll(ListNode(), false, 20));
    EXPECT_EQ(OriginY(), 0); // nor above its start
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropValue), 0);

    // Content shorter than the list does not scroll at all.
    ClearLog();
    ReportRows(2);
    ASSERT_TRUE(driver->LineScroll(ListNode(), true));
    EXPECT_EQ(OriginY(), 0);
}

TEST_F(LogList, ScrollBarsFollowTheContentAndMoveTheOrigin)
{
    ReportRows(30);
    ReportStatus("%s", std::string(100, 'w').c_str()); // 622 wide in 496
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropMaximum), 682);
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropPage), kVisibleHeight);
    EXPECT_EQ(Bar(kLogHorizontalScrollbarId, kPropMaximum), 622);
    EXPECT_EQ(Bar(kLogHorizontalScrollbarId, kPropPage), 496);

    ASSERT_TRUE(driver->ScrollTo(Control(kLogVerticalScrollbarId), 100));
    ASSERT_TRUE(driver->ScrollTo(Control(kLogHorizontalScrollbarId), 50));
    EXPECT_EQ(List().GetOrigin(), (RkPoint{50, 100}));
    Strings painted = PaintList();
    ASSERT_GE(painted.size(), 4u);
    // Row 4 (88-109) is the first in view; everything moved 50 left.
    EXPECT_EQ(painted[3], "Text -28,-9 30x13 rgb(0,0,0) \"row 4\"");
    ASSERT_TRUE(driver->ScrollTo(Control(kLogHorizontalScrollbarId), 1000));
    EXPECT_EQ(List().GetOrigin().x, 622 - 496);
}

TEST_F(LogList, ClearLogEmptiesTheListAndItsBars)
{
    ReportRows(30);
    ASSERT_TRUE(Press(kKeyUp));
    ASSERT_NE(OriginY(), 0);
    ClearLog();
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(List().GetSelection(), kLogNoSelection);
    EXPECT_EQ(List().GetOrigin(), (RkPoint{0, 0}));
    EXPECT_EQ(List().GetContentSize(), (RkSize{0, 0}));
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropMaximum), 0);
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropValue), 0);
    EXPECT_EQ(Bar(kLogHorizontalScrollbarId, kPropMaximum), 0);
    EXPECT_EQ(PaintList(), (Strings{"Erase 0,0 496x368 rgb(255,255,255)"}));

    ReportError("after");
    EXPECT_EQ(Rows(), (Strings{"0,0 52x22 2:after"}));
    EXPECT_TRUE(LogImp()->IsVisible()); // clearing does not hide the log
}

TEST_F(LogList, WindowLaysOutTheListAndBarsAndKeepsThemUsable)
{
    ReportWarning("shown");
    EXPECT_EQ(Rect(CRkTestDriver::GetBounds(ListNode())), "0,0 496x368");
    EXPECT_EQ(Rect(CRkTestDriver::GetBounds(Control(kLogVerticalScrollbarId))), "496,0 16x368");
    EXPECT_EQ(Rect(CRkTestDriver::GetBounds(Control(kLogHorizontalScrollbarId))), "0,368 496x16");
    for (uint32_t id : {uint32_t(kLogListId), uint32_t(kLogHorizontalScrollbarId), uint32_t(kLogVerticalScrollbarId)})
        EXPECT_TRUE(CRkTestDriver::IsEnabled(Control(id))) << id;

    ReportRows(30);
    ASSERT_TRUE(driver->LineScroll(ListNode(), true, 20));
    ASSERT_EQ(OriginY(), 682 - kVisibleHeight);
    // Made taller, the list shows more and its origin comes back within the content.
    ASSERT_TRUE(driver->ResizeWindow(LogImp(), 600, 616));
    EXPECT_EQ(Rect(CRkTestDriver::GetBounds(ListNode())), "0,0 584x600");
    EXPECT_EQ(Rect(CRkTestDriver::GetBounds(Control(kLogVerticalScrollbarId))), "584,0 16x600");
    EXPECT_EQ(Rect(CRkTestDriver::GetBounds(Control(kLogHorizontalScrollbarId))), "0,600 584x16");
    EXPECT_EQ(OriginY(), 682 - 600);
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropPage), 600);
    EXPECT_EQ(Bar(kLogVerticalScrollbarId, kPropValue), 82);
}

} // namespace
