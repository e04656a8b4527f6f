#include "framework/ui/RkDialogButtonLayout.h"

#include <algorithm>

#include "framework/ui/RkContainer.h"
#include "framework/ui/RkLayoutSupport.h"

CRkDialogButtonLayout::CRkDialogButtonLayout(int32_t gap, const RkUnitInsets& margins) : m_gap(gap), m_margins(margins)
{
}

void CRkDialogButtonLayout::AddComponent(CRkComponent* component, const RkConstraint* constraint)
{
    int32_t slot = constraint ? constraint->first : 0;
    if (slot >= 0 && slot < kSlotCount)
        m_buttons[slot] = component;
}

void CRkDialogButtonLayout::RemoveComponent(CRkComponent* component)
{
    for (CRkComponent*& slot : m_buttons)
        if (slot == component)
            slot = nullptr;
}

CRkComponent* CRkDialogButtonLayout::GetButton(int32_t slot) const
{
    return slot >= 0 && slot < kSlotCount ? m_buttons[slot] : nullptr;
}

RkSize CRkDialogButtonLayout::UniformSize(uint32_t& count) const
{
    RkSize uniform;
    count = 0;
    for (const CRkComponent* button : m_buttons) {
        if (!button)
            continue;
        RkSize size = PreferredSizeOf(*button);
        uniform.width = std::max(uniform.width, size.width);
        uniform.height = std::max(uniform.height, size.height);
        ++count;
    }
    return uniform;
}

void CRkDialogButtonLayout::LayoutContainer(CRkContainer& container)
{
    RkLayoutFrame frame = MeasureFrame(container, m_margins);
    const int64_t gap = container.ConvertDistance(m_gap);
    uint32_t count = 0;
    const RkSize uniform = UniformSize(count);
    int64_t x = frame.width - frame.right - uniform.width;
    for (int32_t slot = kSlotCount - 1; slot >= 0; --slot) {
        if (CRkComponent* button = m_buttons[slot]) {
            PlaceComponent(*button, x, frame.top, uniform.width, uniform.height);
            x -= uniform.width + gap;
        }
    }
}

void CRkDialogButtonLayout::PreferredLayoutSize(CRkContainer& container, RkSize& out)
{
    uint32_t count = 0;
    const RkSize uniform = UniformSize(count);
    int64_t width = int64_t(count) * uniform.width + GapsBetween(container.ConvertDistance(m_gap), count);
    out = MeasureFrame(container, m_margins).Around(width, count > 0 ? uniform.height : 0);
}

void CRkDialogButtonLayout::MinimumLayoutSize(CRkContainer& container, RkSize& out)
{
    PreferredLayoutSize(container, out);
}

void CRkDialogButtonLayout::MaximumLayoutSize(CRkContainer& container, RkSize& out)
{
    PreferredLayoutSize(container, out);
    out.width = kUnbounded;
}
