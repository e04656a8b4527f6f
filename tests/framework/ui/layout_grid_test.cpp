#include <gtest/gtest.h>

#include <limits>
#include <memory>

#include "framework/ui/RkGridLayout.h"
#include "tests/framework/ui/LayoutTestSupport.h"

using namespace layout_test;

namespace {

struct Cells {
    std::vector<std::unique_ptr<FakeComponent>> components;

    void Add(CRkGridLayout& layout, RkSize preferred, const RkConstraint* constraint = nullptr)
    {
        components.push_back(std::make_unique<FakeComponent>(preferred));
        layout.AddComponent(components.back().get(), constraint);
    }
    std::vector<RkRect> Bounds() const
    {
        std::vector<RkRect> bounds;
        for (const auto& component : components)
            bounds.push_back(component->Bounds());
        return bounds;
    }
};

TEST(GridLayout, RequestedColumnsGiveTheRows)
{
    FakeContainer container({200, 100});
    CRkGridLayout layout(0, 3);
    Cells cells;
    for (int i = 0; i < 7; ++i)
        cells.Add(layout, {20, 10});

    uint32_t rows = 0, columns = 0;
    layout.GetDimensions(rows, columns);
    EXPECT_EQ(rows, 3u);
    EXPECT_EQ(columns, 3u);
    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{0, 0, 20, 10},
                                                   {27, 0, 20, 10},
                                                   {54, 0, 20, 10},
                                                   {0, 17, 20, 10},
                                                   {27, 17, 20, 10},
                                                   {54, 17, 20, 10},
                                                   {0, 34, 20, 10}}));
    EXPECT_EQ(SizesOf(layout, container), (LayoutSizes{{74, 44}, {74, 44}, {kUnbounded, kUnbounded}}));
}

TEST(GridLayout, NoRowsOrColumnsRequestedIsOneColumn)
{
    FakeContainer container({200, 150});
    CRkGridLayout layout(0, 0);
    Cells cells;
    for (int i = 0; i < 7; ++i)
        cells.Add(layout, {20, 10});

    uint32_t rows = 0, columns = 0;
    layout.GetDimensions(rows, columns);
    EXPECT_EQ(rows, 7u);
    EXPECT_EQ(columns, 1u);
    layout.LayoutContainer(container);
    std::vector<RkRect> expected;
    for (int32_t i = 0; i < 7; ++i)
        expected.push_back({0, i * 17, 20, 10});
    EXPECT_EQ(cells.Bounds(), expected);
}

TEST(GridLayout, RequestedRowsWinOverColumns)
{
    CRkGridLayout layout(2, 5);
    Cells cells;
    for (int i = 0; i < 3; ++i)
        cells.Add(layout, {20, 10});
    uint32_t rows = 0, columns = 0;
    layout.GetDimensions(rows, columns);
    EXPECT_EQ(rows, 2u);
    EXPECT_EQ(columns, 2u);
}

TEST(GridLayout, EmptyGridMeasuresOnlyItsFrame)
{
    FakeContainer container({100, 100}, 7, {1, 1, 1, 1});
    CRkGridLayout layout(3, 0);
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{2, 2}));
    layout.LayoutContainer(container); // nothing to place, nothing to fail
}

// A huge requested row count: the empty rows cost no memory, their gaps
// push the preferred height to the largest size, and the cells are placed.
TEST(GridLayout, HugeRequestedRowCountIsSafe)
{
    FakeContainer container({100, 100});
    CRkGridLayout layout(std::numeric_limits<int32_t>::max(), 0);
    Cells cells;
    cells.Add(layout, {20, 10});
    cells.Add(layout, {20, 10});
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{20, std::numeric_limits<int32_t>::max()}));
    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{0, 0, 20, 10}, {0, 17, 20, 10}}));
}

TEST(GridLayout, CellAlignmentsPlaceWithinTheCell)
{
    FakeContainer container({200, 100});
    CRkGridLayout layout(2, 2);
    Cells cells;
    RkConstraint centre = At(kAlignCentre, kAlignCentre), end = At(kAlignEnd, kAlignEnd),
                 start = At(kAlignStart, kAlignStart);
    cells.Add(layout, {40, 20});
    cells.Add(layout, {10, 10}, &centre);
    cells.Add(layout, {10, 10}, &end);
    cells.Add(layout, {30, 30}, &start);

    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(),
              (std::vector<RkRect>{{0, 0, 40, 20}, {57, 5, 10, 10}, {30, 47, 10, 10}, {47, 27, 30, 30}}));
}

