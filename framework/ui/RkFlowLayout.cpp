#include "framework/ui/RkFlowLayout.h"

#include <algorithm>

#include "framework/ui/RkContainer.h"
#include "framework/ui/RkLayoutSupport.h"

CRkFlowLayout::CRkFlowLayout(int32_t horizontalGap, int32_t verticalGap, const RkUnitInsets& margins)
    : m_horizontalGap(horizontalGap), m_verticalGap(verticalGap), m_margins(margins)
{
}

void CRkFlowLayout::AddComponent(CRkComponent* component, const RkConstraint*)
{
    if (component)
        m_components.push_back(component);
}

void CRkFlowLayout::RemoveComponent(CRkComponent* component)
{
    // Every occurrence: the container deletes the component next.
    std::erase(m_components, component);
}

void CRkFlowLayout::LayoutContainer(CRkContainer& container)
{
    RkLayoutFrame frame = MeasureFrame(container, m_margins);
    const int64_t hg = container.ConvertDistance(m_horizontalGap);
    const int64_t vg = container.ConvertDistance(m_verticalGap);
    const int64_t avail = frame.InnerWidth();
    int64_t y = frame.top;

    std::vector<RkSize> sizes;
    sizes.reserve(m_components.size());
    for (const CRkComponent* component : m_components)
        sizes.push_back(PreferredSizeOf(*component));

    size_t next = 0;
    while (next < m_components.size()) {
        // Take components while they fit; the first one always.
        size_t end = next;
        int64_t remaining = avail, rowWidth = 0, rowHeight = 0;
        while (end < m_components.size()) {
            int64_t w = sizes[end].width;
            if (end > next && w > remaining)
                break;
            rowWidth += (end > next ? hg : 0) + w;
            rowHeight = std::max<int64_t>(rowHeight, sizes[end].height);
            remaining -= w + hg;
            ++end;
        }

        int64_t x = frame.left;
        if (m_alignment == kFlowCentre)
            x += (avail - rowWidth) / 2;
        else if (m_alignment == kFlowRight)
            x += avail - rowWidth;
        for (size_t i = next; i < end; ++i) {
            const RkSize& size = sizes[i];
            PlaceComponent(*m_components[i], x, y + (rowHeight - size.height) / 2, size.width, size.height);
            x += size.width + hg;
        }
        y += rowHeight + vg;
        next = end;
    }
}

void CRkFlowLayout::MinimumLayoutSize(CRkContainer& container, RkSize& out)
{
    out = MeasureFrame(container, m_margins).Around(0, 0);
}

void CRkFlowLayout::PreferredLayoutSize(CRkContainer& container, RkSize& out)
{
    int64_t width = 0, height = 0;
    for (const CRkComponent* component : m_components) {
        RkSize size = PreferredSizeOf(*component);
        width += size.width;
        height = std::max<int64_t>(height, size.height);
    }
    width += GapsBetween(container.ConvertDistance(m_horizontalGap), int64_t(m_components.size()));
    out = MeasureFrame(container, m_margins).Around(width, height);
}

void CRkFlowLayout::MaximumLayoutSize(CRkContainer&, RkSize& out)
{
    out = {kUnbounded, kUnbounded};
}
