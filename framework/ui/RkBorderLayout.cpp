#include "framework/ui/RkBorderLayout.h"

#include <algorithm>

#include "framework/ui/RkContainer.h"
#include "framework/ui/RkLayoutSupport.h"

CRkBorderLayout::CRkBorderLayout(int32_t horizontalGap, int32_t verticalGap, const RkUnitInsets& margins)
    : m_horizontalGap(horizontalGap), m_verticalGap(verticalGap), m_margins(margins)
{
}

void CRkBorderLayout::AddComponent(CRkComponent* component, const RkConstraint* constraint)
{
    int32_t region = constraint ? constraint->first : kBorderCenter;
    if (region >= 0 && region < kRegionCount)
        m_regions[region] = component;
}

void CRkBorderLayout::RemoveComponent(CRkComponent* component)
{
    // Every region, not only the first: the container deletes the component next.
    for (CRkComponent*& slot : m_regions)
        if (slot == component)
            slot = nullptr;
}

CRkComponent* CRkBorderLayout::GetRegion(int32_t region) const
{
    return region >= 0 && region < kRegionCount ? m_regions[region] : nullptr;
}

void CRkBorderLayout::LayoutContainer(CRkContainer& container)
{
    RkLayoutFrame frame = MeasureFrame(container, m_margins);
    const int64_t hg = container.ConvertDistance(m_horizontalGap);
    const int64_t vg = container.ConvertDistance(m_verticalGap);
    int64_t top = frame.top, left = frame.left, bottom = frame.bottom, right = frame.right;
    const int64_t W = frame.width, H = frame.height;

    if (CRkComponent* north = m_regions[kBorderNorth]) {
        int64_t h = PreferredSizeOf(*north).height;
        PlaceComponent(*north, left, top, W - left - right, h);
        top += h + vg;
    }
    if (CRkComponent* south = m_regions[kBorderSouth]) {
        int64_t h = PreferredSizeOf(*south).height;
        PlaceComponent(*south, left, H - bottom - h, W - left - right, h);
        bottom += h + vg;
    }
    if (CRkComponent* west = m_regions[kBorderWest]) {
        int64_t w = PreferredSizeOf(*west).width;
        PlaceComponent(*west, left, top, w, H - top - bottom);
        left += w + hg;
    }
    if (CRkComponent* east = m_regions[kBorderEast]) {
        int64_t w = PreferredSizeOf(*east).width;
        PlaceComponent(*east, W - right - w, top, w, H - top - bottom);
        right += w + hg;
    }
    if (CRkComponent* center = m_regions[kBorderCenter])
        PlaceComponent(*center, left, top, W - left - right, H - top - bottom);
}

RkSize CRkBorderLayout::LayoutSize(const CRkContainer& container, Measure measure) const
{
    const bool minimum = measure == Measure::Minimum;
    int64_t width = 0, height = 0, middleCount = 0, rows = 0;

    // The middle row: center, east and west side by side. For the minimum
    // the center gives its minimum size, east and west their preferred
    // widths at their minimum heights.
    for (int32_t region : {kBorderCenter, kBorderEast, kBorderWest}) {
        const CRkComponent* component = m_regions[region];
        if (!component)
            continue;
        RkSize pref = PreferredSizeOf(*component);
        RkSize size = minimum ? MinimumSizeOf(*component) : pref;
        width += region == kBorderCenter ? size.width : pref.width;
        height = std::max<int64_t>(height, size.height);
        ++middleCount;
    }
    width += GapsBetween(container.ConvertDistance(m_horizontalGap), middleCount);
    if (middleCount > 0)
        rows = 1;

    // North and south add their preferred heights; north widens to its
    // minimum width for the minimum, south does not widen the minimum.
    if (const CRkComponent* north = m_regions[kBorderNorth]) {
        RkSize pref = PreferredSizeOf(*north);
        height += pref.height;
        width = std::max<int64_t>(width, minimum ? MinimumSizeOf(*north).width : pref.width);
        ++rows;
    }
    if (const CRkComponent* south = m_regions[kBorderSouth]) {
        RkSize pref = PreferredSizeOf(*south);
        height += pref.height;
        if (!minimum)
            width = std::max<int64_t>(width, pref.width);
        ++rows;
    }
    height += GapsBetween(container.ConvertDistance(m_verticalGap), rows);
    return MeasureFrame(container, m_margins).Around(width, height);
}

void CRkBorderLayout::MinimumLayoutSize(CRkContainer& container, RkSize& out)
{
    out = LayoutSize(container, Measure::Minimum);
}

void CRkBorderLayout::PreferredLayoutSize(CRkContainer& container, RkSize& out)
{
    out = LayoutSize(container, Measure::Preferred);
}

void CRkBorderLayout::MaximumLayoutSize(CRkContainer& container, RkSize& out)
{
    // The center is what stretches: without one, or in a direction where
    // its maximum is unbounded, the layout is unbounded too.
    const CRkComponent* center = m_regions[kBorderCenter];
    if (!center) {
        out = {kUnbounded, kUnbounded};
        return;
    }
    RkSize max = center->GetMaximumSize();
    int64_t width = std::max(max.width, 0), height = std::max(max.height, 0);
    int64_t middleCount = 1, rows = 1;
    for (int32_t region : {kBorderEast, kBorderWest}) {
        if (const CRkComponent* side = m_regions[region]) {
            width += PreferredSizeOf(*side).width;
            ++middleCount;
        }
    }
    for (int32_t region : {kBorderNorth, kBorderSouth}) {
        if (const CRkComponent* edge = m_regions[region]) {
            height += PreferredSizeOf(*edge).height;
            ++rows;
        }
    }
    width += GapsBetween(container.ConvertDistance(m_horizontalGap), middleCount);
    height += GapsBetween(container.ConvertDistance(m_verticalGap), rows);
    out = MeasureFrame(container, m_margins)
              .AroundMaximum(width, height, IsUnboundedSize(max.width), IsUnboundedSize(max.height));
}
