// A table of cells filled row by row: each column as wide as its widest
// cell, each row as high as its highest. Spare room goes to a stretch row
// or column, or places the whole grid by the grid alignment.
#pragma once

#include <cstdint>
#include <vector>

#include "framework/ui/RkLayout.h"
#include "framework/ui/RkLayoutSupport.h"

class CRkGridLayout : public IRkLayout {
public:
    // No stretch row or column.
    static constexpr uint32_t kNoStretch = 0xFFFFFFFF;

    // Requested rows and columns: with rows below 1 the grid has as many
    // rows as the columns need; with both below 1, one column. Otherwise
    // the rows are kept and the columns follow from the cell count.
    CRkGridLayout(int32_t rows, int32_t columns, int32_t horizontalGap = 2, int32_t verticalGap = 2,
                  const RkUnitInsets& margins = {});

    // Where the grid sits in spare room: start, centre or end on each axis
    // (the cell alignments 1-3; anything else acts as start).
    void SetGridAlignment(int32_t horizontal, int32_t vertical);
    // The row or column that takes the spare room; one outside the grid
    // acts as none.
    void SetStretchRow(uint32_t row) { m_stretchRow = row; }
    void SetStretchColumn(uint32_t column) { m_stretchColumn = column; }

    // Appends a cell; the constraint is its horizontal and vertical cell
    // alignment (fill, fill when null).
    void AddComponent(CRkComponent* component, const RkConstraint* constraint) override;
    // Removes every cell of the component; the later cells move up.
    void RemoveComponent(CRkComponent* component) override;
    void LayoutContainer(CRkContainer& container) override;
    void MinimumLayoutSize(CRkContainer& container, RkSize& out) override;
    void PreferredLayoutSize(CRkContainer& container, RkSize& out) override;
    void MaximumLayoutSize(CRkContainer& container, RkSize& out) override;

    // The dimensions for the present number of cells (0 x 0 without cells).
    void GetDimensions(uint32_t& rows, uint32_t& columns) const;

private:
    struct Cell {
        CRkComponent* component;
        int32_t horizontal;
        int32_t vertical;
    };
    // Column widths and row heights from the cells' preferred sizes. Only
    // the tracks that hold cells are stored; the rest of the grid's rows
    // or columns (a large requested count) are empty and 0 wide or high.
    struct Tracks {
        uint32_t rows = 0;
        uint32_t columns = 0;
        std::vector<int64_t> widths;
        std::vector<int64_t> heights;
    };
    Tracks MeasureTracks() const;

    int32_t m_requestedRows;
    int32_t m_requestedColumns;
    int32_t m_horizontalGap;
    int32_t m_verticalGap;
    RkUnitInsets m_margins;
    int32_t m_horizontalAlignment = kAlignStart;
    int32_t m_verticalAlignment = kAlignStart;
    uint32_t m_stretchRow = kNoStretch;
    uint32_t m_stretchColumn = kNoStretch;
    std::vector<Cell> m_cells;
};
