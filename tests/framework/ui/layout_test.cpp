#include <gtest/gtest.h>

#include <limits>

#include "framework/ui/RkBorderLayout.h"
#include "framework/ui/RkFlowLayout.h"
#include "tests/framework/ui/LayoutTestSupport.h"

using namespace layout_test;

namespace {

constexpr int32_t kLargest = std::numeric_limits<int32_t>::max();

// With a 7-pixel average character width the default gap of 2 units is 7
// pixels and 5 units are 17: both gaps and the size follow the conversion.
TEST(BorderLayout, GapsAreConvertedThroughTheContainer)
{
    FakeContainer container({200, 100}, 7);
    FakeComponent north({50, 20}), west({30, 10}), center({40, 40});
    CRkBorderLayout layout(2, 5);
    RkConstraint n = At(kBorderNorth), w = At(kBorderWest), c = At(kBorderCenter);
    layout.AddComponent(&north, &n);
    layout.AddComponent(&west, &w);
    layout.AddComponent(&center, &c);

    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&north, &west, &center}),
              (std::vector<RkRect>{{0, 0, 200, 20}, {0, 37, 30, 63}, {37, 37, 163, 63}}));
    // 30 + 7 + 40 wide; 20 + 17 + 40 high.
    RkSize preferred;
    layout.PreferredLayoutSize(container, preferred);
    EXPECT_EQ(preferred, (RkSize{77, 77}));

    FakeContainer wide({200, 100}, 6);
    layout.LayoutContainer(wide);
    EXPECT_EQ(center.Bounds(), (RkRect{36, 35, 164, 65}));
}

TEST(BorderLayout, CenterAloneFillsTheAreaInsideInsetsAndMargins)
{
    FakeContainer container({200, 100}, 7, {1, 2, 3, 4});
    FakeComponent center({40, 30}, {10, 10}, {500, 400});
    CRkBorderLayout layout(2, 2, {2, 2, 2, 2});
    layout.AddComponent(&center, nullptr); // no constraint: the center

    layout.LayoutContainer(container);
    EXPECT_EQ(center.Bounds(), (RkRect{9, 8, 180, 82}));
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{30, 28}, {60, 48}, {520, 418}}));
}

TEST(BorderLayout, NorthAndCenterLeaveOneGapBetweenThem)
{
    FakeContainer container({200, 100});
    FakeComponent north({50, 20}), center({40, 40});
    CRkBorderLayout layout;
    RkConstraint n = At(kBorderNorth), c = At(kBorderCenter);
    layout.AddComponent(&north, &n);
    layout.AddComponent(&center, &c);

    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&north, &center}), (std::vector<RkRect>{{0, 0, 200, 20}, {0, 27, 200, 73}}));
    // One gap between the two rows, none below or beside.
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{50, 67}));
}

TEST(BorderLayout, AllRegionsAndTheirSizes)
{
    FakeContainer container({300, 200});
    FakeComponent north({60, 10}, {70, 3}), south({100, 11}, {1, 1}), east({20, 30}, {15, 8}), west({25, 12}, {5, 9}),
        center({40, 40}, {10, 5}, {300, 200});
    CRkBorderLayout layout;
    for (auto [component, region] : {std::pair<FakeComponent*, int32_t>{&north, kBorderNorth},
                                     {&south, kBorderSouth},
                                     {&east, kBorderEast},
                                     {&west, kBorderWest},
                                     {&center, kBorderCenter}}) {
        RkConstraint constraint = At(region);
        layout.AddComponent(component, &constraint);
    }

    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&north, &south, &east, &west, &center}),
              (std::vector<RkRect>{
                  {0, 0, 300, 10}, {0, 189, 300, 11}, {280, 17, 20, 165}, {0, 17, 25, 165}, {32, 17, 241, 165}}));
    // Minimum: the center's minimum, the sides' preferred widths at their
    // minimum heights, north widening to its minimum width, south not at all.
    // Maximum: the center's maximum with the preferred sizes and gaps around.
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{70, 44}, {100, 75}, {359, 235}}));
}

TEST(BorderLayout, SmallContainerGivesNoNegativeSizes)
{
    FakeContainer container({10, 10});
    FakeComponent north({50, 20}), west({30, 10}), center({40, 40});
    CRkBorderLayout layout;
    RkConstraint n = At(kBorderNorth), w = At(kBorderWest), c = At(kBorderCenter);
    layout.AddComponent(&north, &n);
    layout.AddComponent(&west, &w);
    layout.AddComponent(&center, &c);

    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&north, &west, &center}),
              (std::vector<RkRect>{{0, 0, 10, 20}, {0, 27, 30, 0}, {37, 27, 0, 0}}));
}

TEST(BorderLayout, EmptyLayoutMeasuresOnlyItsFrame)
{
    FakeContainer container({100, 100}, 7, {1, 2, 3, 4});
    CRkBorderLayout layout(2, 2, {2, 0, 0, 0});
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{6, 11}, {6, 11}, {kUnbounded, kUnbounded}}));
}

TEST(BorderLayout, MaximumStaysUnboundedOrSaturates)
{
    FakeContainer container({100, 100});
    FakeComponent east({20, 10}), north({10, 10});
    FakeComponent stretchy({10, 10}, {}, {kUnbounded, 50});
    FakeComponent huge({10, 10}, {}, {kLargest - 10, kLargest - 10});
    CRkBorderLayout layout;
    RkConstraint e = At(kBorderEast), n = At(kBorderNorth), c = At(kBorderCenter);
    layout.AddComponent(&east, &e);
    layout.AddComponent(&north, &n);
    layout.AddComponent(&stretchy, &c);
    EXPECT_EQ(SizesOf(layout, container).maximum, (RkSize{kUnbounded, 67}));

    // A bounded maximum that the sides and gaps push past the largest size.
    layout.AddComponent(&huge, &c);
    EXPECT_EQ(SizesOf(layout, container).maximum, (RkSize{kUnbounded, kUnbounded}));
}