// One row of 20, 30 and 40 pixels with 7-pixel gaps: 90 + 14 of the width.
class GridStretch : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int32_t width : {20, 30, 40})
            cells.Add(layout, {width, 10});
    }
    std::vector<RkRect> LayOut(RkSize size)
    {
        FakeContainer container(size);
        layout.LayoutContainer(container);
        return cells.Bounds();
    }

    CRkGridLayout layout{1, 0};
    Cells cells;
};

TEST_F(GridStretch, StretchColumnTakesAllSpareWidth)
{
    layout.SetStretchColumn(1);
    EXPECT_EQ(LayOut({200, 50}), (std::vector<RkRect>{{0, 0, 20, 10}, {27, 0, 126, 10}, {160, 0, 40, 10}}));
}

// The stretch column shrinks to 0, not below; the last cell then reaches
// past the container and is cut at its edge.
TEST_F(GridStretch, NegativeSpareShrinksTheStretchColumnToZero)
{
    layout.SetStretchColumn(1);
    EXPECT_EQ(LayOut({60, 50}), (std::vector<RkRect>{{0, 0, 20, 10}, {27, 0, 0, 10}, {34, 0, 26, 10}}));
}

TEST_F(GridStretch, StretchOutsideTheGridActsAsNone)
{
    layout.SetGridAlignment(kAlignCentre, kAlignEnd);
    const std::vector<RkRect> aligned{{48, 40, 20, 10}, {75, 40, 30, 10}, {112, 40, 40, 10}};
    EXPECT_EQ(LayOut({200, 50}), aligned);
    layout.SetStretchColumn(3);
    layout.SetStretchRow(1);
    EXPECT_EQ(LayOut({200, 50}), aligned);
    layout.SetStretchColumn(CRkGridLayout::kNoStretch);
    layout.SetStretchRow(CRkGridLayout::kNoStretch);
    EXPECT_EQ(LayOut({200, 50}), aligned);
}

TEST_F(GridStretch, StretchRowTakesTheSpareHeight)
{
    layout.SetGridAlignment(kAlignEnd, kAlignEnd);
    layout.SetStretchRow(0);
    // The cells fill their row, which is now the whole height.
    EXPECT_EQ(LayOut({200, 50}), (std::vector<RkRect>{{96, 0, 20, 50}, {123, 0, 30, 50}, {160, 0, 40, 50}}));
}

// A cell pushed left of 0 keeps its right edge: only the part left of 0 is
// cut off. Grid aligned at the end of a too-narrow container: spare -37.
TEST(GridLayout, CellLeftOfZeroKeepsItsRightEdge)
{
    CRkGridLayout layout(1, 0);
    layout.SetGridAlignment(kAlignEnd, kAlignEnd);
    Cells cells;
    cells.Add(layout, {40, 40});
    cells.Add(layout, {40, 10});

    FakeContainer container({50, 30});
    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{0, 0, 3, 30}, {10, 0, 40, 30}}));

    // A client area narrower than the size cuts the last cell at its edge.
    container.SetClientArea({0, 0, 45, 25});
    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{0, 0, 3, 25}, {10, 0, 35, 25}}));

    // The first cell ends left of 0: nothing of its width is left.
    FakeContainer tiny({5, 5});
    layout.LayoutContainer(tiny);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{0, 0, 0, 5}, {0, 0, 5, 5}}));
}

TEST(GridLayout, MarginsInsetsAndRemoval)
{
    FakeContainer container({200, 100}, 7, {1, 2, 0, 0});
    CRkGridLayout layout(0, 2, 2, 2, {2, 2, 0, 0});
    Cells cells;
    cells.Add(layout, {20, 10});
    cells.Add(layout, {30, 10});
    cells.Add(layout, {10, 15});

    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{9, 8, 20, 10}, {36, 8, 30, 10}, {9, 25, 20, 15}}));
    EXPECT_EQ(SizesOf(layout, container).preferred, (RkSize{66, 40}));

    layout.RemoveComponent(cells.components[0].get());
    layout.LayoutContainer(container);
    EXPECT_EQ(cells.Bounds(), (std::vector<RkRect>{{9, 8, 20, 10}, {9, 8, 30, 15}, {46, 8, 10, 15}}));
}

} // namespace
