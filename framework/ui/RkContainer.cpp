#include "framework/ui/RkContainer.h"

#include <algorithm>

CRkContainer::CRkContainer(CRkContainer* parent, uint32_t kind, uint32_t id) : CRkComponent(parent, kind, id)
{
}

CRkContainer::~CRkContainer()
{
    m_layout.reset();
    // Children go newest first, so that none outlives one it was made inside.
    while (!m_children.empty())
        m_children.pop_back();
}

void CRkContainer::Adopt(CRkComponent* child)
{
    m_children.emplace_back(child);
}

void CRkContainer::AddChild(CRkComponent* child, const RkConstraint* constraint)
{
    if (m_layout && child)
        m_layout->AddComponent(child, constraint);
}

void CRkContainer::RemoveChild(CRkComponent* child)
{
    auto it = std::find_if(m_children.begin(), m_children.end(),
                           [child](const std::unique_ptr<CRkComponent>& c) { return c.get() == child; });
    if (it == m_children.end())
        return;
    if (m_layout)
        m_layout->RemoveComponent(child);
    m_children.erase(it);
}

void CRkContainer::SetLayout(IRkLayout* layout)
{
    m_layout.reset(layout);
}

void CRkContainer::LayoutChildren()
{
    if (m_layout)
        m_layout->LayoutContainer(*this);
    for (const auto& child : m_children)
        if (CRkContainer* inner = dynamic_cast<CRkContainer*>(child.get()))
            inner->LayoutChildren();
}

CRkComponent* CRkContainer::GetChild(uint32_t index) const
{
    return index < m_children.size() ? m_children[index].get() : nullptr;
}

CRkComponent* CRkContainer::FindById(uint32_t id) const
{
    for (const auto& child : m_children)
        if (child->GetId() == id)
            return child.get();
    for (const auto& child : m_children) {
        if (const CRkContainer* inner = dynamic_cast<const CRkContainer*>(child.get())) {
            if (CRkComponent* found = inner->FindById(id))
                return found;
        }
    }
    return nullptr;
}

RkRect CRkContainer::GetClientArea() const
{
    RkSize size = GetSize();
    return {0, 0, size.width, size.height};
}

RkSize CRkContainer::GetMinimumSize() const
{
    RkSize size;
    if (m_layout)
        m_layout->MinimumLayoutSize(const_cast<CRkContainer&>(*this), size);
    return size;
}

RkSize CRkContainer::GetPreferredSize() const
{
    RkSize size;
    if (m_layout)
        m_layout->PreferredLayoutSize(const_cast<CRkContainer&>(*this), size);
    else
        size = CRkComponent::GetPreferredSize();
    return size;
}

RkSize CRkContainer::GetMaximumSize() const
{
    RkSize size{kUnbounded, kUnbounded};
    if (m_layout)
        m_layout->MaximumLayoutSize(const_cast<CRkContainer&>(*this), size);
    return size;
}

void CRkContainer::SetBounds(int32_t x, int32_t y, int32_t width, int32_t height)
{
    CRkComponent::SetBounds(x, y, width, height);
    LayoutChildren();
}

void CRkContainer::RefreshCommandState()
{
    CRkComponent::RefreshCommandState();
    for (const auto& child : m_children)
        child->RefreshCommandState();
}
