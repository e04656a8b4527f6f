#include <gtest/gtest.h>

#include <limits>

#include "framework/ui/RkCardLayout.h"
#include "framework/ui/RkDialogButtonLayout.h"
#include "framework/ui/RkLayoutSupport.h"
#include "tests/framework/ui/LayoutTestSupport.h"

using namespace layout_test;

namespace {

class CardLayoutCards : public ::testing::Test {
protected:
    void SetUp() override
    {
        RkConstraint centreEnd = At(kAlignCentre, kAlignEnd), start = At(kAlignStart, kAlignStart);
        layout.AddComponent(&a, nullptr);
        layout.AddComponent(&b, &centreEnd);
        layout.AddComponent(&c, &start);
    }

    FakeContainer container{{200, 100}};
    FakeComponent a{{50, 20}, {10, 5}};
    FakeComponent b{{50, 20}, {20, 3}, {80, kUnbounded}};
    FakeComponent c{{300, 20}, {0, 0}, {400, 30}};
    CRkCardLayout layout{{2, 2, 2, 2}};
};

TEST_F(CardLayoutCards, OnlyTheFirstCardIsShownAfterAdding)
{
    EXPECT_EQ(VisibilityOf({&a, &b, &c}), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(layout.GetCardCount(), 3u);
}

TEST_F(CardLayoutCards, ShowCardByIndexAndByIdentity)
{
    layout.ShowCard(1u);
    EXPECT_EQ(VisibilityOf({&a, &b, &c}), (std::vector<bool>{false, true, false}));
    layout.ShowCard(&c);
    EXPECT_EQ(VisibilityOf({&a, &b, &c}), (std::vector<bool>{false, false, true}));
    layout.ShowCard(3u);
    EXPECT_EQ(VisibilityOf({&a, &b, &c}), (std::vector<bool>{false, false, false}));
}

TEST_F(CardLayoutCards, EveryCardIsPlacedByItsAlignments)
{
    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&a, &b, &c}), (std::vector<RkRect>{{7, 7, 186, 86}, {75, 73, 50, 20}, {7, 7, 300, 20}}));
}

TEST_F(CardLayoutCards, SizesOverAllCards)
{
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{34, 19}, {314, 34}, {414, 44}}));

    // Unbounded unless some card is bounded; a bounded maximum too large to
    // hold the margins saturates.
    CRkCardLayout open{{2, 2, 2, 2}};
    FakeComponent free({10, 10}), huge({10, 10}, {}, {std::numeric_limits<int32_t>::max(), kUnbounded});
    open.AddComponent(&free, nullptr);
    EXPECT_EQ(SizesOf(open, container).maximum, (RkSize{kUnbounded, kUnbounded}));
    open.AddComponent(&huge, nullptr);
    EXPECT_EQ(SizesOf(open, container).maximum, (RkSize{kUnbounded, kUnbounded}));
}

TEST_F(CardLayoutCards, RemovedCardIsNoLongerCountedOrPlaced)
{
    layout.RemoveComponent(&c);
    EXPECT_EQ(layout.GetCardCount(), 2u);
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{64, 34}));
    layout.LayoutContainer(container);
    EXPECT_EQ(c.Placements(), 0);
}

TEST(DialogButtonLayout, PresentButtonsSitRightAlignedSlotTwoRightmost)
{
    FakeContainer container({300, 50});
    FakeComponent ok({60, 20}), cancel({70, 18});
    CRkDialogButtonLayout layout(5, {1, 0, 0, 2});
    RkConstraint slot0 = At(0), slot2 = At(2);
    layout.AddComponent(&ok, &slot0);
    layout.AddComponent(&cancel, &slot2);

    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&ok, &cancel}), (std::vector<RkRect>{{136, 3, 70, 20}, {223, 3, 70, 20}}));
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{164, 23}, {164, 23}, {kUnbounded, 23}}));
}

TEST(DialogButtonLayout, EmptySlotsAndRemoval)
{
    FakeContainer container({300, 50});
    CRkDialogButtonLayout layout(5, {1, 0, 0, 2});
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{7, 3}));

    FakeComponent one({60, 20}), other({40, 30});
    RkConstraint slot1 = At(1), slot3 = At(3);
    layout.AddComponent(&one, &slot1);
    layout.AddComponent(&other, &slot3);  // no such slot
    layout.AddComponent(&other, nullptr); // slot 0
    layout.RemoveComponent(&one);
    layout.LayoutContainer(container);
    EXPECT_EQ(one.Placements(), 0);
    EXPECT_EQ(other.Bounds(), (RkRect{253, 3, 40, 30}));
    EXPECT_EQ(layout.GetButton(0), &other);
    EXPECT_EQ(layout.GetButton(1), nullptr);
}

} // namespace