TEST(BorderLayout, RemovedOrReplacedComponentsAreNoLongerPlaced)
{
    FakeContainer container({100, 100});
    FakeComponent first({10, 10}), second({20, 20}), twice({5, 5});
    CRkBorderLayout layout;
    RkConstraint c = At(kBorderCenter), n = At(kBorderNorth), s = At(kBorderSouth), bad = At(7);
    layout.AddComponent(&first, &c);
    layout.AddComponent(&second, &c); // replaces the first
    layout.AddComponent(&twice, &n);
    layout.AddComponent(&twice, &s);
    layout.AddComponent(&first, &bad); // no such region
    layout.RemoveComponent(&twice);    // out of both regions

    EXPECT_EQ(layout.GetRegion(kBorderNorth), nullptr);
    EXPECT_EQ(layout.GetRegion(kBorderSouth), nullptr);
    layout.LayoutContainer(container);
    EXPECT_EQ(first.Placements(), 0);
    EXPECT_EQ(twice.Placements(), 0);
    EXPECT_EQ(second.Bounds(), (RkRect{0, 0, 100, 100}));
}

// Through the container: it asks the layout for its sizes, lays out when
// its bounds are set, and a child it deletes is forgotten by the layout even
// where it was put in two regions.
TEST(BorderLayout, ContainerDrivesTheLayoutAndRemovesChildren)
{
    FakeContainer container({120, 80});
    container.SetLayout(new CRkBorderLayout);
    auto* north = new FakeComponent({50, 20}, {}, {kUnbounded, kUnbounded}, &container);
    auto* center = new FakeComponent({40, 40}, {}, {kUnbounded, kUnbounded}, &container);
    RkConstraint n = At(kBorderNorth), s = At(kBorderSouth), c = At(kBorderCenter);
    container.AddChild(north, &n);
    container.AddChild(north, &s);
    container.AddChild(center, &c);
    EXPECT_EQ(container.GetPreferredSize(), (RkSize{50, 94}));

    container.RemoveChild(north);
    EXPECT_EQ(container.GetPreferredSize(), (RkSize{40, 40}));
    container.SetBounds(0, 0, 120, 80);
    EXPECT_EQ(center->Bounds(), (RkRect{0, 0, 120, 80}));
}

// Rows: A and B fit in 100 pixels, C does not fit after them, and D is
// wider than the container and is alone in its row.
class FlowLayoutRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (FakeComponent* component : {&a, &b, &c, &d})
            layout.AddComponent(component, nullptr);
    }
    std::vector<RkRect> LayOut(int32_t alignment)
    {
        layout.SetAlignment(alignment);
        layout.LayoutContainer(container);
        return BoundsOf({&a, &b, &c, &d});
    }

    FakeContainer container{{100, 50}};
    FakeComponent a{{40, 10}}, b{{40, 20}}, c{{30, 10}}, d{{120, 8}};
    CRkFlowLayout layout;
};

TEST_F(FlowLayoutRows, WrapAndAlign)
{
    EXPECT_EQ(LayOut(kFlowLeft),
              (std::vector<RkRect>{{0, 5, 40, 10}, {47, 0, 40, 20}, {0, 27, 30, 10}, {0, 44, 120, 8}}));
    EXPECT_EQ(LayOut(kFlowCentre),
              (std::vector<RkRect>{{6, 5, 40, 10}, {53, 0, 40, 20}, {35, 27, 30, 10}, {-10, 44, 120, 8}}));
    EXPECT_EQ(LayOut(kFlowRight),
              (std::vector<RkRect>{{13, 5, 40, 10}, {60, 0, 40, 20}, {70, 27, 30, 10}, {-20, 44, 120, 8}}));
}

TEST_F(FlowLayoutRows, SizesAreOneRowAndTheFrame)
{
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{0, 0}, {251, 20}, {kUnbounded, kUnbounded}}));
    layout.RemoveComponent(&d);
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{124, 20}));
}

TEST(FlowLayout, TooWideFirstComponentHoldsTheRowAlone)
{
    FakeContainer container({100, 50}, 7, {2, 3, 0, 0});
    FakeComponent wide({120, 8}), next({40, 10});
    CRkFlowLayout layout(2, 2, {0, 0, 1, 1});
    layout.AddComponent(&wide, nullptr);
    layout.AddComponent(&next, nullptr);
    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&wide, &next}), (std::vector<RkRect>{{3, 2, 120, 8}, {3, 17, 40, 10}}));
    EXPECT_EQ(SizesOf(layout, container).minimum, (RkSize{6, 5}));
}

TEST(FlowLayout, EmptyAndNegativeSizesMeasureZero)
{
    FakeContainer container({100, 50});
    CRkFlowLayout layout;
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{0, 0}));

    FakeComponent odd({-5, -5}), plain({10, 10});
    layout.AddComponent(&odd, nullptr);
    layout.AddComponent(&plain, nullptr);
    layout.LayoutContainer(container);
    EXPECT_EQ(BoundsOf({&odd, &plain}), (std::vector<RkRect>{{0, 5, 0, 0}, {7, 0, 10, 10}}));
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{17, 10}));
}

} // namespace
