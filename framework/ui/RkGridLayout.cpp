#include "framework/ui/RkGridLayout.h"

#include <algorithm>
#include <numeric>

#include "framework/ui/RkContainer.h"

namespace {

int64_t Sum(const std::vector<int64_t>& values)
{
    return std::accumulate(values.begin(), values.end(), int64_t(0));
}

// The spare room on one axis goes to the stretch track (never making it
// negative) or offsets the whole grid by the grid alignment. A stretch
// track past the stored ones is empty: it takes the room and moves nothing.
int64_t DistributeSpare(int64_t spare, uint32_t stretch, int32_t alignment, uint32_t trackCount,
                        std::vector<int64_t>& tracks)
{
    if (stretch < trackCount) {
        if (stretch < tracks.size())
            tracks[stretch] = std::max<int64_t>(tracks[stretch] + spare, 0);
        return 0;
    }
    if (alignment == kAlignCentre)
        return spare / 2;
    if (alignment == kAlignEnd)
        return spare;
    return 0;
}

// Keeps the far edge of a span that starts before 0, then ends it at the
// clip edge if it reaches past it.
void ClipSpan(int64_t& position, int64_t& extent, int64_t clipEnd)
{
    if (position < 0) {
        extent = std::max<int64_t>(extent + position, 0);
        position = 0;
    }
    if (position + extent > clipEnd)
        extent = std::max<int64_t>(clipEnd - position, 0);
}

} // namespace

CRkGridLayout::CRkGridLayout(int32_t rows, int32_t columns, int32_t horizontalGap, int32_t verticalGap,
                             const RkUnitInsets& margins)
    : m_requestedRows(rows),
      m_requestedColumns(columns),
      m_horizontalGap(horizontalGap),
      m_verticalGap(verticalGap),
      m_margins(margins)
{
}

void CRkGridLayout::SetGridAlignment(int32_t horizontal, int32_t vertical)
{
    m_horizontalAlignment = horizontal;
    m_verticalAlignment = vertical;
}

void CRkGridLayout::AddComponent(CRkComponent* component, const RkConstraint* constraint)
{
    if (!component)
        return;
    m_cells.push_back(
        {component, constraint ? constraint->first : kAlignFill, constraint ? constraint->second : kAlignFill});
}

void CRkGridLayout::RemoveComponent(CRkComponent* component)
{
    std::erase_if(
        m_cells, [component](const Cell& cell) { return cell.component == component; });
}

void CRkGridLayout::GetDimensions(uint32_t& rows, uint32_t& columns) const
{
    const uint32_t cells = uint32_t(m_cells.size());
    if (cells == 0) {
        rows = 0;
        columns = 0;
    } else if (m_requestedRows < 1 && m_requestedColumns < 1) {
        rows = cells;
        columns = 1;
    } else if (m_requestedRows < 1) {
        columns = uint32_t(m_requestedColumns);
        rows = (cells + columns - 1) / columns;
    } else {
        rows = uint32_t(m_requestedRows);
        columns = (cells + rows - 1) / rows;
    }
}

CRkGridLayout::Tracks CRkGridLayout::MeasureTracks() const
{
    Tracks tracks;
    GetDimensions(tracks.rows, tracks.columns);
    const size_t cells = m_cells.size();
    const uint32_t columns = tracks.columns;
    if (cells > 0) {
        tracks.widths.assign(std::min<size_t>(columns, cells), 0);
        tracks.heights.assign((cells + columns - 1) / columns, 0);
    }
    for (size_t i = 0; i < m_cells.size(); ++i) {
        RkSize size = PreferredSizeOf(*m_cells[i].component);
        int64_t& width = tracks.widths[i % columns];
        int64_t& height = tracks.heights[i / columns];
        width = std::max<int64_t>(width, size.width);
        height = std::max<int64_t>(height, size.height);
    }
    return tracks;
}

void CRkGridLayout::LayoutContainer(CRkContainer& container)
{
    if (m_cells.empty())
        return;
    RkLayoutFrame frame = MeasureFrame(container, m_margins);
    const int32_t hg = container.ConvertDistance(m_horizontalGap);
    const int32_t vg = container.ConvertDistance(m_verticalGap);
    Tracks tracks = MeasureTracks();
    const size_t columns = tracks.columns;

    int64_t spareWidth = frame.InnerWidth() - GapsBetween(hg, tracks.columns) - Sum(tracks.widths);
    int64_t spareHeight = frame.InnerHeight() - GapsBetween(vg, tracks.rows) - Sum(tracks.heights);
    const int64_t startX =
        frame.left + DistributeSpare(spareWidth, m_stretchColumn, m_horizontalAlignment, tracks.columns, tracks.widths);
    int64_t y =
        frame.top + DistributeSpare(spareHeight, m_stretchRow, m_verticalAlignment, tracks.rows, tracks.heights);

    const RkRect clip = container.GetClientArea();
    int64_t x = startX;
    for (size_t i = 0; i < m_cells.size(); ++i) {
        const Cell& cell = m_cells[i];
        const size_t column = i % columns;
        const int64_t cellWidth = tracks.widths[column];
        const int64_t cellHeight = tracks.heights[i / columns];
        RkSize pref = PreferredSizeOf(*cell.component);

        int64_t cx = 0, cy = 0, cw = 0, ch = 0;
        AlignInSpan(cell.horizontal, x, cellWidth, pref.width, cx, cw);
        AlignInSpan(cell.vertical, y, cellHeight, pref.height, cy, ch);
        ClipSpan(cx, cw, int64_t(clip.x) + clip.width);
        ClipSpan(cy, ch, int64_t(clip.y) + clip.height);
        PlaceComponent(*cell.component, cx, cy, cw, ch);

        if (column + 1 < columns) {
            x += cellWidth + hg;
        } else {
            x = startX;
            y += cellHeight + vg;
        }
    }
}

void CRkGridLayout::PreferredLayoutSize(CRkContainer& container, RkSize& out)
{
    Tracks tracks = MeasureTracks();
    int64_t width = Sum(tracks.widths) + GapsBetween(container.ConvertDistance(m_horizontalGap), tracks.columns);
    int64_t height = Sum(tracks.heights) + GapsBetween(container.ConvertDistance(m_verticalGap), tracks.rows);
    out = MeasureFrame(container, m_margins).Around(width, height);
}

void CRkGridLayout::MinimumLayoutSize(CRkContainer& container, RkSize& out)
{
    PreferredLayoutSize(container, out);
}

void CRkGridLayout::MaximumLayoutSize(CRkContainer&, RkSize& out)
{
    out = {kUnbounded, kUnbounded};
}
