#include "framework/ui/RkCardLayout.h"

#include <algorithm>

#include "framework/ui/RkContainer.h"
#include "framework/ui/RkLayoutSupport.h"

CRkCardLayout::CRkCardLayout(const RkUnitInsets& margins) : m_margins(margins)
{
}

void CRkCardLayout::AddComponent(CRkComponent* component, const RkConstraint* constraint)
{
    if (!component)
        return;
    component->SetVisible(m_cards.empty());
    m_cards.push_back(
        {component, constraint ? constraint->first : kAlignFill, constraint ? constraint->second : kAlignFill});
}

void CRkCardLayout::RemoveComponent(CRkComponent* component)
{
    std::erase_if(
        m_cards, [component](const Card& card) { return card.component == component; });
}

void CRkCardLayout::ShowCard(uint32_t index)
{
    for (size_t i = 0; i < m_cards.size(); ++i)
        m_cards[i].component->SetVisible(i == index);
}

void CRkCardLayout::ShowCard(const CRkComponent* component)
{
    for (const Card& card : m_cards)
        card.component->SetVisible(card.component == component);
}

void CRkCardLayout::LayoutContainer(CRkContainer& container)
{
    RkLayoutFrame frame = MeasureFrame(container, m_margins);
    const int64_t width = std::max<int64_t>(frame.InnerWidth(), 0);
    const int64_t height = std::max<int64_t>(frame.InnerHeight(), 0);
    for (const Card& card : m_cards) {
        RkSize pref = PreferredSizeOf(*card.component);
        int64_t x = 0, y = 0, w = 0, h = 0;
        AlignInSpan(card.horizontal, frame.left, width, pref.width, x, w);
        AlignInSpan(card.vertical, frame.top, height, pref.height, y, h);
        PlaceComponent(*card.component, x, y, w, h);
    }
}

void CRkCardLayout::MinimumLayoutSize(CRkContainer& container, RkSize& out)
{
    int64_t width = 0, height = 0;
    for (const Card& card : m_cards) {
        RkSize size = MinimumSizeOf(*card.component);
        width = std::max<int64_t>(width, size.width);
        height = std::max<int64_t>(height, size.height);
    }
    out = MeasureFrame(container, m_margins).Around(width, height);
}

void CRkCardLayout::PreferredLayoutSize(CRkContainer& container, RkSize& out)
{
    int64_t width = 0, height = 0;
    for (const Card& card : m_cards) {
        RkSize size = PreferredSizeOf(*card.component);
        width = std::max<int64_t>(width, size.width);
        height = std::max<int64_t>(height, size.height);
    }
    out = MeasureFrame(container, m_margins).Around(width, height);
}

void CRkCardLayout::MaximumLayoutSize(CRkContainer& container, RkSize& out)
{
    // The largest of the bounded maxima on each axis.
    int64_t width = 0, height = 0;
    bool boundedWidth = false, boundedHeight = false;
    for (const Card& card : m_cards) {
        RkSize size = card.component->GetMaximumSize();
        if (!IsUnboundedSize(size.width)) {
            width = std::max<int64_t>(width, size.width);
            boundedWidth = true;
        }
        if (!IsUnboundedSize(size.height)) {
            height = std::max<int64_t>(height, size.height);
            boundedHeight = true;
        }
    }
    out = MeasureFrame(container, m_margins).AroundMaximum(width, height, !boundedWidth, !boundedHeight);
}
